// The game window driven as a user drives it: clicks on the board, keys,
// menu commands; message boxes and dialogs are answered by hooks.

#include "app/RegistryKey.h"
#include "board/Board.h"
#include "board/Random.h"
#include "game/QuintrelGam.h"
#include "players/HumanPlayer.h"
#include "catalogue/PlayerDatabase.h"
#include "players/PlayerDefinition.h"
#include "players/TreeSettings.h"
#include "search/TreePlayer.h"
#include "ui/InfoBoxes.h"
#include "ui/LogWindow.h"
#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/QuintrelView.h"
#include "ui/UiHooks.h"
#include "ui/store/QSettingsStore.h"

#include <QAction>
#include <QMimeData>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <memory>
#include <thread>

using namespace quintrel;
using namespace quintrel::ui;

namespace {

// One run of the program on a settings file of its own.
struct Run {
    explicit Run(const QString& ini, bool show = true) : store(ini), app(store)
    {
        ok = app.start();
        if (show) {
            app.frame()->show();
            QCoreApplication::processEvents();
        }
    }
    CMainFrame& frame() { return *app.frame(); }
    CQuintrelView& view() { return *app.frame()->view(); }
    CQuintrelGam& doc() { return *app.document(); }

    QSettingsStore store;
    CQuintrelApp app;
    bool ok = false;
};

int stones(const CQuintrelGam& doc, int side)
{
    int n = 0;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y)
            n += doc.board().cell(x, y) == side;
    return n;
}

void clickField(CQuintrelView& view, int c, int r)
{
    QTest::mouseClick(&view, Qt::LeftButton, {}, fieldSquare(c, r).center());
}

// Lets posted moves arrive.
void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

std::vector<std::int32_t> readInts(SettingsBackend& store, const char* name, int count)
{
    CRegistryKey key(store, KEY_APPLICATION);
    std::vector<std::int32_t> v(count);
    if (!key.readBytes(name, v.data(), v.size() * 4))
        v.clear();
    return v;
}

} // namespace

class GameWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void geometryIsFixed();
    void humanPlaysLightWithTheMouse();
    void humanWinBlinksAndCongratulates();
    void twoQuickClicksPlaceOneStone();
    void keyboardCursorWrapsAround();
    void mouseOnlyHumanCannotConfirmWithEnter();
    void menusFollowTheGame();
    void worthModeEntryCyclesItsText();
    void hidingTheStatusBarShrinksTheWindow();
    void firstStartWritesItsSettings();
    void logWindowReopensWhenItWasOpen();
    void messagesWithAWrongTagAreIgnored();
    void userGuideNeedsTheReadme();
    void logWindowSavesWithoutCarriageReturns();
    void altAGivesAdviceDespiteTheActionMenu();
    void autoplayStopsWithEscape();
    void savedGamesReopenAndStayInTheRecentList();
    void closingWhileTheComputerThinksStopsItFirst();
    void stopThinkingPlaysAtOnceAndSaysInterrupted();
    void journalOverflowFromAWorkerIsShownOnTheWindow();
    void aboutAndGreetingBoxes();
    void labelsLightUpUnderThePointer();
    void autoplayLetsWaitingCommandsRunBeforeAMove();
    void autoplayKeepsAMovesStatisticsOnItsOwnLine();
    void droppedGameFileOpens();
    void damagedPlayerListIsBackedUpAndNamed();
    void userGuideIsFoundInTheInstallFolder();
    void fileDialogsStartInTheLastFolderElseDocuments();
    void windowsOffScreenComeBackAndTheLogFitsTheScreen();

private:
    QString ini() const { return dir->filePath(QStringLiteral("settings.ini")); }

    std::unique_ptr<QTemporaryDir> dir;
    QString oldCwd;
    QList<MessageRequest> boxes;
};

void GameWindowTest::init()
{
    dir = std::make_unique<QTemporaryDir>();
    qputenv("QUINTREL_SETTINGS", ini().toLocal8Bit());
    oldCwd = QDir::currentPath();
    QDir::setCurrent(dir->path()); // no readme.txt here unless a test writes one
    boxes.clear();
    setMessageHook([this](const MessageRequest& r) {
        boxes.append(r);
        return QMessageBox::Ok;
    });
    setDialogHook([](QDialog&) { return int(QDialog::Accepted); });
}

void GameWindowTest::cleanup()
{
    setMessageHook(nullptr);
    setDialogHook(nullptr);
    setFileDialogHook(nullptr);
    QDir::setCurrent(oldCwd);
    dir.reset();
}

void GameWindowTest::geometryIsFixed()
{
    Run run(ini());
    QVERIFY(run.ok);
    QCOMPARE(run.view().size(), QSize(394, 394));
    QCOMPARE(fieldSquare(10, 10).topLeft(), QPoint(194, 184));
    QCOMPARE(fieldSquare(1, 1).topLeft(), QPoint(41, 31));
    QCOMPARE(fieldAt({194, 184}), (Field{10, 10}));
    QCOMPARE(fieldAt({362, 352}), (Field{19, 19}));
    QVERIFY(!fieldAt({363, 200}).onBoard());
    QVERIFY(!fieldAt({200, 353}).onBoard());
    QVERIFY(!fieldAt({39, 200}).onBoard());

    // A click outside the board places nothing and does not beep.
    const int beeps = beepCount();
    QTest::mouseClick(&run.view(), Qt::LeftButton, {}, QPoint(363, 200));
    QTest::mouseClick(&run.view(), Qt::LeftButton, {}, QPoint(200, 353));
    settle();
    QCOMPARE(stones(run.doc(), SIDE_O), 0);
    QCOMPARE(beepCount(), beeps);

    // Painted: grey squares, black grid lines, the white bevel above the board.
    const QImage image = run.view().grab().toImage();
    QCOMPARE(image.pixelColor(200, 190), QColor(192, 192, 192));
    QCOMPARE(image.pixelColor(40, 100), QColor(Qt::black));
    QCOMPARE(image.pixelColor(100, 28), QColor(Qt::white));
}

void GameWindowTest::humanPlaysLightWithTheMouse()
{
    Run run(ini());
    run.frame().action(ID_VIEW_LOG)->trigger();
    QVERIFY(run.frame().logWindow());
    QVERIFY(run.frame().action(ID_VIEW_LOG)->isChecked());
    run.frame().action(ID_FILE_NEW)->trigger(); // the log now holds the game's header

    clickField(run.view(), 8, 10);
    QCOMPARE(run.doc().board().cell(8, 10), SIDE_O);
    QTRY_COMPARE(stones(run.doc(), SIDE_X), 1); // Light answers
    QCOMPARE(run.view().getInputFlags(), INPUT_BOTH);

    const QString log = run.frame().logWindow()->text();
    QVERIFY2(log.contains(QStringLiteral("New game:  Human  vs  Light\n")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("  1.        Human  H 10\n")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral("  1.        Light  ")), qPrintable(log));
    QVERIFY(log.endsWith(QLatin1Char('\n')));

    // The view shows the stones it read from the board.
    const QImage image = run.view().grab().toImage();
    QCOMPARE(image.pixelColor(fieldSquare(8, 10).center()), QColor(192, 192, 192)); // inside the ring
    bool blue = false;
    for (int dx = 0; dx < 16; ++dx)
        blue |= image.pixelColor(fieldSquare(8, 10).left() + dx, fieldSquare(8, 10).center().y()).blue() > 200
            && image.pixelColor(fieldSquare(8, 10).left() + dx, fieldSquare(8, 10).center().y()).red() < 100;
    QVERIFY(blue);
}

void GameWindowTest::humanWinBlinksAndCongratulates()
{
    {
        Run first(ini(), false); // lays down the player list
    }
    {
        // Chaotic as the Expert, so that the human can build a five.
        QSettingsStore store(ini());
        CRegistryKey key(store, KEY_APPLICATION);
        key.writeNumber("iDefaultPlayer", std::int32_t{1});
    }
    Run run(ini());
    rng::seed(7);
    for (int turn = 0; turn < 120 && !(run.doc().historyFlags() & HISTORY_GAME_OVER); ++turn) {
        // The first five-wide window in a row that X has not touched.
        Field target{};
        for (int r = 1; r <= 19 && !target.x; ++r) {
            for (int c = 1; c <= 15 && !target.x; ++c) {
                bool free = true;
                for (int k = 0; k < 5; ++k)
                    free &= run.doc().board().cell(c + k, r) != SIDE_X;
                for (int k = 0; k < 5 && free; ++k)
                    if (run.doc().board().cell(c + k, r) == EMPTY) {
                        target = Field{std::uint8_t(c + k), std::uint8_t(r)};
                        break;
                    }
            }
        }
        QVERIFY(target.x);
        clickField(run.view(), target.x, target.y);
        settle();
    }
    QCOMPARE(run.doc().historyFlags(), HISTORY_FINISHED);
    QVERIFY(!boxes.isEmpty());
    QCOMPARE(boxes.last().caption, QStringLiteral("Congratulation!"));
    QCOMPARE(boxes.last().text, QStringLiteral(" Player O (Human) has won."));
    QCOMPARE(run.frame().paneText(1), QStringLiteral("Player O has won."));
    QVERIFY(run.view().isBlinking());
    QCOMPARE(run.view().getInputFlags(), 0);

    const Field first = run.view().getWinningFive()[0];
    const bool before = run.view().isStoneHidden(first);
    QTRY_VERIFY_WITH_TIMEOUT(run.view().isStoneHidden(first) != before, 2000);
    // A click now beeps: no move is awaited.
    const int beeps = beepCount();
    clickField(run.view(), 1, 19);
    QCOMPARE(beepCount(), beeps + 1);

    // A new game stops the blinking and leaves the stones shown.
    run.frame().action(ID_FILE_NEW)->trigger();
    QVERIFY(!run.view().isBlinking());
    QTRY_VERIFY(!run.view().isStoneHidden(first)); // the last tick shows them
}

void GameWindowTest::twoQuickClicksPlaceOneStone()
{
    Run run(ini());
    const int beeps = beepCount();
    clickField(run.view(), 5, 5);
    clickField(run.view(), 6, 6); // before Light's answer has arrived
    QCOMPARE(stones(run.doc(), SIDE_O), 1);
    QCOMPARE(run.doc().board().cell(6, 6), EMPTY);
    QCOMPARE(beepCount(), beeps + 1);
    settle();
    QCOMPARE(stones(run.doc(), SIDE_O), 1);
    QCOMPARE(stones(run.doc(), SIDE_X), 1);
}

void GameWindowTest::keyboardCursorWrapsAround()
{
    Run run(ini());
    CQuintrelView& v = run.view();
    QCOMPARE(v.getCursorField(), Field{});
    QTest::keyClick(&v, Qt::Key_Left);
    QCOMPARE(v.getCursorField(), (Field{10, 10})); // the first arrow only shows the cursor
    QCOMPARE(v.getMarkRect(), fieldSquare(10, 10));
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(&v, Qt::Key_Right);
    QCOMPARE(v.getCursorField(), (Field{19, 10}));
    QTest::keyClick(&v, Qt::Key_Right);
    QCOMPARE(v.getCursorField(), (Field{1, 10}));
    QTest::keyClick(&v, Qt::Key_Up);
    QCOMPARE(v.getCursorField(), (Field{1, 9}));
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(&v, Qt::Key_Up);
    QCOMPARE(v.getCursorField(), (Field{1, 1}));
    QTest::keyClick(&v, Qt::Key_Home);
    QCOMPARE(v.getCursorField(), (Field{19, 19}));
    QTest::keyClick(&v, Qt::Key_PageDown);
    QCOMPARE(v.getCursorField(), (Field{1, 1}));

    // Enter plays at the cursor for a human who may use the keyboard.
    QTest::keyClick(&v, Qt::Key_Return);
    QCOMPARE(run.doc().board().cell(1, 1), SIDE_O);
    QTRY_COMPARE(stones(run.doc(), SIDE_X), 1);
    // Enter on an occupied field beeps and plays nothing.
    const Field answered = run.view().getCursorField(); // the mark follows the last move
    QCOMPARE(run.doc().board().cell(answered.x, answered.y), SIDE_X);
    const int beeps = beepCount();
    QTest::keyClick(&v, Qt::Key_Space);
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(stones(run.doc(), SIDE_O), 1);

    // Enter without a cursor only beeps and puts it at J10, unseen; the next
    // arrow then steps from there.
    run.frame().action(ID_FILE_NEW)->trigger();
    QTest::keyClick(&v, Qt::Key_Return);
    QCOMPARE(beepCount(), beeps + 2);
    QCOMPARE(v.getCursorField(), (Field{10, 10}));
    QVERIFY(v.getMarkRect().isNull());
    QCOMPARE(stones(run.doc(), SIDE_O), 0);
    QTest::keyClick(&v, Qt::Key_Left);
    QCOMPARE(v.getCursorField(), (Field{9, 10}));
    QCOMPARE(v.getMarkRect(), fieldSquare(9, 10));
}

void GameWindowTest::mouseOnlyHumanCannotConfirmWithEnter()
{
    Run run(ini());
    const int human = run.app.database().humanIndex();
    run.app.database().definition(human)->settings = HumanSettings{HumanSettings::MOUSE}.toBlock();
    run.frame().action(ID_FILE_NEW)->trigger();
    QCOMPARE(run.view().getInputFlags(), INPUT_MOUSE);

    QTest::keyClick(&run.view(), Qt::Key_Down); // arrows still move the mark
    QCOMPARE(run.view().getCursorField(), (Field{10, 10}));
    const int beeps = beepCount();
    QTest::keyClick(&run.view(), Qt::Key_Return);
    QCOMPARE(beepCount(), beeps + 1);
    QCOMPARE(stones(run.doc(), SIDE_O), 0);
    clickField(run.view(), 10, 10); // the mouse still plays
    QCOMPARE(run.doc().board().cell(10, 10), SIDE_O);
}

void GameWindowTest::menusFollowTheGame()
{
    Run run(ini());
    CMainFrame& f = run.frame();
    auto enabled = [&](int id) {
        f.updateCommands();
        return f.action(id)->isEnabled();
    };
    // A fresh game: nothing to step through, save or replay.
    for (int id : {ID_MOVE_BACK, ID_MOVE_FORWARD, ID_UNDO_ALL, ID_REDO_ALL, ID_FILE_SAVE, ID_REPLAY, ID_STOP_THINKING})
        QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
    QVERIFY(enabled(ID_FILE_NEW));
    QVERIFY(enabled(ID_ADVICE));

    // While the computer thinks (its move posted, not yet played): only Stop.
    clickField(run.view(), 10, 10);
    QVERIFY(run.doc().computing());
    QVERIFY(enabled(ID_STOP_THINKING));
    for (int id : {ID_MOVE_BACK, ID_MOVE_FORWARD, ID_UNDO_ALL, ID_REDO_ALL, ID_REPLAY, ID_FILE_SAVE})
        QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
    QTest::keyClick(&run.view(), Qt::Key_Escape); // Stop Thinking: Light plays at once anyway
    settle();
    QCOMPARE(stones(run.doc(), SIDE_X), 1);

    // The human on move after two moves.
    QVERIFY(!enabled(ID_STOP_THINKING));
    for (int id : {ID_MOVE_BACK, ID_UNDO_ALL, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_REPLAY})
        QVERIFY2(enabled(id), qPrintable(QString::number(id)));
    QVERIFY(!enabled(ID_MOVE_FORWARD));
    QVERIFY(!enabled(ID_REDO_ALL));

    QTest::keyClick(&run.view(), Qt::Key_B, Qt::AltModifier); // Move Back
    settle();
    QCOMPARE(run.doc().current(), 1);
    QVERIFY(enabled(ID_MOVE_FORWARD));
    QVERIFY(enabled(ID_REDO_ALL));
    run.frame().action(ID_UNDO_ALL)->trigger();
    settle();
    QCOMPARE(run.doc().current(), 0);
    QVERIFY(!enabled(ID_MOVE_BACK));
    QVERIFY(enabled(ID_FILE_SAVE)); // the record is not empty
    QVERIFY(enabled(ID_REPLAY));

    // Replay: busy, so Undo All stays and the rest go.
    run.frame().action(ID_REPLAY)->trigger();
    QVERIFY(run.doc().replaying());
    QVERIFY(enabled(ID_STOP_THINKING));
    QVERIFY(!enabled(ID_MOVE_FORWARD));
    QVERIFY(!enabled(ID_FILE_NEW));
    QCOMPARE(run.frame().paneText(1), QStringLiteral("Replaying..."));
    run.frame().action(ID_STOP_THINKING)->trigger();
    QVERIFY(!run.doc().replaying());
}

void GameWindowTest::worthModeEntryCyclesItsText()
{
    Run run(ini());
    QAction* mode = run.frame().action(ID_VIEW_WORTH_MODE);
    run.frame().updateCommands();
    QVERIFY(!mode->isEnabled());
    QCOMPARE(mode->text(), QStringLiteral("Follow Side On Move\tCtrl+I"));

    QTest::keyClick(&run.view(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(run.view().showWorthOfFields());
    QVERIFY(run.frame().action(ID_VIEW_WORTH)->isChecked());
    QVERIFY(mode->isEnabled());
    const QStringList texts = {QStringLiteral("Follow Side Not On Move\tCtrl+I"),
                               QStringLiteral("Follow Maximum Of Both\tCtrl+I"),
                               QStringLiteral("Follow Side On Move\tCtrl+I")};
    for (const QString& text : texts) {
        mode->trigger();
        QCOMPARE(mode->text(), text);
    }
    QCOMPARE(run.view().getWorthMode(), 2);

    // With a stone on the board some worth numbers are painted in colour.
    clickField(run.view(), 10, 10);
    settle();
    const QImage image = run.view().grab().toImage();
    int coloured = 0;
    for (int y = 30; y < 353; ++y)
        for (int x = 40; x < 363; ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += (c.red() > 200 && c.green() < 80) || (c.blue() > 200 && c.red() < 80);
        }
    QVERIFY(coloured > 100);

    QTest::keyClick(&run.view(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(!mode->isEnabled());
}

void GameWindowTest::hidingTheStatusBarShrinksTheWindow()
{
    Run run(ini());
    CMainFrame& f = run.frame();
    const int full = f.height();
    const int barHeight = f.statusBar()->height();
    QVERIFY(barHeight > 0);
    QVERIFY(f.action(ID_VIEW_STATUS_BAR)->isChecked());
    f.action(ID_VIEW_STATUS_BAR)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(f.height(), full - barHeight);
    QCOMPARE(f.view()->size(), QSize(394, 394));
    QVERIFY(!f.action(ID_VIEW_STATUS_BAR)->isChecked());
    f.action(ID_VIEW_STATUS_BAR)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(f.height(), full);

    const int toolHeight = f.toolBar()->height();
    f.action(ID_VIEW_TOOLBAR)->trigger();
    QCoreApplication::processEvents();
    QVERIFY(f.height() < full);
    QVERIFY(full - f.height() >= toolHeight);
    QCOMPARE(f.view()->size(), QSize(394, 394));
    f.action(ID_VIEW_TOOLBAR)->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(f.height(), full);
}

void GameWindowTest::firstStartWritesItsSettings()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    int width = 0;
    {
        Run run(ini());
        width = run.frame().width();
        auto pos = readInts(run.store, "MainWndPos", 2);
        QCOMPARE(pos.size(), std::size_t(2));
        QCOMPARE(pos[0], std::int32_t((screen.width() - width) / 2));
        QCOMPARE(pos[1], 0);
        QCOMPARE(run.frame().pos(), QPoint(pos[0], pos[1]));
        for (const char* name : {"bShowAllExamined", "bShowExaminedField", "bShowWorthOfFields"}) {
            CRegistryKey key(run.store, KEY_APPLICATION);
            std::uint32_t v = 7;
            QVERIFY2(key.readNumber(name, v), name);
            QCOMPARE(v, 0u);
        }
        run.frame().action(ID_VIEW_LOG)->trigger();
        auto rect = readInts(run.store, "LogWndRect", 4);
        QCOMPARE(rect, (std::vector<std::int32_t>{0, screen.height() - 120, screen.width(), screen.height()}));
        // Turning a display on is kept for the next start.
        run.frame().action(ID_VIEW_ALL_EXAMINED)->trigger();
        run.frame().move(17, 23);
    }
    QSettingsStore store(ini());
    CRegistryKey key(store, KEY_APPLICATION);
    std::uint32_t all = 0;
    QVERIFY(key.readNumber("bShowAllExamined", all));
    QCOMPARE(all, 1u);
    QCOMPARE(readInts(store, "MainWndPos", 2), (std::vector<std::int32_t>{17, 23}));
}

void GameWindowTest::logWindowReopensWhenItWasOpen()
{
    {
        Run run(ini());
        QVERIFY(!run.frame().logWindow());
        run.frame().action(ID_VIEW_LOG)->trigger();
        QVERIFY(run.frame().logWindow());
    }
    {
        Run run(ini());
        QVERIFY(run.frame().logWindow());
        QVERIFY(run.frame().action(ID_VIEW_LOG)->isChecked());
        // Closing it by its own button forgets it.
        run.frame().logWindow()->close();
        QCoreApplication::processEvents();
        QVERIFY(!run.frame().logWindow());
        QVERIFY(!run.frame().action(ID_VIEW_LOG)->isChecked());
    }
    Run run(ini());
    QVERIFY(!run.frame().logWindow());
}

void GameWindowTest::messagesWithAWrongTagAreIgnored()
{
    Run run(ini());
    run.frame().action(ID_VIEW_EXAMINED_FIELD)->trigger();
    PortMessage stray;
    stray.id = MSG_MOVE;
    stray.wParam = 0;
    stray.lParam = GameMove{Field{3, 3}, SIDE_O}.packed();
    run.frame().port()->post(stray);
    PortMessage examined;
    examined.id = MSG_EXAMINED;
    examined.wParam = 0;
    examined.lParam = Field{4, 4}.packed();
    run.frame().port()->post(examined);
    settle();
    QCOMPARE(stones(run.doc(), SIDE_O), 0);
    QCOMPARE(run.view().getCursorField(), Field{});

    examined.wParam = MSG_TAG; // with the tag the examined field is marked
    run.frame().port()->post(examined);
    settle();
    QCOMPARE(run.view().getCursorField(), (Field{4, 4}));

    PortMessage progress;
    progress.id = MSG_PROGRESS;
    progress.text = " 3/ 40";
    run.frame().port()->post(progress);
    settle();
    QCOMPARE(run.frame().paneText(2), QStringLiteral(" 3/ 40"));
}

void GameWindowTest::userGuideNeedsTheReadme()
{
    {
        Run run(ini());
        run.frame().updateCommands();
        QVERIFY(!run.frame().action(ID_USER_GUIDE)->isEnabled());
    }
    QFile readme(QStringLiteral("readme.txt"));
    QVERIFY(readme.open(QIODevice::WriteOnly));
    readme.write("Quintrel++\r\nfive in a row\n");
    readme.close();
    Run run(ini());
    run.frame().updateCommands();
    QVERIFY(run.frame().action(ID_USER_GUIDE)->isEnabled());
    QString shown;
    setDialogHook([&shown](QDialog& d) {
        if (auto* box = qobject_cast<CUserGuideBox*>(&d))
            shown = box->text();
        return int(QDialog::Accepted);
    });
    run.frame().action(ID_USER_GUIDE)->trigger();
    QCOMPARE(shown, QStringLiteral("Quintrel++\nfive in a row\n"));

    QVERIFY(QFile::remove(QStringLiteral("readme.txt")));
    run.frame().action(ID_USER_GUIDE)->trigger();
    QCOMPARE(boxes.last().text, QStringLiteral("Cannot open the file readme.txt"));
    QCOMPARE(boxes.last().caption, QStringLiteral("Sorry"));
    QVERIFY(!run.frame().action(ID_USER_GUIDE)->isEnabled());
}

void GameWindowTest::logWindowSavesWithoutCarriageReturns()
{
    Run run(ini());
    run.frame().action(ID_VIEW_LOG)->trigger();
    CLogWindow* log = run.frame().logWindow();
    log->appendLine(QStringLiteral("  1.        Human  J 10"));
    log->appendToLastLine(QStringLiteral("  statistics"));
    QVERIFY(log->text().endsWith(QStringLiteral("  1.        Human  J 10  statistics\n")));

    QString path = dir->filePath(QStringLiteral("game"));
    setFileDialogHook([&path](FileDialogKind kind, const QString&) {
        return kind == FileDialogKind::SaveLog ? path : QString();
    });
    QTest::mouseClick(log->findChild<QPushButton*>(QStringLiteral("1009")), Qt::LeftButton);
    QFile saved(path + QStringLiteral(".log"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(!bytes.contains('\r'));
    QVERIFY(bytes.startsWith(QByteArray(107, '-') + '\n'));
    QVERIFY(bytes.endsWith("J 10  statistics\n"));

    // A file that cannot be created is reported.
    path = dir->filePath(QStringLiteral("no/such/dir/x.log"));
    QTest::mouseClick(log->findChild<QPushButton*>(QStringLiteral("1009")), Qt::LeftButton);
    QCOMPARE(boxes.last().text, QStringLiteral("Cannot open file ") + path);
    QCOMPARE(boxes.last().caption, QStringLiteral("Error"));
}

void GameWindowTest::altAGivesAdviceDespiteTheActionMenu()
{
    Run run(ini());
    clickField(run.view(), 10, 10);
    settle();
    QTest::keyClick(&run.view(), Qt::Key_A, Qt::AltModifier);
    settle();
    QVERIFY(!boxes.isEmpty());
    QCOMPARE(boxes.last().caption, QStringLiteral("Advice from Light"));
    QVERIFY(boxes.last().text.startsWith(QStringLiteral("Try move  ")));
    QCOMPARE(stones(run.doc(), SIDE_O), 1); // advice plays nothing
    QCOMPARE(run.view().getInputFlags(), INPUT_BOTH);
}

void GameWindowTest::autoplayStopsWithEscape()
{
    Run run(ini());
    run.frame().action(ID_AUTOPLAY)->trigger();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    QVERIFY(run.doc().current() > 0);
    QTest::keyClick(&run.view(), Qt::Key_Escape);
    settle();
    settle();
    // The saved players come back with the human on move.
    QVERIFY(run.doc().players().savedO == nullptr);
    QCOMPARE(run.doc().onMovePlayer()->isComputer, 0);
    QVERIFY(!run.doc().thinking() || run.view().getInputFlags() != 0);
    const int played = run.doc().current();
    settle();
    QCOMPARE(run.doc().current(), played);
}

void GameWindowTest::savedGamesReopenAndStayInTheRecentList()
{
    QStringList names;
    {
        Run run(ini());
        clickField(run.view(), 10, 10);
        settle();
        clickField(run.view(), 3, 3);
        settle();
        QTest::keyClick(&run.view(), Qt::Key_B, Qt::AltModifier); // back over Light's answer
        QCOMPARE(run.doc().current(), 3);
        QString next;
        setFileDialogHook([&next](FileDialogKind, const QString&) { return next; });
        for (int i = 0; i < 5; ++i) {
            next = dir->filePath(QStringLiteral("game%1").arg(i));
            names.prepend(next + QStringLiteral(".gam"));
            run.frame().action(ID_FILE_SAVE_AS)->trigger();
            QVERIFY(QFile::exists(names.first()));
        }
        QCOMPARE(run.frame().recentFiles(), names.mid(0, 4));
        run.frame().updateCommands();
        QVERIFY(run.frame().windowTitle().startsWith(QStringLiteral("game4.gam")));
    }
    // Started with a saved game: its position, the redo tail kept.
    QSettingsStore store(ini());
    CQuintrelApp app(store);
    QVERIFY(app.start(names.last()));
    QCOMPARE(app.document()->current(), 3);
    QCOMPARE(app.document()->last(), 3);
    app.frame()->updateCommands();
    QVERIFY(app.frame()->action(ID_MOVE_FORWARD)->isEnabled());
    QCOMPARE(app.frame()->recentFiles().first(), names.last());

    // An empty file is refused with its message; the game stays.
    QFile empty(dir->filePath(QStringLiteral("empty.gam")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QVERIFY(!app.frame()->openGame(empty.fileName()));
    QVERIFY(boxes.last().text.startsWith(QStringLiteral("File  ")));
    QCOMPARE(app.document()->current(), 3);
}

void GameWindowTest::closingWhileTheComputerThinksStopsItFirst()
{
    {
        Run first(ini(), false);
    }
    {
        QSettingsStore store(ini());
        CRegistryKey key(store, KEY_APPLICATION);
        key.writeNumber("iDefaultPlayer", std::int32_t{5}); // AlphaBeta: searches on a worker
    }
    Run run(ini());
    run.frame().action(ID_VIEW_EXAMINED_FIELD)->trigger();
    clickField(run.view(), 10, 10);
    QVERIFY(run.doc().computing());
    run.frame().updateCommands();
    QVERIFY(run.frame().action(ID_STOP_THINKING)->isEnabled());
    QVERIFY(!run.frame().action(ID_MOVE_BACK)->isEnabled());
    QTest::keyClick(&run.view(), Qt::Key_Escape);
    QTRY_COMPARE_WITH_TIMEOUT(stones(run.doc(), SIDE_X), 1, 10000);
    QTRY_COMPARE(run.view().getInputFlags(), INPUT_BOTH);

    clickField(run.view(), 3, 3);
    QVERIFY(run.doc().computing());
    auto* searcher = dynamic_cast<CTreePlayer*>(run.doc().onMovePlayer());
    QVERIFY(searcher);
    QVERIFY(run.frame().close()); // the search is stopped before any player goes
    QVERIFY(!searcher->isThinking());
}

void GameWindowTest::stopThinkingPlaysAtOnceAndSaysInterrupted()
{
    {
        Run first(ini(), false);
    }
    {
        QSettingsStore store(ini());
        CRegistryKey key(store, KEY_APPLICATION);
        key.writeNumber("iDefaultPlayer", std::int32_t{5}); // AlphaBeta plays X
    }
    Run run(ini());
    // Deep and unreduced: only Stop Thinking ends this search in a test's time.
    TreeSettings deep = TreeSettings::alphaBetaDefaults();
    deep.maxDepth = 12;
    deep.reduction = TreeSettings::NO_REDUCTION;
    PlayerDefinition* alphaBeta = run.app.database().definition(5);
    QVERIFY(alphaBeta->adoptSettings(deep.toBlock(TreeSettings::ALPHABETA_CLASS)));
    run.frame().action(ID_VIEW_LOG)->trigger();
    QVERIFY(run.frame().logWindow());

    clickField(run.view(), 10, 10);
    QTRY_VERIFY(run.doc().thinking());
    // The window keeps serving events while the worker searches: a timer fires
    // and the status bar shows the search's progress.
    bool timerRan = false;
    QTimer::singleShot(20, [&timerRan] { timerRan = true; });
    QTRY_VERIFY(timerRan);
    QTRY_VERIFY(run.frame().paneText(2).contains(QLatin1Char('/')));
    QCOMPARE(stones(run.doc(), SIDE_X), 0);

    QTest::keyClick(&run.view(), Qt::Key_Escape);
    settle();
    QCOMPARE(stones(run.doc(), SIDE_X), 1);
    QCOMPARE(run.view().getInputFlags(), INPUT_BOTH);
    QTRY_VERIFY(run.frame().logWindow()->text().contains(QStringLiteral("  Interrupted...\n")));
}

void GameWindowTest::journalOverflowFromAWorkerIsShownOnTheWindow()
{
    Run run(ini());
    const int beeps = beepCount();
    JournalOverflowHandler handler = journalOverflowHandler.load();
    QVERIFY(handler);
    std::thread worker([handler] { handler(JOURNAL_OVERFLOW_TEXT, JOURNAL_OVERFLOW_CAPTION); });
    worker.join();
    QTRY_COMPARE(boxes.size(), 1);
    QCOMPARE(boxes.last().text, QStringLiteral("Increase the MAX_FLAGS_IN_MOVE !!!"));
    QCOMPARE(boxes.last().caption, QStringLiteral("Internal test failed"));
    QCOMPARE(boxes.last().icon, QMessageBox::Critical);
    QCOMPARE(beepCount(), beeps + 1);
}

void GameWindowTest::aboutAndGreetingBoxes()
{
    Run run(ini());
    QStringList shown;
    setDialogHook([&shown](QDialog& d) {
        shown.append(d.windowTitle());
        return int(QDialog::Accepted);
    });
    run.frame().action(ID_APP_ABOUT)->trigger();
    QTest::keyClicks(&run.view(), QStringLiteral("zekt"));
    QCOMPARE(shown, QStringList{QStringLiteral("About Quintrel++")});
    QTest::keyClicks(&run.view(), QStringLiteral("a"));
    QCOMPARE(shown, (QStringList{QStringLiteral("About Quintrel++"), QStringLiteral("Author's greeting")}));
}

void GameWindowTest::labelsLightUpUnderThePointer()
{
    Run run(ini());
    QTest::mouseMove(&run.view(), fieldSquare(10, 3).center());
    QCOMPARE(run.view().getHotLabel(), (Field{10, 3}));
    QCOMPARE(run.view().cursor().shape(), Qt::BitmapCursor); // O's own pointer
    const QImage image = run.view().grab().toImage();
    auto hasYellow = [&image](QRect box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (const QColor c = image.pixelColor(x, y); c.red() > 215 && c.green() > 215 && c.blue() < 100)
                    return true; // yellow text (edges blend into the grey)
        return false;
    };
    QVERIFY(hasYellow(QRect(QPoint(17 * 10 + 24, 361), QPoint(17 * 10 + 40, 377)))); // "J"
    QVERIFY(hasYellow(QRect(QPoint(8, 17 * 3 + 14), QPoint(38, 17 * 3 + 30))));      // " 3"
    QVERIFY(!hasYellow(QRect(QPoint(17 * 11 + 24, 361), QPoint(17 * 11 + 40, 377))));

    // Off the board nothing is highlighted.
    QTest::mouseMove(&run.view(), QPoint(380, 380));
    QCOMPARE(run.view().getHotLabel(), Field{});
}

void GameWindowTest::droppedGameFileOpens()
{
    Run run(ini());
    clickField(run.view(), 10, 10);
    settle();
    const QString path = dir->filePath(QStringLiteral("dropped.gam"));
    setFileDialogHook([&path](FileDialogKind, const QString&) { return path; });
    run.frame().action(ID_FILE_SAVE)->trigger(); // no name yet: asks for one
    QVERIFY(QFile::exists(path));
    run.frame().action(ID_FILE_NEW)->trigger();
    QCOMPARE(run.doc().current(), 0);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&run.frame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&run.frame(), &drop);
    QCOMPARE(run.doc().current(), 2);
    QCOMPARE(QString::fromStdString(run.doc().path()), path);
}

void GameWindowTest::autoplayLetsWaitingCommandsRunBeforeAMove()
{
    Run run(ini());
    run.frame().action(ID_AUTOPLAY)->trigger(); // the Expert's first move is already posted
    run.frame().updateCommands();               // as the toolbar shows it by now
    QVERIFY(run.frame().action(ID_STOP_THINKING)->isEnabled());
    // Stop Thinking waits, like a key press would, outside the queue of posted moves.
    QTimer press;
    press.setSingleShot(true);
    connect(&press, &QTimer::timeout, run.frame().action(ID_STOP_THINKING), &QAction::trigger);
    press.start(0);
    settle();
    // Stop Thinking ran before that move was played, so the game halts right after it.
    QCOMPARE(run.doc().current(), 1);
    QCOMPARE(run.doc().onMovePlayer()->isComputer, 0);
    QVERIFY(run.doc().players().savedO == nullptr);
}

void GameWindowTest::autoplayKeepsAMovesStatisticsOnItsOwnLine()
{
    Run run(ini());
    run.frame().action(ID_VIEW_LOG)->trigger();
    run.frame().action(ID_FILE_NEW)->trigger();
    run.frame().action(ID_AUTOPLAY)->trigger(); // the Expert's first move is already posted
    // A searcher posts its statistics right behind its move; they belong to that move's line.
    run.frame().port()->post(PortMessage{MSG_LOG, MSG_TAG, 0, "  statistics"});
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    run.frame().action(ID_STOP_THINKING)->trigger();
    settle();
    const QStringList lines = run.frame().logWindow()->text().split(QLatin1Char('\n'));
    QString first;
    for (const QString& line : lines)
        if (first.isEmpty() && line.startsWith(QStringLiteral("  1. ")))
            first = line;
    QVERIFY2(first.endsWith(QStringLiteral("  statistics")), qPrintable(run.frame().logWindow()->text()));
}

// The repair of a damaged list keeps the user's players in a named backup.
void GameWindowTest::damagedPlayerListIsBackedUpAndNamed()
{
    {
        Run first(ini(), false);
    }
    {
        QSettingsStore store(ini());
        CRegistryKey(store, KEY_PLAYERS).writeText("Player04_Class", "CMiniMaxPlayr");
    }
    Run run(ini());
    const QString backup = ini() + QStringLiteral(".damaged");
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes[0].text.contains(backup));
    QCOMPARE(boxes[0].icon, QMessageBox::Warning);
    QSettingsStore kept(backup);
    QCOMPARE(kept.readValue(KEY_PLAYERS, "Player04_Class"), StoredValue::text("CMiniMaxPlayr"));
}

// A game started from the desktop menu runs in a folder of no use to it.
void GameWindowTest::userGuideIsFoundInTheInstallFolder()
{
    const QString folder = installedGuideFolder();
    QVERIFY(QDir().mkpath(folder));
    QFile guide(QDir(folder).filePath(QStringLiteral("readme.txt")));
    QVERIFY(guide.open(QIODevice::WriteOnly));
    guide.write("installed\n");
    guide.close();
    Run run(ini());
    run.frame().updateCommands();
    const bool found = run.frame().action(ID_USER_GUIDE)->isEnabled();
    guide.remove();
    QVERIFY(found);
}

void GameWindowTest::fileDialogsStartInTheLastFolderElseDocuments()
{
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", dir->path().toLocal8Bit());
    QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("Documents")));
    QVERIFY(QDir(dir->path()).mkpath(QStringLiteral("games")));
    QStringList starts;
    const QString chosen = dir->filePath(QStringLiteral("games/first.gam"));
    setFileDialogHook([&](FileDialogKind, const QString& start) {
        starts.append(start);
        return chosen;
    });
    Run run(ini());
    run.frame().action(ID_FILE_OPEN)->trigger(); // no such game: refused, but the folder is remembered
    clickField(run.view(), 10, 10);
    settle();
    run.frame().updateCommands();
    run.frame().action(ID_FILE_SAVE_AS)->trigger();
    qputenv("HOME", home);
    QCOMPARE(starts, QStringList({dir->filePath(QStringLiteral("Documents")),
                                  dir->filePath(QStringLiteral("games/Untitled"))}));
}

void GameWindowTest::windowsOffScreenComeBackAndTheLogFitsTheScreen()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    auto store = [this](const char* name, std::vector<std::int32_t> v) {
        QSettingsStore settings(ini());
        CRegistryKey key(settings, KEY_APPLICATION);
        key.writeNumber("bOpenLogOnStartup", 1);
        if (v.empty())
            key.deleteValue(name);
        else
            key.writeBytes(name, v.data(), v.size() * 4);
    };
    store("MainWndPos", {-5000, 9000});
    store("LogWndRect", {9000, 9000, 9400, 9200});
    {
        Run run(ini());
        QVERIFY(area.contains(run.frame().frameGeometry().topLeft()));
        QVERIFY(run.frame().logWindow());
        QVERIFY(area.contains(run.frame().logWindow()->frameGeometry()));
    }
    // Partly on the screen, title bar in reach: left where the user put it.
    const QPoint edge(area.right() - 100, area.top() + 50);
    store("MainWndPos", {edge.x(), edge.y()});
    store("LogWndRect", {});
    Run run(ini());
    QCOMPARE(run.frame().pos(), edge);
    // First opened: its whole frame on the screen, and stored as that frame.
    CLogWindow* log = run.frame().logWindow();
    QVERIFY(log);
    const QRect frame = log->frameGeometry();
    QVERIFY(area.contains(frame));
    log->storeRect();
    QCOMPARE(readInts(run.store, "LogWndRect", 4),
             (std::vector<std::int32_t>{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1}));
}

QTEST_MAIN(GameWindowTest)
#include "game_window_test.moc"
