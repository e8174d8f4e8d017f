#include "ui/Screenshot.h"

#include "app/SettingsStore.h"

#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/UiHooks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QPixmap>

#include <set>
#include <string>

namespace quintrel::ui {

namespace {
// The user's settings seen through a layer that keeps the run's own writes:
// taking a picture never moves the user's window or changes a stored choice.
class ReadThroughStore : public SettingsBackend {
public:
    explicit ReadThroughStore(SettingsBackend& base) : base(base) {}
    bool keyExists(const std::string& path) override { return own.keyExists(path) || base.keyExists(path); }
    bool createKey(const std::string& path) override
    {
        const bool existed = keyExists(path);
        own.createKey(path);
        return !existed;
    }
    std::optional<StoredValue> readValue(const std::string& path, const std::string& name) override
    {
        if (own.hasValue(path, name))
            return own.readValue(path, name);
        return deleted.count(path + '\\' + name) ? std::nullopt : base.readValue(path, name);
    }
    bool writeValue(const std::string& path, const std::string& name, const StoredValue& value) override
    {
        own.createKey(path);
        deleted.erase(path + '\\' + name);
        return own.writeValue(path, name, value);
    }
    bool deleteValue(const std::string& path, const std::string& name) override
    {
        const bool existed = readValue(path, name).has_value();
        own.deleteValue(path, name);
        deleted.insert(path + '\\' + name);
        return existed;
    }

private:
    SettingsBackend& base;
    MemorySettingsStore own;
    std::set<std::string> deleted;
};
} // namespace

int writeScreenshot(SettingsBackend& userStore, const QString& pngPath, const QString& gamePath, QString& error,
                    int analyseMs)
{
    ReadThroughStore store(userStore);
    QStringList messages;
    setMessageHook([&messages](const MessageRequest& r) {
        messages.append(r.text);
        return QMessageBox::Cancel;
    });
    int result = 2;
    {
        CQuintrelApp app(store);
        if (!app.start(gamePath)) {
            error = messages.isEmpty() ? QStringLiteral("cannot open %1").arg(gamePath) : messages.join(u' ');
        } else {
            // Rendered at once: a computer on move has had no chance to answer yet.
            app.frame()->show();
            if (analyseMs > 0) {
                app.frame()->action(ID_ANALYSE)->trigger();
                QElapsedTimer clock;
                clock.start();
                while (clock.elapsed() < analyseMs)
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            }
            const QPixmap picture = app.frame()->grab();
            QImageWriter writer(pngPath, "png");
            if (writer.write(picture.toImage()))
                result = 0;
            else
                error = QStringLiteral("cannot write %1: %2").arg(pngPath, writer.errorString());
        }
    }
    setMessageHook(nullptr);
    return result;
}

} // namespace quintrel::ui
