// The Master search's own board: after every move and every undo of random
// games, its incremental state equals a fresh set-up from the same stones;
// and its line classes agree with the shapes they name.

#include "board/Board.h"
#include "board/Random.h"
#include "search/MasterBoard.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quintrel::master {
namespace {

TEST(MasterBoard, IncrementalStateEqualsAFreshSetUp) {
    auto pos = std::make_unique<Position>();
    auto fresh = std::make_unique<Position>();
    for (std::uint32_t game = 1; game <= 12; ++game) {
        rng::seed(game);
        CBoard board;
        board.clear();
        pos->setUp(board, SIDE_O);
        std::vector<Field> played;
        // Games that fill up a corner reach the border; the rest stay central.
        const int spread = game % 3 == 0 ? 19 : 12;
        while (played.size() < 100) {
            const Field f{static_cast<std::uint8_t>(1 + rng::next() % spread),
                          static_cast<std::uint8_t>(1 + rng::next() % spread)};
            if (!board.isEmpty(f)) continue;
            board.place(f, pos->toMove());
            pos->play(cellOf(f.x, f.y));
            played.push_back(f);
            fresh->setUp(board, pos->toMove());
            ASSERT_TRUE(pos->sameState(*fresh)) << "game " << game << " after move " << played.size();
        }
        // Undo half of it again.
        for (int i = 0; i < 50; ++i) {
            pos->undo();
            board.remove(played.back());
            played.pop_back();
            fresh->setUp(board, pos->toMove());
            ASSERT_TRUE(pos->sameState(*fresh)) << "game " << game << " undoing to " << played.size();
        }
    }
}

// Lines of nine cells around a stone placed at the middle ('*'), for O.
TEST(MasterBoard, LineClassesNameTheirShapes) {
    struct Case {
        const char* line;
        LinePattern expected;
    };
    const Case cases[] = {
        {"..OO*OO..", FIVE}, {"XOOO*OOOX", FIVE}, {"..OO*O...", F4},   {"..._*OOO_", F4},
        {"..XO*OO_.", B4},   {"..O_*_O..", B3},   {".._O*O_..", F3},   {"O_O_*_O_O", F3},
        {"...._*O_.", F2},   {"..XO*_O..", B3},   {"._..*..._", F1},   {"...X*OOX.", DEAD},
    };
    for (const Case& c : cases) {
        std::uint16_t code = 0;
        for (int k = -4; k <= 4; ++k) {
            if (k == 0) continue;
            const char ch = c.line[k + 4];
            const int v = ch == 'O' ? 1 : ch == 'X' ? 2 : 0;
            const int slot = k < 0 ? -k - 1 : 3 + k;
            code = static_cast<std::uint16_t>(code | (v << (2 * slot)));
        }
        EXPECT_EQ(linePattern(SIDE_O, code), c.expected) << c.line;
    }
}

} // namespace
} // namespace quintrel::master
