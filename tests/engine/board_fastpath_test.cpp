// The short cuts of the incremental update: the walk reads the board's edge
// from its line codes rather than from the border, whose value between uses
// is arbitrary, and fields whose changed line keeps its table entry are left
// as they were. Both are checked against a full recomputation, on boards
// with long rows (which the tables leave to the direct walk) and crowded
// edges.
#include "BoardTestUtil.h"
#include "board/Board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace quintrel;
using namespace quintrel::testing;

namespace {

std::string recomputeDifference(const CBoard& board) {
    CBoard fresh = board;
    fresh.recomputePatterns();
    return firstDifference(board, fresh);
}

// Random moves near one of a few long rows of one side along the edges and
// through the middle; before every change the border gets a random value.
void playWithStaleBorder(int mode, unsigned seed) {
    std::mt19937 gen(seed);
    auto below = [&gen](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    std::vector<MoveRecord> journal(8);
    for (int game = 0; game < 12; ++game) {
        CBoard board = clearedBoard(mode);
        // A row of six to eight stones: an edge row, a column or a diagonal.
        const Side rowSide = below(2);
        const int length = 6 + below(3);
        const int kind = below(3);
        const int start = 1 + below(BOARD_SIZE - length);
        const int line = below(2) ? 1 : BOARD_SIZE;
        for (int i = 0; i < length; ++i) {
            const Field f = kind == 0   ? Field{std::uint8_t(start + i), std::uint8_t(line)}
                            : kind == 1 ? Field{std::uint8_t(line), std::uint8_t(start + i)}
                                        : Field{std::uint8_t(start + i), std::uint8_t(start + i)};
            board.setBorder(below(3));
            board.place(f, rowSide);
        }
        ASSERT_EQ(recomputeDifference(board), "") << "row, mode " << mode << " game " << game;
        for (int move = 0; move < 60; ++move) {
            const int cx = std::clamp(start + below(length + 4) - 2, 1, BOARD_SIZE);
            const int cy = kind == 0 ? std::clamp(line + below(5) - 2, 1, BOARD_SIZE)
                           : kind == 1 ? std::clamp(start + below(length + 4) - 2, 1, BOARD_SIZE)
                                       : std::clamp(cx + below(5) - 2, 1, BOARD_SIZE);
            const Field f{std::uint8_t(kind == 1 ? std::clamp(line + below(5) - 2, 1, BOARD_SIZE) : cx),
                          std::uint8_t(cy)};
            board.setBorder(below(3));
            if (board.cell(f) != EMPTY) {
                if (below(3) == 0)
                    board.remove(f);
                else
                    continue;
            } else if (below(4) == 0) {
                // A journalled trial move and its take-back leave every record as it was.
                CBoard before = board;
                ASSERT_TRUE(board.attachJournal(journal.data(), 8));
                board.place(f, below(2));
                ASSERT_EQ(recomputeDifference(board), "") << "trial, mode " << mode << " game " << game;
                board.setBorder(below(3));
                board.takeBack();
                ASSERT_TRUE(board.detachJournal(journal.data()));
                ASSERT_EQ(firstDifference(board, before), "") << "take-back, mode " << mode << " game " << game;
                continue;
            } else {
                board.place(f, below(2));
            }
            ASSERT_EQ(recomputeDifference(board), "")
                << "mode " << mode << " seed " << seed << " game " << game << " move " << move << " at "
                << int(f.x) << "," << int(f.y);
        }
    }
}

} // namespace

TEST(BoardFastPaths, StaleBorderAndLongRowsNormalMode) {
    for (unsigned seed : {3u, 4u, 5u})
        playWithStaleBorder(PATTERN_MODE_NORMAL, seed);
}

TEST(BoardFastPaths, StaleBorderAndLongRowsExtensiveMode) {
    for (unsigned seed : {13u, 14u, 15u})
        playWithStaleBorder(PATTERN_MODE_EXTENSIVE, seed);
}
