// Master player on tactics. Every position of the forced-win suite is
// announced on the first move and won against Extensive as the defender
// (a fixed-depth defender: the play-out does not hang on the machine's load). The
// continuous-four ladders below are announced with their exact length and
// won, and with the other side to move, defended: after the defender's move
// the attacker has no win left.

#include "SearchTestUtil.h"
#include "TacticsSuite.h"

#include "board/Random.h"
#include "search/ExtensivePlayer.h"
#include "players/PlayerDefinition.h"
#include "search/MasterPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;

// A ring of fours, each forcing a single block, started by a closed three and
// ended by a double four; the other stones close the shortcuts around it.
struct Ladder {
    Tactic position;
    int moves; // the winner's moves to five: 2 * moves - 1 plies
};

// clang-format off
const std::vector<Ladder>& ladders() {
    static const std::vector<Ladder> list = {
        {{"continuous fours, 9 plies", SIDE_X, 1, 19, {
            "..........O...",
            ".........X....",
            "..............",
            "...O.....X....",
            "...OX.X..O....",
            "OXX.X.........",
            ".......O..X.X.",
            "....O..X.....O",
            "..............",
            ".......X......",
            "......O......."}}, 5},
        {{"continuous fours, 13 plies", SIDE_X, 1, 19, {
            "......O.......",
            ".......X......",
            "...OX..X......",
            "....X........O",
            "....O....OX.X.",
            "..............",
            ".X.XO....O.X..",
            "O.....O..XO...",
            "......X..XOX..",
            "......X....X..",
            ".......O...O.."}}, 7},
        {{"continuous fours, 17 plies", SIDE_X, 1, 19, {
            "......O..........",
            ".......X.........",
            "...OX..X.........",
            "....X..O...O.....",
            "....O....OXX.....",
            ".................",
            ".XXO......O......",
            "O........X.XO....",
            ".........X..XO...",
            "..XX.O...O..X....",
            "..O...X..........",
            "......O.......X..",
            "......X........X.",
            ".......O........O"}}, 9},
        {{"continuous fours, 21 plies", SIDE_X, 1, 19, {
            ".......O.........",
            "......X..........",
            ".................",
            "O.....X..........",
            ".X.X.............",
            "......O..X..XO...",
            ".....O...XO.X....",
            "....XX.O.OO......",
            ".................",
            "......O.......XX.",
            "....OX.X........O",
            "...OX..X.........",
            "....XO.......XX..",
            "..........X...O..",
            "..X..............",
            ".X........X......",
            "O........O......."}}, 11},
    };
    return list;
}
// clang-format on

// The remark of a log line: the text after its eight number columns.
std::string remarkOf(const CMasterPlayer& p) {
    const std::string line = p.logLine();
    int end = 0;
    long n[8];
    if (std::sscanf(line.c_str(), "%ld %ld %ld %ld %ld %ld %ld %ld%n", &n[0], &n[1], &n[2], &n[3],
                    &n[4], &n[5], &n[6], &n[7], &end) != 8)
        return line;
    const auto at = line.find_first_not_of(' ', static_cast<std::size_t>(end));
    return at == std::string::npos ? "" : line.substr(at);
}

constexpr int MOVE_LIMIT = 15;
constexpr int PLAY_MS = 300;
// The first move's threat search gets a tenth of the turn: a second keeps it
// whole on a loaded machine under the sanitizers.
constexpr int FIRST_MS = 1000;

struct Master {
    CMasterPlayer player;
    PlayerDefinition definition;
    explicit Master(int ms) { player.setTurnTime(ms); }
    // Searched to a fixed depth rather than by the clock: the same moves on
    // any machine, however loaded.
    Master(int ms, int depth) {
        MasterSettings s;
        s.timeMs = ms;
        s.maxDepth = depth;
        definition.settings = s.toBlock();
        player.definition = &definition;
    }
    Field move(const CBoard& b, Side side) {
        player.think(b, side);
        return player.chosenMove().field;
    }
};

struct Defender {
    CExtensivePlayer player;
    Field move(const CBoard& b, Side side) {
        rng::seed(1);
        player.think(b, side);
        return player.chosenMove().field;
    }
};

// The fields where `side` would complete five.
int fiveFields(const CBoard& b, Side side) {
    int n = 0;
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            if (!b.isEmpty(F(x, y))) continue;
            CBoard c = b;
            c.place(F(x, y), side);
            int ends[4];
            n += c.findFive(side, ends) ? 1 : 0;
        }
    return n;
}

// Plays the position out from its mover, Master against Extensive; true when
// the mover completes five within the move limit. The first remark goes to
// `first`; `fours` gets, for each of the mover's moves that does not win,
// the fields where the mover then threatens five.
bool playOut(const Tactic& t, int firstMs, std::string& first, std::vector<int>* fours = nullptr) {
    CBoard b = boardOf(t);
    Master attacker(firstMs);
    Defender defender;
    Side side = t.mover;
    for (int ply = 0; ply < 2 * MOVE_LIMIT; ++ply) {
        const Field f = side == t.mover ? attacker.move(b, side) : defender.move(b, side);
        if (ply == 0) {
            first = remarkOf(attacker.player);
            std::printf("[ %-40s ] %s in %u ms\n", t.name, first.c_str(),
                        attacker.player.statistics().timeMs);
            attacker.player.setTurnTime(PLAY_MS);
        }
        if (!f.onBoard() || !b.isEmpty(f)) {
            ADD_FAILURE() << "no legal move at ply " << ply;
            return false;
        }
        b.place(f, side);
        int ends[4];
        if (b.findFive(side, ends)) return side == t.mover;
        if (fours && side == t.mover) fours->push_back(fiveFields(b, side));
        side = otherSide(side);
    }
    return false;
}

class MasterForcedWin : public ::testing::TestWithParam<std::size_t> {};

TEST_P(MasterForcedWin, IsAnnouncedAndPlayedOut) {
    const Tactic& t = tactics()[GetParam()];
    SCOPED_TRACE(t.name);
    std::string remark;
    EXPECT_TRUE(playOut(t, FIRST_MS, remark));
    EXPECT_EQ(remark.rfind("Victory in ", 0), 0u) << remark;
}

INSTANTIATE_TEST_SUITE_P(Suite, MasterForcedWin,
                         ::testing::Range<std::size_t>(0, tactics().size()));

class MasterLadder : public ::testing::TestWithParam<std::size_t> {};

TEST_P(MasterLadder, IsAnnouncedWithItsLengthAndWon) {
    const Ladder& l = ladders()[GetParam()];
    SCOPED_TRACE(l.position.name);
    std::string remark;
    std::vector<int> fours;
    EXPECT_TRUE(playOut(l.position, FIRST_MS, remark, &fours));
    EXPECT_EQ(remark, "Victory in " + std::to_string(l.moves));
    // Continuous fours: every move threatens five, the last but one twice.
    std::vector<int> expected(static_cast<std::size_t>(l.moves - 1), 1);
    expected.back() = 2;
    EXPECT_EQ(fours, expected);
}

// Both sides search this deep: at 6 and 7 plies the defence of the 13-ply
// ladder leaves the attacker a win it announces.
constexpr int DEFENCE_DEPTH = 8;

TEST_P(MasterLadder, IsDefendedByTheOtherSide) {
    const Tactic& t = ladders()[GetParam()].position;
    SCOPED_TRACE(t.name);
    CBoard b = boardOf(t);
    Master defender(60000, DEFENCE_DEPTH);
    const Field f = defender.move(b, otherSide(t.mover));
    std::printf("[ %-40s ] defended in %u ms\n", t.name, defender.player.statistics().timeMs);
    ASSERT_TRUE(f.onBoard() && b.isEmpty(f));
    b.place(f, otherSide(t.mover));
    Master attacker(60000, DEFENCE_DEPTH);
    attacker.move(b, t.mover);
    EXPECT_EQ(remarkOf(attacker.player).find("Victory"), std::string::npos)
        << remarkOf(attacker.player);
}

INSTANTIATE_TEST_SUITE_P(Ladders, MasterLadder, ::testing::Range<std::size_t>(0, ladders().size()));

// Openings where Master once answered two cells away and let the first
// player's shape grow: its quiet answer now touches a stone.
TEST(MasterOpening, QuietAnswersTouchAStone) {
    for (const std::vector<Field>& opening : std::vector<std::vector<Field>>{
             {{8, 11}}, {{8, 9}}, {{8, 11}, {6, 13}, {9, 11}}, {{8, 9}, {6, 9}, {9, 9}, {11, 9}}}) {
        CBoard b;
        b.clear();
        for (std::size_t i = 0; i < opening.size(); ++i)
            b.place(opening[i], i % 2 ? SIDE_X : SIDE_O);
        const Field f = Master(60000, 4).move(b, opening.size() % 2 ? SIDE_X : SIDE_O);
        EXPECT_TRUE(std::any_of(opening.begin(), opening.end(), [&](Field s) {
            return std::abs(f.x - s.x) <= 1 && std::abs(f.y - s.y) <= 1;
        })) << opening.size() << " stones: " << int(f.x) << "," << int(f.y);
    }
}

} // namespace
} // namespace quintrel
