// The incremental pattern update and the journal checked against the slow,
// obvious truth over many seeded random games: a fresh full recomputation,
// and the board as it was before a move.
#include "BoardTestUtil.h"
#include "board/Board.h"
#include "board/Patterns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace quintrel;
using namespace quintrel::testing;

namespace {

// Random fields with a bias towards the places where walks go wrong: board
// edges and corners, and crowded clusters of both colours.
class FieldPicker {
public:
    explicit FieldPicker(unsigned seed) : gen_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen_); }

    // An empty field, or a field with x = 0 when the board is full.
    Field emptyField(const CBoard& b) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            const Field f = candidate();
            if (b.cell(f) == EMPTY)
                return f;
        }
        std::vector<Field> empty;
        for (int x = 1; x <= BOARD_SIZE; ++x)
            for (int y = 1; y <= BOARD_SIZE; ++y)
                if (b.cells[x][y] == EMPTY)
                    empty.push_back(Field{std::uint8_t(x), std::uint8_t(y)});
        return empty.empty() ? Field{} : empty[below(int(empty.size()))];
    }

    Field stone(const CBoard& b) {
        std::vector<Field> stones;
        for (int x = 1; x <= BOARD_SIZE; ++x)
            for (int y = 1; y <= BOARD_SIZE; ++y)
                if (b.cells[x][y] != EMPTY)
                    stones.push_back(Field{std::uint8_t(x), std::uint8_t(y)});
        return stones.empty() ? Field{} : stones[below(int(stones.size()))];
    }

    void newCluster() {
        cx_ = 1 + below(BOARD_SIZE);
        cy_ = 1 + below(BOARD_SIZE);
    }

private:
    Field candidate() {
        const int kind = below(10);
        int x, y;
        if (kind < 5) { // cluster: within 3 of the current centre
            x = std::clamp(cx_ + below(7) - 3, 1, BOARD_SIZE);
            y = std::clamp(cy_ + below(7) - 3, 1, BOARD_SIZE);
        } else if (kind < 8) { // edge band
            const int band[] = {1, 2, 3, 17, 18, 19};
            x = below(2) ? band[below(6)] : 1 + below(BOARD_SIZE);
            y = below(2) ? band[below(6)] : 1 + below(BOARD_SIZE);
        } else {
            x = 1 + below(BOARD_SIZE);
            y = 1 + below(BOARD_SIZE);
        }
        return Field{std::uint8_t(x), std::uint8_t(y)};
    }

    std::mt19937 gen_;
    int cx_ = 10, cy_ = 10;
};

// Compares with a full recomputation and, when asked, also with the plain
// cell walk that the pattern tables are built to agree with.
std::string checkAgainstRecompute(const CBoard& board, bool direct = true) {
    CBoard fresh = board;
    fresh.recomputePatterns();
    std::string diff = firstDifference(board, fresh);
    if (!diff.empty() || !direct)
        return diff.empty() ? "" : "recompute: " + diff;
    patterns::recomputeByDirectWalk(fresh);
    diff = firstDifference(board, fresh);
    return diff.empty() ? "" : "direct walk: " + diff;
}

int overflowReports = 0;
void countOverflow(const char*, const char*) { ++overflowReports; }

// Plays random games with stones placed and removed, comparing the whole
// board with a fresh recomputation after every change.
void playAndCompare(int mode, unsigned seed, int games, int movesPerGame) {
    FieldPicker pick(seed);
    CBoard board = clearedBoard(mode);
    for (int game = 0; game < games; ++game) {
        board.clear();
        ASSERT_EQ(checkAgainstRecompute(board), "") << "after clear, mode " << mode;
        Side side = SIDE_O;
        for (int move = 0; move < movesPerGame; ++move) {
            if (move % 15 == 0)
                pick.newCluster();
            const bool removing = move > 4 && pick.below(5) == 0;
            Field f;
            if (removing) {
                f = pick.stone(board);
                board.remove(f);
            } else {
                f = pick.emptyField(board);
                if (f.x == 0)
                    break;
                // Mostly alternating, sometimes the same side twice to build long lines.
                board.place(f, side);
                if (pick.below(6) != 0)
                    side = 1 - side;
            }
            const std::string diff = checkAgainstRecompute(board, move % 3 == 0);
            ASSERT_EQ(diff, "") << "mode " << mode << " seed " << seed << " game " << game << " move " << move
                                << (removing ? " remove " : " place ") << int(f.x) << "," << int(f.y);
        }
    }
}

// Plays random lines of trial moves with a journal attached, up to 40 deep,
// taking them back in stack order and comparing with the saved boards.
void searchAndCompare(int mode, unsigned seed, int rounds) {
    constexpr int DEPTH = 40;
    FieldPicker pick(seed);
    std::vector<MoveRecord> journal(DEPTH);
    std::vector<CBoard> before;
    before.reserve(DEPTH);
    int mostEntries = 0;
    overflowReports = 0;
    journalOverflowHandler = countOverflow;

    for (int round = 0; round < rounds; ++round) {
        // A random starting position, played without a journal.
        CBoard board = clearedBoard(mode);
        const int stones = pick.below(90);
        for (int i = 0; i < stones; ++i) {
            if (i % 12 == 0)
                pick.newCluster();
            board.place(pick.emptyField(board), i % 2);
        }
        ASSERT_TRUE(board.attachJournal(journal.data(), DEPTH));
        Side side = pick.below(2);
        for (int step = 0; step < 400; ++step) {
            const bool push = before.empty() || (int(before.size()) < DEPTH && pick.below(100) < 55);
            if (push) {
                const Field f = pick.emptyField(board);
                if (f.x == 0)
                    break;
                before.push_back(board);
                board.place(f, side);
                side = 1 - side;
                const MoveRecord& last = board.journalCurrent[-1];
                mostEntries = std::max(mostEntries, last.count);
                ASSERT_LE(last.count, MAX_FLAGS_IN_MOVE);
                ASSERT_EQ(last.entries[0].x, f.x);
                ASSERT_EQ(last.entries[1].side, 1 - last.side);
                if (step % 16 == 0) {
                    ASSERT_EQ(checkAgainstRecompute(board), "") << "journalled place, mode " << mode;
                }
            } else {
                board.takeBack();
                side = 1 - side;
                ASSERT_EQ(firstDifference(board, before.back()), "")
                    << "mode " << mode << " seed " << seed << " round " << round << " depth " << before.size();
                before.pop_back();
            }
        }
        while (!before.empty()) {
            board.takeBack();
            ASSERT_EQ(firstDifference(board, before.back()), "") << "unwinding, mode " << mode;
            before.pop_back();
        }
        ASSERT_TRUE(board.detachJournal(journal.data()));
    }
    journalOverflowHandler = nullptr;
    EXPECT_EQ(overflowReports, 0);
    EXPECT_LE(mostEntries, MAX_FLAGS_IN_MOVE);
    ::testing::Test::RecordProperty("mostJournalEntries", mostEntries);
}

} // namespace

TEST(BoardProperty, IncrementalRecordsEqualRecomputeNormalMode) {
    for (unsigned seed : {1u, 2u})
        playAndCompare(PATTERN_MODE_NORMAL, seed, 8, 150);
}

TEST(BoardProperty, IncrementalRecordsEqualRecomputeExtensiveMode) {
    for (unsigned seed : {11u, 12u})
        playAndCompare(PATTERN_MODE_EXTENSIVE, seed, 8, 150);
}

TEST(BoardProperty, TakeBackRestoresBoardNormalMode) { searchAndCompare(PATTERN_MODE_NORMAL, 21, 12); }

TEST(BoardProperty, TakeBackRestoresBoardExtensiveMode) { searchAndCompare(PATTERN_MODE_EXTENSIVE, 31, 12); }
