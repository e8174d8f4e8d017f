// The turn cycle: texts, endings, Stop Thinking, Autoplay, Switch Sides,
// Advice and Replay, seen through the headless UI.

#include <gtest/gtest.h>

#include "game_fixture.h"

namespace quintrel::testing {
namespace {

TEST(GameController, StatusAndLogTexts) {
    GameFixture f;
    auto& g = *f.game;
    EXPECT_EQ(f.ui.pane1, "Human on move.");
    EXPECT_EQ(f.ui.pane2, "  1. A");
    EXPECT_EQ(f.ui.log.size(), 5u);
    EXPECT_EQ(f.ui.log[1], "New game:  Human  vs  Human");
    EXPECT_EQ(f.ui.log[3], LOG_HEADER);

    f.click(8, 10);
    EXPECT_EQ(f.ui.log.back(), "  1.        Human  H 10");
    EXPECT_EQ(f.ui.pane2, "  1. B");
    f.click(9, 9);
    EXPECT_EQ(f.ui.log.back(), "  1.        Human  I  9");
    EXPECT_EQ(f.ui.pane2, "  2. A");
    f.click(10, 10);
    EXPECT_EQ(f.ui.log.back(), "  2.        Human  J 10");
    EXPECT_TRUE(g.isModified());

    // A statistics line continues the move's line; muted, it is dropped.
    g.handleMessage(PortMessage{MSG_LOG, MSG_TAG, 0, " stats"});
    EXPECT_EQ(f.ui.log.back(), "  2.        Human  J 10 stats");
    f.ui.setLogMuted(true);
    g.handleMessage(PortMessage{MSG_LOG, MSG_TAG, 0, " more"});
    EXPECT_EQ(f.ui.log.back(), "  2.        Human  J 10 stats");
    g.handleMessage(PortMessage{MSG_PROGRESS, MSG_TAG, 0, " 12/ 40"});
    EXPECT_EQ(f.ui.pane2, " 12/ 40");

    // A computer on move is announced with its side letter.
    f.script(SIDE_X, {});
    g.requestNextMove();
    EXPECT_EQ(f.ui.pane1, "X: Script is thinking...");
    EXPECT_EQ(f.ui.flags, INPUT_NONE);
}

TEST(GameController, HumanWinIsCongratulated) {
    GameFixture f;
    for (int i = 1; i <= 4; ++i) {
        f.click(i, 1);
        f.click(i, 10);
    }
    f.click(5, 1);
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].caption, "Congratulation!");
    EXPECT_EQ(f.ui.boxes[0].text, " Player O (Human) has won.");
    EXPECT_EQ(f.ui.boxes[0].icon, MessageIcon::Information);
    EXPECT_EQ(f.ui.pane1, "Player O has won.");
    EXPECT_EQ(f.ui.pane2, "");
    const auto n = f.ui.log.size();
    EXPECT_EQ(f.ui.log[n - 3], LOG_SEPARATOR);
    EXPECT_EQ(f.ui.log[n - 2], " Player O (Human) has won.");
    EXPECT_EQ(f.ui.log[n - 1], LOG_SEPARATOR);
    EXPECT_TRUE(f.ui.blinking);
    EXPECT_EQ(f.ui.fiveEnds[0], F(5, 1));
    EXPECT_EQ(f.ui.fiveEnds[1], F(1, 1));
}

TEST(GameController, ComputerWinIsGameOver) {
    GameFixture f;
    auto& g = *f.game;
    f.script(SIDE_X, {F(1, 1), F(2, 1), F(3, 1), F(4, 1), F(5, 1)});
    for (int i = 1; i <= 5; ++i) {
        f.click(2 * i - 1, 10);
        f.drain();
    }
    EXPECT_EQ(g.historyFlags(), HISTORY_FINISHED);
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].caption, "Game Over");
    EXPECT_EQ(f.ui.boxes[0].text, " Player X (Script) has won.");
    EXPECT_FALSE(g.thinking());
    EXPECT_EQ(g.last(), 9);
}

TEST(GameController, DeadBoardIsADraw) {
    GameFixture f;
    auto& g = *f.game;
    // Colours by (x + 2y) mod 4 leave no five in any direction, even on a full board.
    std::vector<Field> cells[2];
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x) cells[(x + 2 * y) % 4 < 2 ? 0 : 1].push_back(F(x, y));
    std::size_t next[2] = {0, 0};
    while (g.historyFlags() != HISTORY_FINISHED) {
        const Side s = g.sideToMove();
        ASSERT_LT(next[s], cells[s].size());
        const Field c = cells[s][next[s]++];
        f.click(c.x, c.y);
    }
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].text, "Board too full. Draw.");
    EXPECT_EQ(f.ui.boxes[0].caption, "Game Over");
    EXPECT_EQ(f.ui.pane1, "Board too full. Draw.");
    EXPECT_EQ(f.ui.pane2, "");
    const auto n = f.ui.log.size();
    EXPECT_EQ(f.ui.log[n - 2], " Draw.");
    EXPECT_EQ(f.ui.log[n - 1], LOG_SEPARATOR);
    EXPECT_FALSE(g.canAdvice());

    g.moveBack();
    EXPECT_NE(g.historyFlags(), HISTORY_FINISHED);
    g.moveForward();
    EXPECT_EQ(g.historyFlags(), HISTORY_FINISHED);
    EXPECT_EQ(f.ui.pane1, "Draw.");
    EXPECT_EQ(f.ui.flags, INPUT_NONE);
    EXPECT_FALSE(g.thinking());
}

TEST(GameController, EscBetweenComputersHandsTheSideToTheHuman) {
    GameFixture f;
    auto& g = *f.game;
    f.script(SIDE_O, {F(10, 10), F(11, 11)});
    ScriptedPlayer* x = f.script(SIDE_X, {F(10, 11), F(12, 12)});
    g.onNewDocument();
    // Both computers: O's move is already posted, nothing drained yet.
    ASSERT_TRUE(g.busy());
    g.stopThinking();
    EXPECT_TRUE(g.haltAutoplay());
    f.drain();
    EXPECT_EQ(g.last(), 0);
    EXPECT_FALSE(g.haltAutoplay());
    EXPECT_EQ(g.players().playerX, f.db.humanPlayer());
    EXPECT_EQ(x->requests, 0);
    EXPECT_EQ(f.ui.pane1, "Human on move.");
    EXPECT_EQ(f.ui.flags, INPUT_BOTH);
}

TEST(GameController, StoppedAutoplayRestoresThePlayersWithTheHumanOnMove) {
    GameFixture f;
    auto& g = *f.game;
    f.choose(PlayerKindCatalogue::HUMAN, PlayerKindCatalogue::CHAOTIC);
    g.onNewDocument();
    CPlayer* human = g.players().playerO;
    CPlayer* chaotic = g.players().playerX;
    g.autoplay();
    EXPECT_EQ(g.players().playerO, f.db.expertPlayer());
    EXPECT_EQ(g.players().savedO, human);
    g.stopThinking();
    f.drain();
    // O's move was played; X would be the computer, so the sides are exchanged.
    EXPECT_EQ(g.last(), 0);
    EXPECT_EQ(g.players().savedO, nullptr);
    EXPECT_EQ(g.players().playerO, chaotic);
    EXPECT_EQ(g.players().playerX, human);
    EXPECT_EQ(f.ui.pane1, "Human on move.");
}

TEST(GameController, AutoplayRunsAGameToItsEndAndGivesThePlayersBack) {
    GameFixture f;
    auto& g = *f.game;
    CPlayer* o = g.players().playerO;
    CPlayer* x = g.players().playerX;
    g.autoplay();
    f.drain(100000);
    EXPECT_EQ(g.historyFlags(), HISTORY_FINISHED);
    EXPECT_EQ(g.players().playerO, o);
    EXPECT_EQ(g.players().playerX, x);
    EXPECT_EQ(f.ui.boxes.size(), 1u);
    // Autoplay after the end starts a new game.
    g.autoplay();
    EXPECT_EQ(g.historyFlags(), HISTORY_FRESH);
    EXPECT_LE(g.last(), 0);
    f.drain(100000);
    EXPECT_EQ(g.historyFlags(), HISTORY_FINISHED);
}

TEST(GameController, NavigatingBackToTheComputersTurnSwapsPlayers) {
    GameFixture f;
    auto& g = *f.game;
    ScriptedPlayer* x = f.script(SIDE_X, {F(1, 10), F(2, 10), F(3, 10), F(4, 10)});
    CPlayer* human = g.players().playerO;
    for (int i = 1; i <= 5; ++i) {
        f.click(i, 1);
        f.drain();
    }
    ASSERT_EQ(g.historyFlags(), HISTORY_FINISHED);
    g.moveBack(); // O's turn: the human stays
    EXPECT_EQ(g.players().playerO, human);
    g.moveBack(); // X's turn: the human takes X
    EXPECT_EQ(g.sideToMove(), SIDE_X);
    EXPECT_EQ(g.players().playerX, human);
    EXPECT_EQ(g.players().playerO, x);
    EXPECT_EQ(f.ui.flags, INPUT_BOTH);
    EXPECT_FALSE(g.computing());
}

TEST(GameController, SwitchSidesLetsTheComputerMoveForTheHuman) {
    GameFixture f;
    auto& g = *f.game;
    f.choose(PlayerKindCatalogue::HUMAN, PlayerKindCatalogue::CHAOTIC);
    g.onNewDocument();
    CPlayer* chaotic = g.players().playerX;
    g.switchSides();
    EXPECT_EQ(g.players().playerO, chaotic);
    EXPECT_FALSE(g.canAdvice()); // Switch Sides is disabled while it thinks
    f.drain();
    EXPECT_EQ(g.last(), 0);
    EXPECT_EQ(g.move(0).side, SIDE_O);
    EXPECT_EQ(f.ui.pane1, "Human on move.");
    g.switchSides(); // the human on move again: switch once more
    f.drain();
    EXPECT_EQ(g.last(), 1);
}

TEST(GameController, AdviceShowsAMoveWithoutPlayingIt) {
    GameFixture f;
    auto& g = *f.game;
    g.advice();
    EXPECT_TRUE(f.ui.muted);
    EXPECT_EQ(f.ui.pane1, "Thinking about advice...");
    EXPECT_EQ(f.ui.flags, INPUT_NONE);
    EXPECT_TRUE(g.busy());
    f.drain();
    EXPECT_EQ(g.last(), -1);
    EXPECT_FALSE(g.adviceRequested());
    EXPECT_FALSE(f.ui.muted);
    EXPECT_EQ(f.ui.flags, INPUT_BOTH);
    EXPECT_EQ(f.ui.pane1, "Human on move.");
    ASSERT_EQ(f.ui.boxes.size(), 1u);
    EXPECT_EQ(f.ui.boxes[0].caption, "Advice from Chaotic");
    ASSERT_TRUE(f.ui.mark.has_value());
    char expected[32];
    std::snprintf(expected, sizeof expected, "Try move  %c %d ...", f.ui.mark->x + 64, f.ui.mark->y);
    EXPECT_EQ(f.ui.boxes[0].text, expected);
}

TEST(GameController, ReplayOfAWonGameShowsTheWinAgain) {
    GameFixture f;
    auto& g = *f.game;
    f.script(SIDE_X, {F(1, 10), F(2, 10), F(3, 10), F(4, 10)});
    for (int i = 1; i <= 5; ++i) {
        f.click(i, 1);
        f.drain();
    }
    ASSERT_EQ(g.historyFlags(), HISTORY_FINISHED);
    g.replay();
    EXPECT_EQ(g.current(), 0);
    EXPECT_FALSE(f.ui.blinking);
    EXPECT_EQ(f.ui.pane1, "Replaying...");
    EXPECT_TRUE(f.ui.replayTimerRunning);
    EXPECT_EQ(f.ui.replayPeriodMs, 800u);
    EXPECT_TRUE(g.busy());
    EXPECT_FALSE(g.canMoveForward());

    int ticks = 0;
    while (f.ui.replayTimerRunning && ticks < 100) {
        g.onReplayTimer();
        f.drain(); // no player is asked during the replay
        ++ticks;
        if (ticks == 3) {
            EXPECT_EQ(f.ui.pane2, "  2. B");
            EXPECT_TRUE(g.canUndoAll()); // Undo All stays open during a replay
        }
    }
    EXPECT_EQ(ticks, 10); // nine moves, then the tick that stops the timer
    EXPECT_EQ(g.historyFlags(), HISTORY_FINISHED);
    EXPECT_TRUE(f.ui.blinking);
    EXPECT_EQ(f.ui.pane1, "Player O has won.");
    EXPECT_FALSE(g.replaying());
    EXPECT_EQ(g.last(), 8);
    EXPECT_EQ(f.ui.boxes.size(), 1u); // the replayed win shows no box
}

TEST(GameController, UndoAllDuringReplayRestartsIt) {
    GameFixture f;
    auto& g = *f.game;
    for (int i = 1; i <= 3; ++i) {
        f.click(i, 1);
        f.click(i, 10);
    }
    g.undoAll();
    g.replay();
    g.onReplayTimer();
    g.onReplayTimer();
    ASSERT_EQ(g.current(), 2);
    g.undoAll();
    EXPECT_EQ(g.current(), 0);
    EXPECT_TRUE(g.replaying());
    // Esc ends the replay at the next tick, and play resumes.
    g.onReplayTimer();
    g.stopThinking();
    g.onReplayTimer();
    EXPECT_FALSE(f.ui.replayTimerRunning);
    EXPECT_EQ(g.current(), 1);
    EXPECT_FALSE(g.busy());
    EXPECT_EQ(f.ui.pane1, "Human on move.");
}

TEST(GameController, NewGameRestoresTheChosenPlayers) {
    GameFixture f;
    auto& g = *f.game;
    f.choose(PlayerKindCatalogue::HUMAN, PlayerKindCatalogue::CHAOTIC);
    g.onNewDocument();
    CPlayer* first = g.players().firstPlayer.get();
    g.switchSides();
    f.drain();
    ASSERT_NE(g.players().playerO, first);
    g.onNewDocument();
    EXPECT_EQ(g.players().playerO, first);
    EXPECT_EQ(g.last(), -1);
    EXPECT_EQ(g.historyFlags(), HISTORY_FRESH);
    EXPECT_EQ(f.ui.log[1], "New game:  Human  vs  Chaotic");
}

TEST(GameController, OptionsAreAppliedOnlyOnOk) {
    GameFixture f;
    auto& g = *f.game;
    f.ui.options = [](OptionValues& o, CPlayerDatabase&) {
        o.pause = 5000;
        o.ask = 1;
        o.priority = 3;
        o.expertChoice = 2; // "Medium"... index 3
        return false;
    };
    g.options();
    EXPECT_EQ(g.replayPauseMs(), 800u);
    f.ui.options = [](OptionValues& o, CPlayerDatabase&) {
        o.pause = 5000;
        o.ask = 1;
        o.priority = 3;
        o.expertChoice = 0; // "Chaotic"
        return true;
    };
    g.options();
    EXPECT_EQ(g.replayPauseMs(), 5000u);
    EXPECT_TRUE(g.askIfSave());
    EXPECT_EQ(g.players().firstPlayer->priority, 2);
    EXPECT_EQ(f.db.threadPriority(), 2);
    EXPECT_EQ(f.db.expertIndex(), 1u);
}

} // namespace
} // namespace quintrel::testing
