// Extensive player on tactics: positions where the side to move has a forced
// win by fours and threes (built from the basic shapes, and taken from games
// between the other players). Extensive at its defaults must announce the
// victory on its first move and then complete five against Extensive as the
// defender; as the defender it must block a single five and an open three.

#include "SearchTestUtil.h"

#include "search/ExtensivePlayer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;

struct Tactic {
    const char* name;
    Side mover;
    int left; // x of the first column
    int top;  // y of the first row; rows run downwards
    std::vector<const char*> rows;
};

CBoard boardOf(const Tactic& t) {
    CBoard b;
    b.clear();
    for (std::size_t i = 0; i < t.rows.size(); ++i)
        for (std::size_t j = 0; t.rows[i][j] != '\0'; ++j) {
            const char c = t.rows[i][j];
            if (c == 'O' || c == 'X')
                b.place(F(t.left + static_cast<int>(j), t.top - static_cast<int>(i)),
                        c == 'O' ? SIDE_O : SIDE_X);
        }
    return b;
}

// clang-format off
const std::vector<Tactic>& tactics() {
    static const std::vector<Tactic> list = {
        // Basic shapes, decided by the root's classification.
        {"open three makes an open four", SIDE_O, 5, 12, {
            "...........",
            "....OOO....",
            "...........",
            "..X....X..."}},
        {"split three on a column", SIDE_X, 8, 14, {
            ".....",
            "..X..",
            "..X..",
            ".....",
            "..X..",
            ".....",
            ".O.O."}},
        {"jump three on a diagonal", SIDE_O, 6, 15, {
            ".........",
            "......O..",
            ".....O...",
            ".........",
            "...O.....",
            ".........",
            "X.......X"}},
        {"two closed threes cross: four-four", SIDE_O, 5, 15, {
            ".........",
            ".....X...",
            ".....O...",
            ".....O...",
            ".....O...",
            ".XOOO....",
            "........."}},
        {"closed three and open two: four-three", SIDE_O, 5, 14, {
            ".........",
            ".XOOO....",
            ".........",
            ".....O...",
            ".....O...",
            ".........",
            "...X....."}},
        {"two open twos cross: three-three", SIDE_X, 5, 14, {
            "..........",
            "...X......",
            "...X......",
            "..........",
            ".....XX...",
            "..........",
            "....O..O.."}},
        {"four-three while the defender has a closed three", SIDE_O, 5, 14, {
            "...........",
            ".XOOO......",
            "...........",
            ".....O.....",
            ".....O.....",
            "...........",
            ".......XXXO",
            "..........."}},
        // Found by search: a four whose forced block leaves a four-four.
        {"four, then four-four", SIDE_O, 6, 14, {
            "....X....",
            "....O....",
            "....O....",
            "XOOO.....",
            ".....OOOX",
            ".......X."}},
        // From games between the other players; the winner to move.
        {"game 1", SIDE_O, 9, 12, {
            "XX..",
            ".OX.",
            "..O.",
            ".X.O",
            "..O."}},
        {"game 2", SIDE_O, 7, 15, {
            ".....X",
            "X...O.",
            "XO.OO.",
            ".XOX..",
            ".OXO..",
            "X...O.",
            ".....X"}},
        {"game 3", SIDE_X, 7, 11, {
            ".....XX",
            "....OX.",
            ".O.OX..",
            "..OO...",
            ".O.....",
            "X......"}},
        {"game 4", SIDE_O, 7, 10, {
            "..O.",
            ".X.O",
            "..O.",
            ".OX.",
            "XX.."}},
        {"game 5", SIDE_O, 5, 11, {
            "........O",
            ".......X.",
            "X.....X..",
            "XOOOOX...",
            "..OXX....",
            "...O....."}},
        {"game 6", SIDE_O, 10, 14, {
            ".X.",
            ".OX",
            "XOX",
            "OO."}},
        {"game 7", SIDE_O, 5, 14, {
            ".....O.",
            "....XO.",
            "...XO.O",
            "..X..X.",
            ".X.....",
            "O......"}},
        {"game 8", SIDE_O, 9, 13, {
            ".XX.",
            "OOOX",
            "OX.."}},
        {"game 9", SIDE_X, 8, 12, {
            ".X.",
            "OO.",
            "XOX",
            "XOX",
            "OX.",
            ".OO"}},
        {"game 10", SIDE_O, 7, 12, {
            "..X.X",
            ".X.O.",
            "OXO..",
            ".O..."}},
        {"game 11", SIDE_O, 7, 15, {
            ".O..",
            "OXX.",
            ".O.X",
            "..O.",
            "...X"}},
        {"game 12", SIDE_O, 8, 10, {
            ".O..",
            "O.X.",
            ".O..",
            ".XO.",
            "..XX"}},
        {"game 13", SIDE_O, 5, 15, {
            ".....X...",
            ".O...O...",
            "..X.XO.O.",
            "...XOOX..",
            "..X.X.O..",
            ".X...X.O.",
            "O.....O.X"}},
        {"game 14", SIDE_O, 8, 15, {
            ".....O",
            "....X.",
            "...X..",
            "..X...",
            ".XO...",
            "OXO...",
            ".OO...",
            "..O...",
            "..XX.."}},
        {"game 15", SIDE_O, 8, 12, {
            ".O.X.X",
            "XOOOOX",
            "..XO..",
            ".XO.X.",
            ".OOX..",
            "X....."}},
        {"game 16", SIDE_O, 6, 15, {
            "......X",
            "....XO.",
            "..XXO..",
            "XOOOOX.",
            ".XOOO..",
            ".X..O..",
            "....XX."}},
        {"game 17", SIDE_X, 7, 15, {
            "X.....",
            ".O.O..",
            "..O...",
            "..XOO.",
            "..XXO.",
            ".....X"}},
        {"game 18", SIDE_X, 6, 14, {
            "X.....",
            ".O.O..",
            "..O...",
            "..OO..",
            "...XO.",
            "....XX",
            ".....X"}},
    };
    return list;
}
// clang-format on

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
