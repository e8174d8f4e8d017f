// The rules of the strong engine: black's forbidden points under renju, on
// a table of positions and against a plain reading of the rule on random
// dense positions; and fives by the rule.

#include "master/Position.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace quintrel::master {
namespace {

// --- A plain reading of the renju rule, on a grid: 0 empty, 1 black, 2 white.
struct Grid {
    int n;
    std::vector<int> g;
    explicit Grid(int size) : n(size), g(static_cast<std::size_t>(size * size), 0) {}
    bool on(int x, int y) const { return x >= 0 && y >= 0 && x < n && y < n; }
    int& at(int x, int y) { return g[static_cast<std::size_t>(y * n + x)]; }
};
constexpr int DIRS[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};

int blackRun(Grid& b, int x, int y, int d) {
    int run = 1;
    for (int s = -1; s <= 1; s += 2)
        for (int k = 1; b.on(x + s * k * DIRS[d][0], y + s * k * DIRS[d][1]) &&
                        b.at(x + s * k * DIRS[d][0], y + s * k * DIRS[d][1]) == 1;
             ++k)
            ++run;
    return run;
}

// Empty points of the line where one more black stone makes exactly five with (x, y).
std::vector<int> fivePointsOnLine(Grid& b, int x, int y, int d) {
    std::vector<int> ks;
    for (int k = -5; k <= 5; ++k) {
        const int px = x + k * DIRS[d][0], py = y + k * DIRS[d][1];
        if (k == 0 || !b.on(px, py) || b.at(px, py) != 0) continue;
        b.at(px, py) = 1;
        if (blackRun(b, x, y, d) == 5) ks.push_back(k);
        b.at(px, py) = 0;
    }
    return ks;
}

bool straight(Grid& b, int x, int y, int d, const std::vector<int>& ks) {
    if (ks.size() != 2 || ks[1] - ks[0] != 5) return false;
    for (int k = ks[0] + 1; k < ks[1]; ++k)
        if (b.at(x + k * DIRS[d][0], y + k * DIRS[d][1]) != 1) return false;
    return true;
}

bool plainForbidden(Grid& b, int x, int y);

// A three: one more stone makes a straight four, at a point not forbidden itself.
bool realThree(Grid& b, int x, int y, int d) {
    for (int k = -4; k <= 4; ++k) {
        const int px = x + k * DIRS[d][0], py = y + k * DIRS[d][1];
        if (k == 0 || !b.on(px, py) || b.at(px, py) != 0) continue;
        b.at(px, py) = 1;
        const bool makesStraightFour = straight(b, x, y, d, fivePointsOnLine(b, x, y, d));
        b.at(px, py) = 0;
        if (makesStraightFour && !plainForbidden(b, px, py)) return true;
    }
    return false;
}

bool plainForbidden(Grid& b, int x, int y) {
    b.at(x, y) = 1;
    bool five = false, overline = false;
    int fours = 0, threes = 0;
    for (int d = 0; d < 4; ++d) {
        const int run = blackRun(b, x, y, d);
        five = five || run == 5;
        overline = overline || run > 5;
    }
    for (int d = 0; d < 4 && !five && !overline; ++d) {
        const auto ks = fivePointsOnLine(b, x, y, d);
        fours += straight(b, x, y, d, ks) ? 1 : static_cast<int>(ks.size());
        if (ks.empty() && realThree(b, x, y, d)) ++threes;
    }
    b.at(x, y) = 0;
    return !five && (overline || fours >= 2 || threes >= 2);
}

// --- Positions drawn as rows: '.' empty, 'x' black, 'o' white, '*' the point asked.
struct Drawn {
    master::Setup setup;
    Point asked;
};

Drawn draw(const std::vector<std::string>& rows, int size = 15) {
    Drawn d;
    d.setup.width = d.setup.height = size;
    d.setup.rule = Rule::RENJU;
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[static_cast<std::size_t>(y)].size()); ++x) {
            const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            if (c == 'x' || c == 'o') d.setup.stones.push_back({{x, y}, c == 'x' ? 0 : 1});
            if (c == '*') d.asked = {x, y};
        }
    return d;
}

TEST(RenjuFouls, TableOfPositions) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        Verdict expected;
    };
    const Case cases[] = {
        {"double three", {"", "", "", "......x", "......x", "......*xx"}, Verdict::DOUBLE_THREE},
        {"split threes", {"", "", "......x", "", "......x", ".....x*.x"}, Verdict::DOUBLE_THREE},
        {"double four across lines", {"", "", "......x", "......x", "......x", "......*xxx"}, Verdict::DOUBLE_FOUR},
        {"double four on one line", {"", "", "", "", "", "..xx.*x.xx"}, Verdict::DOUBLE_FOUR},
        {"overline", {"", "", "", "", "", "..xxx*xx"}, Verdict::OVERLINE},
        {"a blocked three is none", {"", "", "", "......x", "......x", ".....o*xx."}, Verdict::PLAY_ON},
        {"four and three", {"", "", "", "......x", "......x", "...xxx*"}, Verdict::PLAY_ON},
        {"five beside two threes", {"", "", "", "", "", "...xxxx*", ".......xx", ".......x.x"}, Verdict::WIN},
        {"five beside an overline", {"", ".......x", ".......x", ".......x", ".......x", "...xxxx*", ".......x"},
         Verdict::WIN},
        {"no three at the edge", {"", "", "", "", "", "*xx", "x", "x"}, Verdict::PLAY_ON},
        {"a three one in from the edge", {"", "", "", "", "", ".*xx", ".x", ".x"}, Verdict::DOUBLE_THREE},
        {"double four in the corner", {"*xxx", "x", "x", "x"}, Verdict::DOUBLE_FOUR},
        // The split three's only four-point is an overline point: one three.
        {"four-point forbidden", {"", "", ".....x", ".....x.x", ".....x.x", "....x.x*", ".....x", ".....x"},
         Verdict::PLAY_ON},
        // The four-point makes a four and two threes there: forbidden, so one three here.
        {"four-point forbidden by its threes",
         {"", "", "", "", "", "......x", "......x", "....xx.*", ".....x.x", "....x..x"}, Verdict::PLAY_ON},
        // Without one of those threes the four-point is free: a double three here.
        {"four-point freed", {"", "", "", "", "", "......x", "......x", "....xx.*", ".....x.x", ".......x"},
         Verdict::DOUBLE_THREE},
    };
    for (const Case& c : cases) {
        const Drawn d = draw(c.rows);
        EXPECT_EQ(judgeMove(d.setup, d.asked), c.expected) << c.name;
        Grid plain(15);
        for (const Stone& s : d.setup.stones)
            plain.at(s.at.x, s.at.y) = s.side + 1;
        EXPECT_EQ(plainForbidden(plain, d.asked.x, d.asked.y), isFoul(c.expected)) << c.name << " (plain reading)";
    }
}

// Random dense positions, most stones black, built a move at a time: the
// engine's test agrees with the plain one on a few empty points of each.
TEST(RenjuFouls, AgreeWithAPlainReadingOnRandomDensePositions) {
    constexpr int POSITIONS = 100000;
    std::mt19937 random(7);
    auto pos = std::make_unique<Position>();
    int fouls = 0, positions = 0;
    while (positions < POSITIONS) {
        const int size = 9 + static_cast<int>(random() % 7);
        master::Setup empty;
        empty.width = empty.height = size;
        empty.rule = Rule::RENJU;
        pos->setUp(empty);
        Grid plain(size);
        const int stones = size * size / 2;
        for (int i = 0; i < stones && positions < POSITIONS; ++i) {
            const int x = static_cast<int>(random() % static_cast<unsigned>(size));
            const int y = static_cast<int>(random() % static_cast<unsigned>(size));
            if (plain.at(x, y) != 0) continue;
            const int side = random() % 5 < 3 ? 0 : 1;
            if (pos->toMove() != side) pos->pass();
            pos->play(cellOf(x, y));
            plain.at(x, y) = side + 1;
            ++positions;
            for (int probe = 0; probe < 3; ++probe) {
                const int px = static_cast<int>(random() % static_cast<unsigned>(size));
                const int py = static_cast<int>(random() % static_cast<unsigned>(size));
                if (plain.at(px, py) != 0) continue;
                const bool engine = pos->forbidden(0, cellOf(px, py));
                ASSERT_EQ(engine, plainForbidden(plain, px, py)) << "position " << positions << " point " << px
                                                                 << "," << py << " size " << size;
                fouls += engine;
            }
        }
    }
    EXPECT_GT(fouls, POSITIONS / 50); // the positions do meet the rule
}

// A five by the rule: six wins only under freestyle, and for white under renju.
TEST(MasterRules, FivesByTheRule) {
    struct Case {
        Rule rule;
        int mover;
        const char* row; // the mover's stones as 'x', on row 5
        Verdict expected;
    };
    const Case cases[] = {
        {Rule::FREESTYLE, 0, ".xxx*xx", Verdict::WIN},  {Rule::STANDARD, 0, ".xxx*xx", Verdict::PLAY_ON},
        {Rule::STANDARD, 1, ".xxx*xx", Verdict::PLAY_ON}, {Rule::STANDARD, 1, "..xx*xx", Verdict::WIN},
        {Rule::RENJU, 1, ".xxx*xx", Verdict::WIN},      {Rule::RENJU, 0, ".xxx*xx", Verdict::OVERLINE},
        {Rule::RENJU, 0, "...x*xxx", Verdict::WIN},
    };
    for (const Case& c : cases) {
        Drawn d = draw({"", "", "", "", "", c.row});
        d.setup.rule = c.rule;
        d.setup.toMove = c.mover;
        for (Stone& s : d.setup.stones)
            s.side = c.mover;
        EXPECT_EQ(judgeMove(d.setup, d.asked), c.expected) << c.row << " rule " << static_cast<int>(c.rule);
    }
}

} // namespace
} // namespace quintrel::master
