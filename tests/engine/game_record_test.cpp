// The move record, history navigation and command enabling of the game document.

#include <gtest/gtest.h>

#include "game_fixture.h"

namespace quintrel::testing {
namespace {

TEST(GameRecord, FreshGameDisablesHistoryAndFiles) {
    GameFixture f;
    const auto& g = *f.game;
    EXPECT_EQ(g.last(), -1);
    EXPECT_EQ(g.current(), 0);
    EXPECT_EQ(g.historyFlags(), HISTORY_FRESH);
    EXPECT_FALSE(g.canMoveBack());
    EXPECT_FALSE(g.canMoveForward());
    EXPECT_FALSE(g.canUndoAll());
    EXPECT_FALSE(g.canSave());
    EXPECT_FALSE(g.canReplay());
    EXPECT_TRUE(g.canAdvice());
    EXPECT_TRUE(g.canStartOver());
    EXPECT_FALSE(g.canStopThinking());
    // The human on move has the board open.
    EXPECT_EQ(f.ui.flags, INPUT_BOTH);
    EXPECT_TRUE(g.thinking());
}

TEST(GameRecord, NewMoveInsideHistoryCutsTheRedoTail) {
    GameFixture f;
    auto& g = *f.game;
    f.click(10, 10);
    EXPECT_EQ(g.historyFlags(), HISTORY_AT_END);
    f.click(11, 10);
    f.click(12, 10);
    ASSERT_EQ(g.last(), 2);

    g.moveBack();
    EXPECT_EQ(g.historyFlags(), 0);
    EXPECT_TRUE(g.canMoveForward());
    EXPECT_TRUE(g.canMoveBack());
    EXPECT_EQ(g.sideToMove(), SIDE_O);
    EXPECT_EQ(f.ui.mark, F(12, 10)); // the move just taken back
    g.moveBack();
    EXPECT_EQ(g.current(), 1);
    EXPECT_EQ(g.board().cell(11, 10), EMPTY);

    f.click(5, 5);
    EXPECT_EQ(g.last(), 1);
    EXPECT_EQ(g.current(), 2);
    EXPECT_EQ(g.move(1), (GameMove{F(5, 5), SIDE_X}));
    EXPECT_EQ(g.historyFlags(), HISTORY_AT_END);
    EXPECT_FALSE(g.canMoveForward());
    EXPECT_EQ(g.board().cell(12, 10), EMPTY);
}

TEST(GameRecord, BackToTheStartKeepsSaveAndReplay) {
    GameFixture f;
    auto& g = *f.game;
    f.click(10, 10);
    f.click(11, 11);
    g.moveBack();
    g.moveBack();
    EXPECT_EQ(g.current(), 0);
    EXPECT_EQ(g.historyFlags(), HISTORY_AT_START);
    EXPECT_FALSE(g.canMoveBack());
    EXPECT_FALSE(g.canUndoAll());
    EXPECT_TRUE(g.canSave());
    EXPECT_TRUE(g.canReplay());
    g.moveBack(); // beyond the start: nothing
    EXPECT_EQ(g.current(), 0);

    g.moveForward();
    g.moveForward();
    EXPECT_EQ(g.historyFlags(), HISTORY_AT_END);
    g.moveForward(); // beyond the end: nothing
    EXPECT_EQ(g.current(), 2);
    EXPECT_EQ(g.board().cell(11, 11), SIDE_X);

    g.undoAll();
    EXPECT_EQ(g.current(), 0);
    EXPECT_EQ(g.last(), 1);
    EXPECT_EQ(g.historyFlags(), HISTORY_AT_START);
    EXPECT_EQ(f.ui.mark, F(10, 10));
    g.redoAll();
    EXPECT_EQ(g.current(), 2);
    EXPECT_EQ(g.sideToMove(), SIDE_O);
    EXPECT_EQ(f.ui.mark, F(11, 11));
}

// O wins with 1..5 on row 1 while X plays row 10.
void playHumanWin(GameFixture& f) {
    for (int i = 1; i <= 4; ++i) {
        f.click(i, 1);
        f.click(i, 10);
    }
    f.click(5, 1);
}

TEST(GameRecord, WinIsFoundAgainByRedoAllAndLeftByMovingBack) {
    GameFixture f;
    auto& g = *f.game;
    playHumanWin(f);
    ASSERT_EQ(g.historyFlags(), HISTORY_FINISHED);
    EXPECT_FALSE(g.canAdvice());
    EXPECT_TRUE(g.canSave());
    EXPECT_EQ(f.ui.flags, INPUT_NONE);

    // No further move is taken.
    f.game->onMoveDelivered(GameMove{F(9, 9), SIDE_X});
    EXPECT_EQ(g.last(), 8);

    g.moveBack();
    EXPECT_EQ(g.historyFlags(), 0);
    EXPECT_FALSE(f.ui.blinking);
    EXPECT_EQ(f.ui.flags, INPUT_BOTH); // the human may play on
    g.undoAll();
    g.redoAll();
    EXPECT_EQ(g.historyFlags(), HISTORY_FINISHED);
    EXPECT_TRUE(f.ui.blinking);
    EXPECT_EQ(f.ui.pane1, "Player O has won.");
    EXPECT_EQ(f.ui.pane2, "");
    EXPECT_FALSE(g.thinking());
}

TEST(GameRecord, MovesThatDoNotFitAreDropped) {
    GameFixture f;
    auto& g = *f.game;
    f.click(10, 10);
    g.onMoveDelivered(GameMove{F(10, 10), SIDE_X}); // occupied
    g.onMoveDelivered(GameMove{F(3, 3), SIDE_O});   // wrong side
    g.onMoveDelivered(GameMove{F(0, 3), SIDE_X});   // off the board
    g.onMoveDelivered(GameMove{F(3, 20), SIDE_X});
    EXPECT_EQ(g.last(), 0);
    EXPECT_TRUE(g.thinking());
    // A message with a foreign tag is not ours.
    PortMessage foreign{MSG_MOVE, 0, GameMove{F(4, 4), SIDE_X}.packed(), {}};
    g.handleMessage(foreign);
    EXPECT_EQ(g.last(), 0);
    PortMessage ours{MSG_MOVE, MSG_TAG, GameMove{F(4, 4), SIDE_X}.packed(), {}};
    g.handleMessage(ours);
    EXPECT_EQ(g.last(), 1);
}

TEST(GameRecord, BusyComputerDisablesNavigation) {
    GameFixture f;
    auto& g = *f.game;
    f.click(10, 10);
    f.click(11, 10);
    // X is a computer that has not answered yet.
    f.script(SIDE_X, {});
    f.click(12, 10);
    ASSERT_TRUE(g.computing());
    EXPECT_TRUE(g.canStopThinking());
    EXPECT_FALSE(g.canMoveBack());
    EXPECT_FALSE(g.canMoveForward());
    EXPECT_FALSE(g.canUndoAll());
    EXPECT_FALSE(g.canReplay());
    EXPECT_FALSE(g.canSave());
    EXPECT_FALSE(g.canAdvice());
    EXPECT_FALSE(g.canStartOver());
    EXPECT_FALSE(g.canOpponentSettings());
}

TEST(GameRecord, OpponentSettingsNeedsHumanAgainstComputerWithDialog) {
    GameFixture f;
    auto& g = *f.game;
    EXPECT_FALSE(g.canOpponentSettings()); // two humans
    f.choose(PlayerKindCatalogue::HUMAN, PlayerKindCatalogue::CHAOTIC);
    g.onNewDocument();
    EXPECT_FALSE(g.canOpponentSettings()); // Chaotic has no settings dialog
    ScriptedPlayer* x = f.script(SIDE_X, {});
    x->definition = f.db.definition(PlayerKindCatalogue::LIGHT);
    EXPECT_TRUE(g.canOpponentSettings());
}

} // namespace
} // namespace quintrel::testing
