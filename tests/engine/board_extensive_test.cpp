// Worth and threat bits of the extensive mode against a plain, rule-by-rule
// transcription, over random records and over the records of random games.
#include "BoardTestUtil.h"
#include "board/Board.h"
#include "board/Patterns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace quintrel;
using namespace quintrel::testing;

namespace {

struct Entry {
    int count, closed, line;
    bool four() const { return count >= 4; }
    bool openThree() const { return count == 3 && closed == 0; }
};

// The rules written out the slow way: entries R0, R1, J0, J1, S0, S1.
void referenceWorthAndThreats(const PatternRecord& r, int& worth, int& threats) {
    int value[256] = {};
    for (int i = 0; i < 3; ++i) {
        const int v = (r.run[i] & 15) - r.runClosed[i];
        if (v > 1 && (r.run[i] >> 4) != 0)
            value[r.run[i] >> 4] = v;
    }
    const std::uint8_t pairs[4][2] = {{r.jump[0], r.jumpClosed[0]},
                                      {r.jump[1], r.jumpClosed[1]},
                                      {r.split[0], r.splitClosed[0]},
                                      {r.split[1], r.splitClosed[1]}};
    for (const auto& p : pairs)
        if ((p[0] >> 4) != 0)
            value[p[0] >> 4] = std::max(value[p[0] >> 4], (p[0] & 15) - (p[1] + 1));
    worth = value[1] + value[2] + value[4] + value[8];

    const Entry e[6] = {{r.run[0] & 15, r.runClosed[0], r.run[0] >> 4},       {r.run[1] & 15, r.runClosed[1], r.run[1] >> 4},
                        {r.jump[0] & 15, r.jumpClosed[0], r.jump[0] >> 4},    {r.jump[1] & 15, r.jumpClosed[1], r.jump[1] >> 4},
                        {r.split[0] & 15, r.splitClosed[0], r.split[0] >> 4}, {r.split[1] & 15, r.splitClosed[1], r.split[1] >> 4}};
    enum { R0, R1, J0, J1, S0, S1 };
    auto fourFour = [&](int a, int b) { return e[a].four() && e[b].four(); };
    auto fourThree = [&](int a, int b) { return e[a].four() && e[b].openThree(); };
    auto apart = [&](int a, int b) { return e[a].line != e[b].line; };

    threats = 0;
    if (e[R0].four() || e[J0].four() || e[S0].four())
        threats |= 0x02;
    for (const Entry& x : e)
        if (x.openThree())
            threats |= 0x01;

    bool win = (e[R0].four() && e[R0].closed == 0) || fourFour(R0, R1) || fourFour(J0, J1) || fourFour(S0, S1) ||
               fourFour(J0, S0);
    for (int a : {R0, R1})
        for (int b : {J0, J1, S0, S1})
            win = win || (fourFour(a, b) && apart(a, b));
    if (win)
        threats |= 0x10;

    bool ft = fourThree(R0, R1) || fourThree(S0, S1) || (fourThree(J0, J1) && apart(J0, J1));
    for (int a : {R0, R1})
        for (int b : {J0, J1, S0, S1})
            ft = ft || (fourThree(a, b) && apart(a, b));
    for (int a : {J0, J1})
        for (int b : {R0, R1, S0, S1})
            ft = ft || (fourThree(a, b) && apart(a, b));
    for (int a : {S0, S1})
        for (int b : {R0, R1, J0, J1})
            ft = ft || (fourThree(a, b) && apart(a, b));
    if (ft)
        threats |= 0x08;

    bool tt = false;
    for (int a = 0; a < 6; ++a) {
        for (int b = a + 1; b < 6; ++b) {
            if (!e[a].openThree() || !e[b].openThree())
                continue;
            const bool samePair = (a == R0 && b == R1) || (a == S0 && b == S1);
            tt = tt || samePair || apart(a, b);
        }
    }
    if (tt)
        threats |= 0x04;
}

std::string compareWithReference(const PatternRecord& r) {
    int worth = 0, threats = 0;
    referenceWorthAndThreats(r, worth, threats);
    if (r.worth == worth && r.threats == threats)
        return "";
    return "[" + describe(r) + "] expected worth " + std::to_string(worth) + " threats " + std::to_string(threats);
}

} // namespace

// Records made up byte by byte, crowded with fours and threes on shared and
// different lines, which games rarely produce.
TEST(BoardExtensive, WorthAndThreatsFollowTheRulesOnRandomRecords) {
    std::mt19937 gen(7);
    auto below = [&gen](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    const std::uint8_t tags[4] = {LINE_TAG_X, LINE_TAG_Y, LINE_TAG_DIAG, LINE_TAG_ANTI};
    for (int round = 0; round < 200000; ++round) {
        PatternRecord r{};
        std::uint8_t lines[4] = {0, 1, 2, 3};
        std::shuffle(lines, lines + 4, gen);
        for (int i = 0; i < 3; ++i) { // runs lie on three different lines
            const int n = below(6);
            r.run[i] = n ? std::uint8_t(tags[lines[i]] | n) : 0;
            r.runClosed[i] = n ? std::uint8_t(below(3)) : 0;
        }
        for (int i = 0; i < 2; ++i) {
            const int jn = below(5) ? 2 + below(4) : 0;
            r.jump[i] = jn ? std::uint8_t(tags[below(4)] | jn) : 0;
            r.jumpClosed[i] = jn ? std::uint8_t(below(3)) : 0;
            const int sn = below(3) ? 3 + below(2) : 0;
            r.split[i] = sn ? std::uint8_t(tags[below(4)] | sn) : 0;
            r.splitClosed[i] = sn ? std::uint8_t(below(3)) : 0;
        }
        PatternRecord computed = r;
        patterns::computeWorthExtensive(computed);
        ASSERT_EQ(compareWithReference(computed), "") << "round " << round;
    }
}

TEST(BoardExtensive, WorthAndThreatsFollowTheRulesInGames) {
    std::mt19937 gen(8);
    auto below = [&gen](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    int threatFields = 0;
    for (int game = 0; game < 30; ++game) {
        CBoard b = clearedBoard(PATTERN_MODE_EXTENSIVE);
        const int spread = 3 + below(6);
        for (int move = 0; move < 60; ++move) {
            const Field f{std::uint8_t(10 + below(2 * spread + 1) - spread),
                          std::uint8_t(10 + below(2 * spread + 1) - spread)};
            if (b.cell(f) != EMPTY)
                continue;
            b.place(f, below(3) == 0 ? SIDE_X : SIDE_O); // O builds more, so threats abound
            for (int x = 1; x <= BOARD_SIZE; ++x) {
                for (int y = 1; y <= BOARD_SIZE; ++y) {
                    for (Side s : {SIDE_O, SIDE_X}) {
                        if (b.cells[x][y] != EMPTY)
                            continue;
                        const PatternRecord& r = b.pattern(x, y, s);
                        threatFields += r.threats > 1;
                        ASSERT_EQ(compareWithReference(r), "") << "field " << x << "," << y << " side " << s;
                    }
                }
            }
        }
    }
    EXPECT_GT(threatFields, 1000) << "the games should reach many threats";
}
