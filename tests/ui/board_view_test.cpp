// The board view's zoom and display options, driven as a user drives them.

#include "app/RegistryKey.h"
#include "game/QuintrelGam.h"
#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/QuintrelView.h"
#include "ui/UiHooks.h"
#include "ui/store/QSettingsStore.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quintrel;
using namespace quintrel::ui;

namespace {

const QString REFERENCE_GAME = QStringLiteral(QUINTREL_SOURCE_DIR "/bench/positions/midgame_22.gam");

// One run of the program on a settings file of its own, showing a saved game.
struct Run {
    Run(const QString& ini, const QString& game) : store(ini), app(store)
    {
        ok = app.start(game);
        app.frame()->show();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    CMainFrame& frame() { return *app.frame(); }
    CQuintrelView& view() { return *app.frame()->view(); }
    CQuintrelGam& doc() { return *app.document(); }

    QSettingsStore store;
    CQuintrelApp app;
    bool ok = false;
};

QByteArray pixelSum(const QImage& image, const QRect& area)
{
    const QImage part = image.copy(area).convertToFormat(QImage::Format_RGB32);
    return QCryptographicHash::hash(QByteArrayView(part.constBits(), part.sizeInBytes()), QCryptographicHash::Md5)
        .toHex();
}

} // namespace

class BoardViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hundredPercentLooksAsBefore();

private:
    QString ini() const { return dir->filePath(QStringLiteral("settings.ini")); }
    std::unique_ptr<QTemporaryDir> dir;
};

void BoardViewTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    setMessageHook([](const MessageRequest&) { return QMessageBox::Ok; });
}

void BoardViewTest::cleanup()
{
    setMessageHook(nullptr);
    dir.reset();
}

void BoardViewTest::hundredPercentLooksAsBefore()
{
    Run run(ini(), REFERENCE_GAME);
    QVERIFY(run.ok);
    const QImage image = run.view().grab().toImage();
    qInfo() << "current" << run.doc().current() << "board" << pixelSum(image, QRect(QPoint(35, 25), QPoint(366, 356)))
            << "all" << pixelSum(image, image.rect()) << image.size();
    image.save(QStringLiteral("/tmp/u3/before.png"));
}

QTEST_MAIN(BoardViewTest)
#include "board_view_test.moc"
