// The strong engine's own board: after every move and every undo of random
// games, its incremental state equals a fresh set-up from the same stones;
// and its line classes agree with the shapes they name.

#include "master/Position.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

namespace quintrel::master {
namespace {

// Under every rule and on boards from the smallest to the largest, the
// incremental state equals a fresh set-up after every move and undo.
TEST(MasterBoard, IncrementalStateEqualsAFreshSetUpOnEveryBoardAndRule) {
    auto pos = std::make_unique<Position>();
    auto fresh = std::make_unique<Position>();
    std::mt19937 random(3);
    for (Rule rule : {Rule::FREESTYLE, Rule::STANDARD, Rule::RENJU})
        for (int size : {5, 15, 19, 22}) {
            master::Setup setup;
            setup.width = setup.height = size;
            setup.rule = rule;
            pos->setUp(setup);
            const int moves = size * size * 2 / 3;
            while (static_cast<int>(setup.stones.size()) < moves) {
                const Point p{static_cast<int>(random() % static_cast<unsigned>(size)),
                              static_cast<int>(random() % static_cast<unsigned>(size))};
                if (!pos->empty(cellOf(p.x, p.y))) continue;
                setup.stones.push_back({p, pos->toMove()});
                pos->play(cellOf(p.x, p.y));
                setup.toMove = pos->toMove();
                fresh->setUp(setup);
                ASSERT_TRUE(pos->sameState(*fresh)) << static_cast<int>(rule) << " " << size << " after "
                                                    << setup.stones.size();
            }
            for (int i = 0; i < moves / 2; ++i) {
                pos->undo();
                setup.stones.pop_back();
                setup.toMove = pos->toMove();
                fresh->setUp(setup);
                ASSERT_TRUE(pos->sameState(*fresh)) << static_cast<int>(rule) << " " << size << " undoing";
            }
        }
}

// Lines around a stone placed at the middle ('*'), for O: nine cells
// under freestyle, eleven under standard, where a six is no win.
TEST(MasterBoard, LineClassesNameTheirShapes) {
    struct Case {
        Rule rule;
        const char* line;
        LinePattern expected;
    };
    const Case cases[] = {
        {Rule::FREESTYLE, "..OO*OO..", FIVE}, {Rule::FREESTYLE, "XOOO*OOOX", FIVE},
        {Rule::FREESTYLE, "..OO*O...", F4},   {Rule::FREESTYLE, "..._*OOO_", F4},
        {Rule::FREESTYLE, "..XO*OO_.", B4},   {Rule::FREESTYLE, "..O_*_O..", B3},
        {Rule::FREESTYLE, ".._O*O_..", F3},   {Rule::FREESTYLE, "O_O_*_O_O", F3},
        {Rule::FREESTYLE, "...._*O_.", F2},   {Rule::FREESTYLE, "..XO*_O..", B3},
        {Rule::FREESTYLE, "._..*..._", F1},   {Rule::FREESTYLE, "...X*OOX.", DEAD},
        {Rule::STANDARD, "...OO*OO...", FIVE}, {Rule::STANDARD, "..OOO*OO...", DEAD},
        {Rule::STANDARD, "..O.O*OO...", B4},   {Rule::STANDARD, "O..OO*O...O", F4},
        {Rule::STANDARD, "O.O.O*.....", B3},
    };
    for (const Case& c : cases) {
        const int half = static_cast<int>(std::strlen(c.line)) / 2;
        std::uint32_t code = 0;
        for (int k = -half; k <= half; ++k) {
            if (k == 0) continue;
            const char ch = c.line[k + half];
            const std::uint32_t v = ch == 'O' ? 1 : ch == 'X' ? 2 : 0;
            code |= v << (2 * slotOf(k));
        }
        const RuleTables& t = tablesFor(c.rule);
        EXPECT_EQ(t.pattern[0][code & t.mask[0]], c.expected) << c.line;
    }
}

} // namespace
} // namespace quintrel::master
