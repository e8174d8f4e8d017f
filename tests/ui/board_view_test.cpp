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

QByteArray pixelSum(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    return QCryptographicHash::hash(QByteArrayView(rgb.constBits(), rgb.sizeInBytes()), QCryptographicHash::Md5)
        .toHex();
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
    void lastMoveMarkerFollowsTheHistory();
    void moveNumbersFollowTheHistory();
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
        for (int c = 1; c <= 19; ++c) {
            const QRect sq = geo.fieldSquare(c, c);
            QCOMPARE(sq.size(), QSize(16 * zoom / 100, 16 * zoom / 100));
            for (QPoint corner : {sq.topLeft(), sq.bottomRight(), sq.center()})
                QCOMPARE(geo.fieldAt(corner), (Field{std::uint8_t(c), std::uint8_t(c)}));
            if (c < 19) // the next field begins after one grid line
                QVERIFY(geo.fieldSquare(c + 1, c).left() - sq.right() >= 2);
        }
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
        QTest::keyClick(&run.view(), Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(run.view().zoom(), 150);
        QTest::keyClick(&run.view(), Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(run.view().zoom(), 100);
        run.frame().updateCommands();
        QVERIFY(!run.frame().action(ID_VIEW_ZOOM_OUT)->isEnabled());
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(&run.view(), Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(run.view().zoom(), 300);
        run.frame().updateCommands();
        QVERIFY(!run.frame().action(ID_VIEW_ZOOM_IN)->isEnabled());
    }
    {
        Run run(ini());
        QCOMPARE(run.view().zoom(), 300);
        QCOMPARE(run.view().size(), QSize(1182, 1182));
        // Brought onto the screen at its new size, wherever it was kept.
        const QRect screen = run.frame().screen()->availableGeometry();
        QVERIFY(run.frame().x() >= screen.left() && run.frame().y() >= screen.top());
        QVERIFY(run.frame().x() + run.frame().width() <= std::max(screen.right() + 1, run.frame().width()));
        CRegistryKey(run.store, KEY_APPLICATION).writeNumber("iZoom", std::int32_t{120});
    }
    QSettingsStore store(ini());
    CRegistryKey(store, KEY_APPLICATION).writeNumber("iZoom", std::int32_t{120});
    store.flush();
    Run run(ini());
    QCOMPARE(run.view().zoom(), 100); // an unknown zoom reads as 100 ...
    QCOMPARE(storedZoom(run.store), 100); // ... and is written so at once
}

void BoardViewTest::lastMoveMarkerFollowsTheHistory()
{
    Run run(ini(), REFERENCE_GAME);
    const Field last = run.doc().move(21).field, before = run.doc().move(20).field;
    const QImage plain = run.square(last.x, last.y);
    run.command(ID_VIEW_LAST_MOVE);
    QVERIFY(run.frame().action(ID_VIEW_LAST_MOVE)->isChecked());
    // X played last: a blue square sits on its red cross.
    QCOMPARE(run.image().pixelColor(run.view().geometry().fieldSquare(last.x, last.y).center()), QColor(0, 0, 255));
    QVERIFY(run.square(last.x, last.y) != plain);

    run.command(ID_MOVE_BACK);
    QVERIFY(isPlainField(run.square(last.x, last.y)));
    QCOMPARE(run.image().pixelColor(run.view().geometry().fieldSquare(before.x, before.y).center()), QColor(255, 0, 0));
    run.command(ID_MOVE_FORWARD);
    QCOMPARE(run.image().pixelColor(run.view().geometry().fieldSquare(last.x, last.y).center()), QColor(0, 0, 255));
    QCOMPARE(run.image().pixelColor(run.view().geometry().fieldSquare(before.x, before.y).center()),
             QColor(192, 192, 192)); // inside O's ring again

    run.command(ID_VIEW_LAST_MOVE);
    QCOMPARE(run.square(last.x, last.y), plain);
}

void BoardViewTest::moveNumbersFollowTheHistory()
{
    Run run(ini(), REFERENCE_GAME);
    const Field first = run.doc().move(0).field, last = run.doc().move(21).field;
    const QImage plainFirst = run.square(first.x, first.y), plainLast = run.square(last.x, last.y);
    run.command(ID_VIEW_MOVE_NUMBERS);
    QVERIFY(run.square(first.x, first.y) != plainFirst);
    const QImage numberedLast = run.square(last.x, last.y);
    QVERIFY(numberedLast != plainLast);

    run.command(ID_MOVE_BACK);
    QVERIFY(isPlainField(run.square(last.x, last.y)));
    run.command(ID_MOVE_FORWARD);
    QCOMPARE(run.square(last.x, last.y), numberedLast);
    run.command(ID_VIEW_MOVE_NUMBERS);
    QCOMPARE(run.square(first.x, first.y), plainFirst);
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

    QSettingsStore store(ini());
    QString error;
    QCOMPARE(writeScreenshot(store, QStringLiteral("/nonexistent/dir/shot.png"), QString(), error), 2);
    QVERIFY2(error.contains(QStringLiteral("/nonexistent/dir/shot.png")), qPrintable(error));
    QCOMPARE(writeScreenshot(store, dir->filePath(QStringLiteral("x.png")), dir->filePath("none.gam"), error), 2);
#ifdef QUINTREL_GAME
    // The program itself: no window, exit code 2 and a message.
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUINTREL_SETTINGS"), ini());
    game.setProcessEnvironment(env);
    game.start(QStringLiteral(QUINTREL_GAME), {QStringLiteral("--screenshot"), QStringLiteral("/nonexistent/shot.png")});
    QVERIFY(game.waitForFinished(60000));
    QCOMPARE(game.exitCode(), 2);
    QVERIFY(game.readAllStandardError().contains("cannot write /nonexistent/shot.png"));
#endif
}

QTEST_MAIN(BoardViewTest)
#include "board_view_test.moc"
