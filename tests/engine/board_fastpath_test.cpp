// The short cuts of the incremental update: the walk is looked up per
// direction and reads the board's edge from its line codes rather than from
// the border, whose value between uses is arbitrary, and fields whose
// changed line keeps its table entry are left as they were. Checked against
// a plain walk over the cells for the journal and against a full
// recomputation for the records, on boards with long rows (which the tables
// leave to the direct walk) and crowded edges.
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

// The fields a journalled place() saves, in order, walked over the cells the
// plain way: the placed field for both sides, then for the mover along the
// eight directions the first free field beyond its row and the next one or
// the one after the next row, then for the other side the fields whose
// stretches P cuts.
struct Saved {
    int x, y, side;
};
std::vector<Saved> expectedJournal(const CBoard& b, int px, int py, int d, int mode) {
    const int e = 1 - d;
    std::vector<Saved> out{{px, py, d}, {px, py, e}};
    // cell k away in direction i, the edge read as `edge`.
    auto cell = [&](int i, int k, int edge) {
        const int x = px + k * DIRECTIONS[i].dx, y = py + k * DIRECTIONS[i].dy;
        if (x < 1 || x > BOARD_SIZE || y < 1 || y > BOARD_SIZE)
            return edge;
        return b.cells[x][y];
    };
    auto save = [&](int i, int k, int side) {
        out.push_back({px + k * DIRECTIONS[i].dx, py + k * DIRECTIONS[i].dy, side});
    };
    for (int i = 0; i < 8; ++i) {
        int n = 1;
        while (cell(i, n, e) == d)
            ++n;
        if (cell(i, n, e) == e)
            continue;
        save(i, n, d);
        const int beyond = cell(i, n + 1, e);
        if (beyond == EMPTY) {
            save(i, n + 1, d);
        } else if (beyond == d) {
            int m = n + 2;
            while (cell(i, m, e) == d)
                ++m;
            if (cell(i, m, e) == EMPTY)
                save(i, m, d);
        }
    }
    for (int i = 0; i < 8; ++i) {
        int k = 1;
        while (k <= 5 && cell(i, k, d) != d)
            ++k;
        if (k <= 5) {
            for (int j = 1; j < k; ++j)
                if (cell(i, j, d) == EMPTY)
                    save(i, j, e);
            continue;
        }
        int n = 1;
        while (cell(i, n, d) == e)
            ++n;
        if (cell(i, n, d) != EMPTY)
            continue;
        const int beyond = cell(i, n + 1, d);
        if (n == 1 && mode == PATTERN_MODE_EXTENSIVE && cell(i, 6, d) == d && cell(i, 5, d) == EMPTY) {
            // A three of e bounded by d six fields away: its free field's runs.
            int free = 0, own = 0;
            for (int j = 2; j <= 4; ++j) {
                const int v = cell(i, j, d);
                free = v == EMPTY ? j : free;
                own += v == e;
            }
            if (own == 2 && free != 0)
                save(i, free, e);
        }
        save(i, n, e);
        if (n == 1)
            continue;
        if (beyond == EMPTY) {
            save(i, n + 1, e);
        } else if (beyond == e) {
            int m = n + 2;
            while (cell(i, m, d) == e)
                ++m;
            if (cell(i, m, d) == EMPTY)
                save(i, m, e);
        }
    }
    return out;
}

// Random crowded positions: every journalled place saves exactly the
// expected fields in the expected order, each with its record from before.
void checkJournalOrder(int mode, unsigned seed) {
    std::mt19937 gen(seed);
    auto below = [&gen](int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen); };
    std::vector<MoveRecord> journal(2);
    for (int game = 0; game < 40; ++game) {
        CBoard board = clearedBoard(mode);
        const int cx = 1 + below(BOARD_SIZE), cy = 1 + below(BOARD_SIZE);
        for (int move = 0; move < 70; ++move) {
            const Field f{std::uint8_t(std::clamp(cx + below(9) - 4, 1, BOARD_SIZE)),
                          std::uint8_t(std::clamp(cy + below(9) - 4, 1, BOARD_SIZE))};
            if (board.cell(f) != EMPTY)
                continue;
            const Side side = below(2);
            const CBoard before = board;
            const std::vector<Saved> expected = expectedJournal(board, f.x, f.y, side, mode);
            ASSERT_TRUE(board.attachJournal(journal.data(), 2));
            board.place(f, side);
            const MoveRecord& m = journal[0];
            ASSERT_EQ(m.count, int(expected.size())) << "mode " << mode << " game " << game << " move " << move;
            for (int i = 0; i < m.count; ++i) {
                const JournalEntry& entry = m.entries[i];
                const Saved& want = expected[std::size_t(i)];
                ASSERT_TRUE(entry.x == want.x && entry.y == want.y && entry.side == want.side)
                    << "entry " << i << ": (" << entry.x << "," << entry.y << ") side " << entry.side << ", expected ("
                    << want.x << "," << want.y << ") side " << want.side << "; mode " << mode << " game " << game;
                ASSERT_TRUE(entry.record == before.patterns[want.x][want.y][want.side]) << "entry " << i;
            }
            // Keep the move: the game goes on without a journal.
            board.journalCurrent = board.journalBase;
            ASSERT_TRUE(board.detachJournal(journal.data()));
        }
    }
}

} // namespace

TEST(BoardFastPaths, JournalHoldsTheWalkedFieldsInOrder) {
    checkJournalOrder(PATTERN_MODE_NORMAL, 7);
    checkJournalOrder(PATTERN_MODE_EXTENSIVE, 17);
}

TEST(BoardFastPaths, StaleBorderAndLongRowsNormalMode) {
    for (unsigned seed : {3u, 4u, 5u})
        playWithStaleBorder(PATTERN_MODE_NORMAL, seed);
}

TEST(BoardFastPaths, StaleBorderAndLongRowsExtensiveMode) {
    for (unsigned seed : {13u, 14u, 15u})
        playWithStaleBorder(PATTERN_MODE_EXTENSIVE, seed);
}
