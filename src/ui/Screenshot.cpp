#include "ui/Screenshot.h"

#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/UiHooks.h"

#include <QImageWriter>
#include <QPixmap>

namespace quintrel::ui {

int writeScreenshot(SettingsBackend& store, const QString& pngPath, const QString& gamePath, QString& error)
{
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
