// The board view's zoom and history displays, and the screenshot run, driven
// as a user drives them.

#include "app/RegistryKey.h"
#include "game/QuintrelGam.h"
#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/QuintrelView.h"
#include "ui/Screenshot.h"
#include "ui/UiHooks.h"
#include "ui/store/QSettingsStore.h"

#include <QAction>
#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quintrel;
using namespace quintrel::ui;

namespace {

const QString REFERENCE_GAME = QStringLiteral(QUINTREL_SOURCE_DIR "/bench/positions/midgame_22.gam");

// One run of the program on a settings file of its own.
struct Run {
    Run(const QString& ini, const QString& game = QString()) : store(ini), app(store)
    {
        ok = app.start(game);
        app.frame()->show();
        QCoreApplication::processEvents();
    }
    CMainFrame& frame() { return *app.frame(); }
    CQuintrelView& view() { return *app.frame()->view(); }
    CQuintrelGam& doc() { return *app.document(); }
    QImage image() { return view().grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage square(int c, int r) { return image().copy(view().geometry().fieldSquare(c, r)); }
    void command(int id)
    {
        frame().updateCommands();
        frame().action(id)->trigger();
        QCoreApplication::processEvents();
    }

    QSettingsStore store;
    CQuintrelApp app;
    bool ok = false;
};

QByteArray pixelSum(const QImage& rgb)
{
    const QByteArrayView bytes(rgb.constBits(), rgb.sizeInBytes());
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

std::int32_t storedZoom(SettingsBackend& store)
{
    CRegistryKey key(store, KEY_APPLICATION);
    std::int32_t zoom = 0;
    key.readNumber("iZoom", zoom);
    return zoom;
}

bool isPlainField(const QImage& square)
{
    for (int y = 1; y < square.height() - 1; ++y) // the mark may lie on the edge
        for (int x = 1; x < square.width() - 1; ++x)
            if (square.pixelColor(x, y) != QColor(192, 192, 192))
                return false;
    return true;
}

} // namespace

class BoardViewTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hundredPercentLooksAsBefore();
    void everyZoomHitsTheFieldItDraws();
    void zoomScalesTheBoardAndItsClicks();
    void zoomKeysStepAndTheChoiceSurvivesARestart();
    void historyDisplaysFollowBackAndForward();
    void screenshotsAtTheStoredZoom();

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
    QCOMPARE(run.view().zoom(), 100);
    QCOMPARE(run.view().geometry().fieldSquare(10, 10), QRect(194, 184, 16, 16));
    const QImage image = run.image();
    // The frame, the grid, the fields and the stones, as the window drew them
    // before it could zoom (the labels depend on the installed fonts).
    const QRect board(QPoint(35, 25), QPoint(366, 356));
    QCOMPARE(pixelSum(image.copy(board)), QByteArray("3d625c5e7ec419e3687cc1e7db4cd6df"));
    QCOMPARE(image.pixelColor(40, 100), QColor(Qt::black));
    QCOMPARE(image.pixelColor(100, 28), QColor(Qt::white));
    QCOMPARE(image.pixelColor(367, 200), QColor(Qt::black));
    QCOMPARE(image.pixelColor(368, 200), QColor(192, 192, 192));
}

void BoardViewTest::everyZoomHitsTheFieldItDraws()
{
    for (int zoom : CBoardGeometry::ZOOMS) {
        const CBoardGeometry geo(zoom);
        QCOMPARE(geo.viewSize(), 394 * zoom / 100);
        const int y = geo.fieldSquare(1, 10).center().y();
        for (int x = 0; x < geo.viewSize(); ++x) {
            // A pixel column lies in a field, on the grid line before it, or off the board.
            const Field f = geo.fieldAt({x, y});
            if (f.onBoard()) {
                const QRect sq = geo.fieldSquare(f.x, f.y);
                QVERIFY(x <= sq.right() && x >= sq.left() - geo.px(1));
                QCOMPARE(f.y, std::uint8_t(10));
            }
        }
        QVERIFY(!geo.fieldAt({geo.fieldSquare(19, 10).right() + 1, y}).onBoard());
        QCOMPARE(geo.fieldAt({geo.fieldSquare(1, 10).left() - 1, y}), (Field{1, 10}));
        QCOMPARE(geo.fieldSquare(7, 3).size(), QSize(16 * zoom / 100, 16 * zoom / 100));
    }
    QCOMPARE(CBoardGeometry(120).zoom(), 100); // not a zoom of the menu
}

void BoardViewTest::zoomScalesTheBoardAndItsClicks()
{
    Run run(ini());
    const QImage small = run.image();
    const int frameWidth = run.frame().width();
    run.command(ID_VIEW_ZOOM_FIRST + 2);
    QCOMPARE(run.view().zoom(), 200);
    QCOMPARE(run.view().size(), QSize(788, 788));
    QCOMPARE(run.frame().width(), frameWidth + 394);
    QVERIFY(run.frame().action(ID_VIEW_ZOOM_FIRST + 2)->isChecked());
    QVERIFY(!run.frame().action(ID_VIEW_ZOOM_FIRST)->isChecked());
    QCOMPARE(run.view().geometry().fieldSquare(10, 10).topLeft(), QPoint(388, 368));

    // The empty board at 200% is the one at 100% with every pixel doubled.
    const QRect board(QPoint(35, 25), QPoint(367, 357));
    const QImage doubled = small.copy(board).scaled(board.size() * 2);
    QCOMPARE(run.image().copy(QRect(board.topLeft() * 2, board.size() * 2)), doubled);

    QTest::mouseClick(&run.view(), Qt::LeftButton, {}, QPoint(388 + 31, 368 + 31));
    QCOMPARE(run.doc().board().cell(10, 10), SIDE_O);
}

void BoardViewTest::zoomKeysStepAndTheChoiceSurvivesARestart()
{
    {
        Run run(ini());
        QCOMPARE(storedZoom(run.store), 100); // written at the first start
        const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Plus, 150}, {Qt::Key_Minus, 100},
                                                 {Qt::Key_Minus, 100}, {Qt::Key_Equal, 150},
                                                 {Qt::Key_Plus, 200},  {Qt::Key_Plus, 250},
                                                 {Qt::Key_Plus, 300},  {Qt::Key_Plus, 300}};
        for (auto [key, zoom] : steps) {
            QTest::keyClick(&run.view(), key, Qt::ControlModifier);
            QCOMPARE(run.view().zoom(), zoom);
        }
        run.frame().updateCommands();
        QVERIFY(!run.frame().action(ID_VIEW_ZOOM_IN)->isEnabled());
    }
    {
        Run run(ini());
        QCOMPARE(run.view().size(), QSize(1182, 1182));
        // Brought onto the screen at its new size, as far as it fits.
        const QRect screen = run.frame().screen()->availableGeometry();
        QVERIFY(run.frame().x() >= screen.left() && run.frame().y() >= screen.top());
        run.view().setZoom(120); // not one of the menu's: ignored
        QCOMPARE(run.view().zoom(), 300);
    }
    {
        QSettingsStore store(ini());
        CRegistryKey(store, KEY_APPLICATION).writeNumber("iZoom", std::int32_t{120});
    }
    Run run(ini());
    QCOMPARE(run.view().zoom(), 100);     // an unknown zoom reads as 100 ...
    QCOMPARE(storedZoom(run.store), 100); // ... and is written so at once
}

void BoardViewTest::historyDisplaysFollowBackAndForward()
{
    for (int option : {ID_VIEW_LAST_MOVE, ID_VIEW_MOVE_NUMBERS}) {
        Run run(ini(), REFERENCE_GAME);
        const Field first = run.doc().move(0).field, last = run.doc().move(21).field;
        const QImage plainFirst = run.square(first.x, first.y), plainLast = run.square(last.x, last.y);
        run.command(option);
        QVERIFY(run.frame().action(option)->isChecked());
        const QImage shownLast = run.square(last.x, last.y);
        QVERIFY(shownLast != plainLast);
        QCOMPARE(run.square(first.x, first.y) != plainFirst, option == ID_VIEW_MOVE_NUMBERS);

        run.command(ID_MOVE_BACK); // the stone and what was shown on it go
        QVERIFY(isPlainField(run.square(last.x, last.y)));
        const Field before = run.doc().move(20).field;
        if (option == ID_VIEW_LAST_MOVE) // now on O's ring: a red square
            QCOMPARE(run.square(before.x, before.y).pixelColor(7, 7), QColor(255, 0, 0));
        run.command(ID_MOVE_FORWARD);
        QCOMPARE(run.square(last.x, last.y), shownLast);
        run.command(option);
        QCOMPARE(run.square(last.x, last.y), plainLast);
    }
}

void BoardViewTest::screenshotsAtTheStoredZoom()
{
    QSize sizes[2];
    for (int i = 0; i < 2; ++i) {
        QSettingsStore store(ini());
        CRegistryKey(store, KEY_APPLICATION).writeNumber("iZoom", std::int32_t{i == 0 ? 100 : 200});
        QString error;
        const QString png = dir->filePath(QStringLiteral("shot%1.png").arg(i));
        QCOMPARE(writeScreenshot(store, png, REFERENCE_GAME, error), 0);
        sizes[i] = QImage(png).size();
    }
    QCOMPARE(sizes[0].width(), 394);
    QCOMPARE(sizes[1] - sizes[0], QSize(394, 394));

    QSettingsStore store(ini()); // read, never written: the window's place was not stored
    QVERIFY(!store.readValue(KEY_APPLICATION, "MainWndPos"));
    QString error;
    const QString png = dir->filePath(QStringLiteral("x.png"));
    QCOMPARE(writeScreenshot(store, png, dir->filePath(QStringLiteral("none.gam")), error), 2);
    QVERIFY2(error.contains(QStringLiteral("none.gam")), qPrintable(error));
#ifdef QUINTREL_GAME
    // The program itself: no window, exit code 2 and a message.
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUINTREL_SETTINGS"), ini());
    game.setProcessEnvironment(env);
    game.start(QStringLiteral(QUINTREL_GAME),
               {QStringLiteral("--screenshot"), QStringLiteral("/nonexistent/shot.png")});
    QVERIFY(game.waitForFinished(60000));
    QCOMPARE(game.exitCode(), 2);
    QVERIFY(game.readAllStandardError().contains("cannot write /nonexistent/shot.png"));
#endif
}

QTEST_MAIN(BoardViewTest)
#include "board_view_test.moc"
