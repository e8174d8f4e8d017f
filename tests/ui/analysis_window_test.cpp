// The analysis as a user meets it: the Analyse command, the panel and the
// board's marks following the position, the game's graph, and positions
// copied, pasted and edited.

#include "board/Random.h"
#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "game/PositionText.h"
#include "game/QuintrelGam.h"
#include "players/MasterSettings.h"
#include "players/PlayerDefinition.h"
#include "search/MasterPlayer.h"
#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/UiHooks.h"
#include "ui/store/QSettingsStore.h"

#include <QAction>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace quintrel;
using namespace quintrel::ui;

namespace {

// One run of the program on its own settings: two humans play, and Master
// (with these settings) is the Expert and so the analyst.
struct Run {
    Run(const QString& ini, const MasterSettings& analyst) : store(ini), app(store)
    {
        ok = app.start();
        CPlayerDatabase& db = app.document()->database();
        ok = ok && db.definition(PlayerKindCatalogue::MASTER)->adoptSettings(analyst.toBlock()) &&
             db.setExpert(PlayerKindCatalogue::MASTER);
        PlayerSelection& players = app.document()->players();
        players.secondPlayer = db.createPlayer(0);
        players.secondIndex = 0;
        players.playerX = players.secondPlayer.get();
        players.setWindow(app.frame()->port());
        app.frame()->show();
        QCoreApplication::processEvents();
    }
    CMainFrame& frame() { return *app.frame(); }
    CQuintrelGam& doc() { return *app.document(); }
    CAnalysisPanel& panel() { return *app.frame()->analysisPanel(); }
    QString lines() { return panel().findChild<QLabel*>("analysisLines")->text(); }
    void paste(const std::vector<Field>& moves)
    {
        QGuiApplication::clipboard()->setText(QString::fromStdString(moveString(moves)));
        frame().action(ID_PASTE_POSITION)->trigger();
    }

    QSettingsStore store;
    CQuintrelApp app;
    bool ok = false;
};

const std::vector<Field> MIDDLE_GAME = {{10, 10}, {11, 11}, {11, 10}, {9, 10}, {12, 9}, {10, 11}, {12, 11}, {9, 9}};

master::Result engineResult(const std::vector<Field>& moves, const MasterSettings& s, int multiPv)
{
    return master::Engine().search(setupAfter(moves, moves.size()), master::Limits{0, s.maxDepth, 1, s.hashMb, multiPv}, std::atomic<int>{0});
}

} // namespace

class AnalysisWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        boxes.clear();
        setMessageHook([this](const MessageRequest& r) {
            boxes.append(r);
            return QMessageBox::No; // "Save changes?": no
        });
    }
    void cleanup()
    {
        setMessageHook(nullptr);
        dir.reset();
    }

    // At a fixed depth the panel and the board show the engine's own answer;
    // the analysis starts and stops with the command and follows the position.
    void analysisShowsTheEnginesBestAndFollowsThePosition()
    {
        const MasterSettings fixed{1000, 4, 1, 16};
        Run run(dir->filePath("a.ini"), fixed);
        QVERIFY(run.ok);
        run.paste(MIDDLE_GAME);
        QCOMPARE(run.doc().current(), static_cast<int>(MIDDLE_GAME.size()));
        QVERIFY(!run.panel().liveRunning());
        QAction* analyse = run.frame().action(ID_ANALYSE);
        analyse->trigger();
        QVERIFY(analyse->isChecked());
        QVERIFY(run.panel().liveRunning());
        QVERIFY(run.panel().isVisible());
        QTRY_COMPARE(run.panel().shown().depth, 4);
        const master::Result expected = engineResult(MIDDLE_GAME, fixed, run.panel().bestMoves());
        QCOMPARE(run.panel().shown().lines.size(), expected.lines.size());
        const Field best = fieldOf(expected.lines[0].move);
        QVERIFY2(run.lines().startsWith("1. " + boardName(best) + "  "), qPrintable(run.lines()));
        QCOMPARE(run.frame().view()->analysisMarks().line.front(), best);
        QCOMPARE(run.frame().view()->analysisMarks().scores.size(), expected.lines.size());

        // Move Back: the position before is analysed; a move: the one after it.
        run.frame().action(ID_MOVE_BACK)->trigger();
        QTRY_COMPARE(run.panel().shown().depth, 4);
        QCOMPARE(run.panel().shown().lines[0].move,
                 engineResult({MIDDLE_GAME.begin(), MIDDLE_GAME.end() - 1}, fixed, 3).lines[0].move);
        run.frame().action(ID_MOVE_FORWARD)->trigger();
        QTRY_COMPARE(run.panel().shown().depth, 4);
        QCOMPARE(run.panel().shown().lines[0].move, expected.lines[0].move);

        analyse->trigger();
        QVERIFY(!run.panel().liveRunning());
        QVERIFY(run.frame().view()->analysisMarks().line.empty());
    }

    // Never beside a computer's thinking: the Expert's advice pauses it.
    // The window keeps answering while it runs.
    void analysisPausesWhileAComputerThinksAndNeverBlocksTheWindow()
    {
        Run run(dir->filePath("b.ini"), MasterSettings{400, 99, 1, 16});
        QVERIFY(run.ok);
        run.paste(MIDDLE_GAME);
        run.frame().action(ID_ANALYSE)->trigger();
        QVERIFY(run.panel().liveRunning());
        bool together = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&] { together |= run.doc().computing() && run.panel().liveRunning(); });
        watch.start(1);
        run.frame().action(ID_ADVICE)->trigger();
        QVERIFY(run.doc().computing());
        QVERIFY(!run.panel().liveRunning());
        QTRY_VERIFY(!run.doc().computing());
        QTRY_VERIFY(run.panel().liveRunning());
        QVERIFY(!together);
        watch.stop();

        // The longest the event loop went without turning, while analysing.
        qint64 longest = 0;
        QElapsedTimer since;
        since.start();
        QTimer tick;
        connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, since.restart()); });
        tick.start(2);
        QTest::qWait(1500);
        qInfo("longest turn of the event loop while analysing: %lld ms", longest);
        QVERIFY2(longest < 200, "the window waited for the analysis");
    }

    // Every position of a short game, one point a move, its last point the
    // winner's; a Cancel stops a longer analysis with the points it has.
    void analyseGameGraphsEveryMoveAndCancelStopsIt()
    {
        Run run(dir->filePath("c.ini"), MasterSettings{1000, 3, 1, 16});
        QVERIFY(run.ok);
        const std::vector<Field> won = {{10, 10}, {10, 11}, {11, 10}, {11, 11}, {12, 10}, {12, 11}, {13, 10}, {1, 1}, {14, 10}};
        run.paste(won);
        run.frame().action(ID_ANALYSE_GAME)->trigger();
        QVERIFY(run.panel().gameRunning());
        QTRY_VERIFY(!run.panel().gameRunning());
        QCOMPARE(run.panel().evalGraph()->values().size(), won.size());
        QCOMPARE(run.panel().evalGraph()->values().back(), 1.0); // O made five
        QCOMPARE(run.panel().evalGraph()->mistakes().size(), won.size());
        // X's 12,11 left O's open three to become an open four; by 1,1 X had lost already.
        QVERIFY(run.panel().evalGraph()->mistakes()[5]);
        QVERIFY(!run.panel().evalGraph()->mistakes()[7]);
        // A click on the graph goes to that move.
        QTest::mouseClick(run.panel().evalGraph(), Qt::LeftButton, {}, QPoint(2, 10));
        QCOMPARE(run.doc().current(), 1);

        std::vector<Field> longer;
        for (int i = 0; i < 40; ++i) longer.push_back(Field{static_cast<std::uint8_t>(1 + i % 19), static_cast<std::uint8_t>(1 + 2 * (i / 19) + (i % 2) * 7)});
        run.paste(longer);
        // Now 0.5 s a position: far longer than the test waits.
        QVERIFY(run.doc().database().definition(PlayerKindCatalogue::MASTER)->adoptSettings(MasterSettings{}.toBlock()));
        run.frame().action(ID_ANALYSE_GAME)->trigger();
        QTest::qWait(300);
        run.panel().findChild<QPushButton*>("analysisCancel")->click();
        QVERIFY(!run.panel().gameRunning());
        QVERIFY(run.panel().evalGraph()->values().size() < longer.size());
    }

    // Copy then Paste gives the same record on random positions; texts that
    // are no position are refused with a message and change nothing.
    void pasteRoundTripsCopyAndRefusesWhatIsNoPosition()
    {
        Run run(dir->filePath("d.ini"), MasterSettings{});
        QVERIFY(run.ok);
        rng::seed(7);
        for (int round = 0; round < 10; ++round) {
            std::vector<Field> moves;
            const int count = 1 + rng::next() % 80;
            while (static_cast<int>(moves.size()) < count) {
                const Field f{static_cast<std::uint8_t>(1 + rng::next() % 19), static_cast<std::uint8_t>(1 + rng::next() % 19)};
                if (std::find(moves.begin(), moves.end(), f) == moves.end()) moves.push_back(f);
            }
            QGuiApplication::clipboard()->setText(QString::fromStdString(gomocupList(moves)));
            run.frame().action(ID_PASTE_POSITION)->trigger();
            run.frame().action(ID_COPY_POSITION)->trigger();
            QCOMPARE(QGuiApplication::clipboard()->text().toStdString(), moveString(moves));
            run.frame().action(ID_PASTE_POSITION)->trigger();
            QCOMPARE(run.doc().current(), count);
            for (int i = 0; i < count; ++i) QCOMPARE(run.doc().move(i).field, moves[static_cast<std::size_t>(i)]);
        }
        const int before = run.doc().current();
        for (const char* bad : {"", "j10 k11 j10", "t5", "j10 k0", "9,9 10"}) {
            boxes.clear();
            QGuiApplication::clipboard()->setText(bad);
            run.frame().action(ID_PASTE_POSITION)->trigger();
            QCOMPARE(boxes.size(), 1);
            QVERIFY(boxes[0].text.startsWith("The clipboard holds no position"));
            QCOMPARE(run.doc().current(), before);
        }
    }

    // Stones put and taken away with both buttons; the record they make,
    // and a count that makes none refused until it is mended.
    void editedPositionBecomesTheRecord()
    {
        Run run(dir->filePath("e.ini"), MasterSettings{});
        QVERIFY(run.ok);
        CQuintrelView& view = *run.frame().view();
        QAction* edit = run.frame().action(ID_EDIT_POSITION);
        edit->trigger();
        QVERIFY(edit->isChecked());
        QVERIFY(!run.frame().action(ID_FILE_NEW)->isEnabled());
        const auto click = [&](int c, int r, Qt::MouseButton b) { QTest::mouseClick(&view, b, {}, fieldSquare(c, r).center()); };
        click(5, 5, Qt::LeftButton);
        click(6, 6, Qt::LeftButton);
        click(7, 7, Qt::RightButton);
        click(8, 8, Qt::RightButton);
        click(8, 8, Qt::LeftButton); // taken away
        click(9, 9, Qt::LeftButton);
        edit->trigger(); // three O, one X: no record
        QCOMPARE(boxes.size(), 1);
        QVERIFY(edit->isChecked());
        click(9, 9, Qt::LeftButton);
        edit->trigger();
        QVERIFY(!edit->isChecked());
        QCOMPARE(run.doc().current(), 3);
        QCOMPARE(run.doc().move(0).field, (Field{5, 5}));
        QCOMPARE(run.doc().move(1).field, (Field{7, 7}));
        QCOMPARE(run.doc().move(2).field, (Field{6, 6}));
        QCOMPARE(run.doc().sideToMove(), SIDE_X);
        QVERIFY(run.frame().action(ID_FILE_NEW)->isEnabled());
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    QList<MessageRequest> boxes;
};

QTEST_MAIN(AnalysisWindowTest)
#include "analysis_window_test.moc"
