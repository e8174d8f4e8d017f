// Extensive player on tactics: positions where the side to move has a forced
// win by fours and threes (built from the basic shapes, and taken from games
// between the other players). Extensive at its defaults must announce the
// victory on its first move and then complete five against Extensive as the
// defender; as the defender it must block a single five and an open three.

#include "SearchTestUtil.h"
#include "TacticsSuite.h"

#include "search/ExtensivePlayer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;

struct Linked {
    CExtensivePlayer player;
    PlayerDefinition definition =
        definitionWith(TreeSettings::extensiveDefaults(), TreeSettings::EXTENSIVE_CLASS);
    Linked() { player.definition = &definition; }
};

// The Remark column of the player's last search.
std::string remarkOf(CTreePlayer& p, int score) {
    const std::string line = p.composeLogLine(score);
    const auto at = line.find("  ", line.rfind(std::to_string(score)));
    return at == std::string::npos ? "" : line.substr(at + 2);
}

constexpr int MOVE_LIMIT = 15;

class ForcedWin : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ForcedWin, IsAnnouncedAndPlayedOut) {
    const Tactic& t = tactics()[GetParam()];
    SCOPED_TRACE(t.name);
    CBoard b = boardOf(t);
    Linked attacker;
    Linked defender;
    rng::seed(7);
    Side side = t.mover;
    bool won = false;
    for (int ply = 0; ply < 2 * MOVE_LIMIT && !won; ++ply) {
        Linked& p = side == t.mover ? attacker : defender;
        const int score = p.player.think(b, side);
        const Field f = p.player.chosenMove().field;
        if (ply == 0) {
            EXPECT_GT(score, 800);
            EXPECT_EQ(remarkOf(p.player, score).rfind("Victory in ", 0), 0u)
                << remarkOf(p.player, score);
        }
        ASSERT_TRUE(f.onBoard());
        ASSERT_EQ(b.cells[f.x][f.y], EMPTY);
        b.place(f, side);
        int ends[4];
        if (b.findFive(side, ends)) {
            ASSERT_EQ(side, t.mover) << "the defender completed five";
            won = true;
        }
        side = otherSide(side);
    }
    EXPECT_TRUE(won);
}

INSTANTIATE_TEST_SUITE_P(Positions, ForcedWin, ::testing::Range<std::size_t>(0, tactics().size()));

TEST(ExtensiveTactics, DefenderBlocksAFiveAndAnOpenThree) {
    Linked defender;
    rng::seed(8);

    // X's closed four: the single five field is blocked at once.
    const CBoard four =
        boardWith({{9, 9}, {4, 10}, {12, 12}}, {{5, 10}, {6, 10}, {7, 10}, {8, 10}, {6, 13}});
    defender.player.think(four, SIDE_O);
    EXPECT_EQ(defender.player.chosenMove().field, F(9, 10));

    // X's open three would become an open four: O blocks next to it, also
    // with a closed two of its own on the board.
    const CBoard three =
        boardWith({{9, 9}, {10, 9}, {8, 12}}, {{6, 11}, {7, 11}, {8, 11}, {11, 8}});
    const int score = defender.player.think(three, SIDE_O);
    const Field f = defender.player.chosenMove().field;
    EXPECT_TRUE(f == F(5, 11) || f == F(9, 11)) << int(f.x) << "," << int(f.y);
    EXPECT_GT(score, -800);
}

} // namespace
} // namespace quintrel
