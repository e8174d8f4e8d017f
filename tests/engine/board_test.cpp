// The board's rules, records and journal on hand-made positions.
#include "BoardTestUtil.h"
#include "board/Board.h"

#include <gtest/gtest.h>

#include <vector>

using namespace quintrel;
using namespace quintrel::testing;

namespace {

Field at(int x, int y) { return Field{std::uint8_t(x), std::uint8_t(y)}; }

void placeAll(CBoard& b, Side s, std::initializer_list<Field> fields) {
    for (Field f : fields)
        b.place(f, s);
}

FieldRect rect(int minX, int minY, int maxX, int maxY) { return FieldRect{minX, minY, maxX, maxY}; }

std::string recomputeDiff(const CBoard& b) {
    CBoard fresh = b;
    fresh.recomputePatterns();
    return firstDifference(b, fresh);
}

} // namespace

TEST(Board, FreshAndClearedBoardIsEmpty) {
    CBoard b = clearedBoard();
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            ASSERT_EQ(b.cell(x, y), EMPTY);
    EXPECT_EQ(b.region[SIDE_O], FieldRect::emptyRect());
    EXPECT_EQ(b.region[SIDE_X], FieldRect::emptyRect());
    EXPECT_EQ(b.stoneBounds, FieldRect::emptyRect());
    int ends[4] = {9, 9, 9, 9};
    EXPECT_FALSE(b.findFive(SIDE_O, ends));
    EXPECT_FALSE(b.findFive(SIDE_X, ends));
    EXPECT_EQ(ends[0] + ends[1] + ends[2] + ends[3], 0);
    EXPECT_FALSE(b.noFivePossible());
    EXPECT_EQ(b.journalBase, nullptr);

    // Clearing a played board gives the same records as a fresh one.
    placeAll(b, SIDE_O, {at(10, 10), at(1, 1), at(19, 5)});
    placeAll(b, SIDE_X, {at(11, 10), at(3, 18)});
    b.clear();
    EXPECT_EQ(firstDifference(b, clearedBoard()), "");
}

TEST(Board, EmptyBoardRecordsMatchFullComputation) {
    CBoard b = clearedBoard();
    for (Side s : {SIDE_O, SIDE_X}) {
        EXPECT_EQ(b.pattern(10, 10, s).worth, 1);
        EXPECT_EQ(b.pattern(1, 10, s).worth, 1);
        EXPECT_EQ(b.pattern(10, 19, s).worth, 1);
        for (Field corner : {at(1, 1), at(1, 19), at(19, 1), at(19, 19)})
            EXPECT_EQ(b.pattern(corner, s).worth, 0);
        const PatternRecord& edge = b.pattern(1, 7, s);
        EXPECT_EQ(edge.runClosed[0], 0);
        EXPECT_EQ(edge.runClosed[1], 1);
        EXPECT_EQ(edge.runClosed[2], 1);
    }
    EXPECT_EQ(recomputeDiff(b), "");

    // The extensive records of an empty board carry line tags, worth 0, no threats.
    CBoard e = clearedBoard(PATTERN_MODE_EXTENSIVE);
    e.clear();
    EXPECT_EQ(recomputeDiff(e), "");
    for (int x = 1; x <= BOARD_SIZE; ++x) {
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            ASSERT_EQ(e.pattern(x, y, SIDE_O).worth, 0);
            ASSERT_EQ(e.pattern(x, y, SIDE_X).threats, 0);
        }
    }
    EXPECT_EQ(e.pattern(10, 10, SIDE_O).run[0], LINE_TAG_X | 1);
}

TEST(Board, FindFiveReportsTheEndsOfFiveStones) {
    CBoard b = clearedBoard();
    placeAll(b, SIDE_X, {at(3, 10), at(4, 10), at(5, 10), at(6, 10), at(7, 10)});
    int ends[4];
    ASSERT_TRUE(b.findFive(SIDE_X, ends));
    EXPECT_EQ(std::vector<int>(ends, ends + 4), (std::vector<int>{7, 10, 3, 10}));
    EXPECT_FALSE(b.findFive(SIDE_O, ends));

    // Six in a row wins too; the ends span exactly five stones.
    b.place(at(8, 10), SIDE_X);
    ASSERT_TRUE(b.findFive(SIDE_X, ends));
    EXPECT_EQ(std::vector<int>(ends, ends + 4), (std::vector<int>{7, 10, 3, 10}));

    // At the edge: four touching it are no five, the fifth makes one.
    CBoard e = clearedBoard();
    placeAll(e, SIDE_O, {at(16, 4), at(17, 4), at(18, 4), at(19, 4)});
    EXPECT_FALSE(e.findFive(SIDE_O, ends));
    e.place(at(15, 4), SIDE_O);
    ASSERT_TRUE(e.findFive(SIDE_O, ends));
    EXPECT_EQ(std::vector<int>(ends, ends + 4), (std::vector<int>{19, 4, 15, 4}));

    // Diagonal: walked first towards (-1, -1).
    CBoard d = clearedBoard();
    placeAll(d, SIDE_O, {at(2, 2), at(3, 3), at(4, 4), at(5, 5), at(6, 6)});
    ASSERT_TRUE(d.findFive(SIDE_O, ends));
    EXPECT_EQ(std::vector<int>(ends, ends + 4), (std::vector<int>{2, 2, 6, 6}));

    // Anti-diagonal reaching the corner (1, 19).
    CBoard a = clearedBoard();
    placeAll(a, SIDE_X, {at(1, 19), at(2, 18), at(3, 17), at(4, 16), at(5, 15)});
    ASSERT_TRUE(a.findFive(SIDE_X, ends));
    EXPECT_EQ(std::vector<int>(ends, ends + 4), (std::vector<int>{5, 15, 1, 19}));
}

TEST(Board, RegionsGrowOnPlaceAndShrinkOnRemove) {
    CBoard b = clearedBoard();
    b.place(at(1, 1), SIDE_O);
    EXPECT_EQ(b.region[SIDE_O], rect(1, 1, 3, 3));
    EXPECT_EQ(b.region[SIDE_X], FieldRect::emptyRect());

    CBoard c = clearedBoard();
    c.place(at(10, 10), SIDE_X);
    EXPECT_EQ(c.region[SIDE_X], rect(8, 8, 12, 12));
    c.place(at(12, 15), SIDE_X);
    EXPECT_EQ(c.region[SIDE_X], rect(8, 8, 14, 17));
    EXPECT_EQ(c.stoneBounds, rect(10, 10, 12, 15));
    c.place(at(19, 19), SIDE_O);
    EXPECT_EQ(c.region[SIDE_O], rect(17, 17, 19, 19));
    EXPECT_EQ(c.stoneBounds, rect(10, 10, 19, 19));

    c.remove(at(19, 19));
    EXPECT_EQ(c.region[SIDE_O], FieldRect::emptyRect());
    EXPECT_EQ(c.stoneBounds, rect(10, 10, 12, 15));
    c.remove(at(10, 10));
    EXPECT_EQ(c.region[SIDE_X], rect(10, 13, 14, 17));
    EXPECT_EQ(c.stoneBounds, rect(12, 15, 12, 15));
    c.remove(at(12, 15));
    EXPECT_EQ(c.stoneBounds, FieldRect::emptyRect());
    c.remove(at(12, 15)); // nothing there any more: ignored
    c.remove(at(0, 3));
    EXPECT_EQ(firstDifference(c, clearedBoard()), "");
}

TEST(Board, NeighbourhoodTests) {
    CBoard b = clearedBoard();
    EXPECT_TRUE(b.isIsolated(1, 1));
    EXPECT_TRUE(b.isQuietSquare(1, 1));
    b.place(at(3, 3), SIDE_O); // distance 2 on the diagonal
    EXPECT_FALSE(b.isIsolated(1, 1));
    EXPECT_FALSE(b.isQuietSquare(1, 1));

    CBoard k = clearedBoard();
    k.place(at(12, 11), SIDE_X); // a knight's move from (10, 10)
    EXPECT_TRUE(k.isIsolated(10, 10));
    EXPECT_FALSE(k.isQuietSquare(10, 10));
    EXPECT_TRUE(k.isQuietSquare(10, 7));
    EXPECT_FALSE(k.isIsolated(12, 13));
}

TEST(Board, NoFivePossibleOnlyWhenEveryLineIsDead) {
    // Pairs along x, alternation along y: no line of five anywhere.
    CBoard b = clearedBoard();
    for (int x = 1; x < BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            b.place(at(x, y), (x / 2 + y) % 2);
    EXPECT_FALSE(b.noFivePossible()) << "the empty last column still has room for five";
    for (int y = 1; y <= BOARD_SIZE; ++y)
        b.place(at(BOARD_SIZE, y), (BOARD_SIZE / 2 + y) % 2);
    EXPECT_TRUE(b.noFivePossible());
    int ends[4];
    EXPECT_FALSE(b.findFive(SIDE_O, ends));
    EXPECT_FALSE(b.findFive(SIDE_X, ends));
}

TEST(Board, SetPatternModeOnlyActsOnAChange) {
    CBoard b = clearedBoard();
    b.place(at(10, 10), SIDE_O);
    b.patterns[5][5][SIDE_O].worth = 77; // a marker that a recomputation would erase
    b.setPatternMode(PATTERN_MODE_NORMAL);
    EXPECT_EQ(b.pattern(5, 5, SIDE_O).worth, 77);
    b.setPatternMode(PATTERN_MODE_EXTENSIVE);
    EXPECT_EQ(b.patternMode, PATTERN_MODE_EXTENSIVE);
    EXPECT_EQ(b.pattern(5, 5, SIDE_O).worth, 0);
    b.setPatternMode(PATTERN_MODE_NORMAL);
    EXPECT_EQ(b.pattern(5, 5, SIDE_O).worth, 1);
    EXPECT_EQ(b.pattern(11, 11, SIDE_O).threats, 0);
}

TEST(BoardPatterns, WorthAroundOneStone) {
    CBoard b = clearedBoard();
    b.place(at(10, 10), SIDE_O);
    const PatternRecord& next = b.pattern(11, 10, SIDE_O);
    EXPECT_EQ(describe(next), "2 1 1 0 0 0 0 0 0 0 0 0 0 0 3 0");
    const PatternRecord& two = b.pattern(12, 10, SIDE_O);
    EXPECT_EQ(describe(two), "1 1 1 0 0 0 1 0 0 0 0 0 0 0 2 0");
    EXPECT_EQ(b.pattern(12, 11, SIDE_O).worth, 1);
    for (Field f : {at(9, 9), at(10, 9), at(11, 11), at(9, 11)})
        EXPECT_EQ(b.pattern(f, SIDE_O).worth, 3);
    for (Field f : {at(11, 10), at(9, 9), at(10, 11)})
        EXPECT_EQ(b.pattern(f, SIDE_X).worth, 1);
    EXPECT_EQ(b.pattern(10, 10, SIDE_O), PatternRecord{});
    EXPECT_EQ(b.pattern(10, 10, SIDE_X), PatternRecord{});
}

TEST(BoardPatterns, RunsJumpsAndSplits) {
    // O _ O: a run of three through the gap, splits from both outer fields.
    CBoard b = clearedBoard();
    placeAll(b, SIDE_O, {at(5, 5), at(7, 5)});
    const PatternRecord& middle = b.pattern(6, 5, SIDE_O);
    EXPECT_EQ(middle.run[0], 3);
    EXPECT_EQ(middle.runClosed[0], 0);
    for (Field f : {at(8, 5), at(4, 5)}) {
        EXPECT_EQ(b.pattern(f, SIDE_O).split[0], 2) << int(f.x);
        EXPECT_EQ(b.pattern(f, SIDE_O).splitClosed[0], 0);
        EXPECT_EQ(b.pattern(f, SIDE_O).jump[0], 0);
    }
    // F X X _ X: size 3, with the near end closed by the border.
    CBoard e = clearedBoard();
    placeAll(e, SIDE_X, {at(2, 9), at(3, 9), at(5, 9)});
    EXPECT_EQ(e.pattern(1, 9, SIDE_X).split[0], 3);
    EXPECT_EQ(e.pattern(1, 9, SIDE_X).splitClosed[0], 1);
    EXPECT_EQ(recomputeDiff(e), "");
}

TEST(BoardPatterns, DeadLinesAndDeadFields) {
    // (10, 10) boxed in by X at distance 2 on all eight rays: no line has room for five.
    CBoard b = clearedBoard();
    for (const Direction& d : DIRECTIONS)
        b.place(at(10 + 2 * d.dx, 10 + 2 * d.dy), SIDE_X);
    const PatternRecord& dead = b.pattern(10, 10, SIDE_O);
    EXPECT_EQ(describe(dead), "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");

    // On the edge field (1, 4) the anti-diagonal has 4 fields, and X at (2, 5)
    // cuts the diagonal: two live lines, the y-line first (open), then the
    // x-line (closed by the border), then a dead line written as 0, 0.
    CBoard c = clearedBoard();
    c.place(at(2, 5), SIDE_X);
    EXPECT_EQ(describe(c.pattern(1, 4, SIDE_O)), "1 1 0 0 1 0 0 0 0 0 0 0 0 0 1 0");
    EXPECT_EQ(recomputeDiff(c), "");
}

TEST(BoardPatterns, ExtensiveThreatBits) {
    CBoard b = clearedBoard(PATTERN_MODE_EXTENSIVE);
    placeAll(b, SIDE_O, {at(5, 10), at(6, 10), at(7, 10)});
    const PatternRecord& four = b.pattern(8, 10, SIDE_O);
    EXPECT_EQ(four.run[0], LINE_TAG_X | 4);
    EXPECT_EQ(four.runClosed[0], 0);
    EXPECT_EQ(four.threats & (THREAT_FOUR | THREAT_WINNING), THREAT_FOUR | THREAT_WINNING);

    // An open three squeezed into a stretch of exactly five can only become a closed four.
    CBoard s = clearedBoard(PATTERN_MODE_EXTENSIVE);
    placeAll(s, SIDE_X, {at(3, 4), at(9, 4)});
    placeAll(s, SIDE_O, {at(5, 4), at(7, 4)});
    const PatternRecord& squeezed = s.pattern(6, 4, SIDE_O);
    EXPECT_EQ(squeezed.run[0], LINE_TAG_X | 3);
    EXPECT_EQ(squeezed.runClosed[0], 1);
    EXPECT_EQ(squeezed.threats & THREAT_OPEN_THREE, 0);

    // A four on the x-line and an open three on the y-line.
    CBoard t = clearedBoard(PATTERN_MODE_EXTENSIVE);
    placeAll(t, SIDE_O, {at(7, 10), at(8, 10), at(9, 10), at(10, 11), at(10, 12)});
    t.place(at(6, 10), SIDE_X);
    const PatternRecord& both = t.pattern(10, 10, SIDE_O);
    EXPECT_EQ(both.threats & (THREAT_FOUR_THREE | THREAT_FOUR | THREAT_OPEN_THREE),
              THREAT_FOUR_THREE | THREAT_FOUR | THREAT_OPEN_THREE);
    EXPECT_EQ(both.threats & THREAT_WINNING, 0) << "a closed four alone does not win";
    EXPECT_EQ(recomputeDiff(t), "");
}

// The stretch between a new stone and the next blocker six fields away is
// exactly five: the open three inside it changes although the update walk
// proper does not reach its field.
TEST(BoardPatterns, BoundedThreeFollowsAStoneSixFieldsAway) {
    CBoard b = clearedBoard(PATTERN_MODE_EXTENSIVE);
    placeAll(b, SIDE_O, {at(7, 10), at(8, 10)});
    b.place(at(10, 10), SIDE_X);
    EXPECT_EQ(b.pattern(6, 10, SIDE_O).runClosed[0], 0);
    EXPECT_NE(b.pattern(6, 10, SIDE_O).threats & THREAT_OPEN_THREE, 0);
    b.place(at(4, 10), SIDE_X); // P _ F O O _ X
    EXPECT_EQ(b.pattern(6, 10, SIDE_O).run[0], LINE_TAG_X | 3);
    EXPECT_EQ(b.pattern(6, 10, SIDE_O).runClosed[0], 1);
    EXPECT_EQ(recomputeDiff(b), "");
    b.remove(at(4, 10));
    EXPECT_EQ(b.pattern(6, 10, SIDE_O).runClosed[0], 0);
    EXPECT_EQ(recomputeDiff(b), "");
}

TEST(BoardJournal, AttachDetachAndRecording) {
    std::vector<MoveRecord> journal(3), other(3);
    CBoard b = clearedBoard();
    b.place(at(4, 4), SIDE_O);
    EXPECT_EQ(b.journalBase, nullptr) << "no journal, no recording";
    EXPECT_EQ(b.journalCurrent, nullptr);

    EXPECT_FALSE(b.attachJournal(nullptr, 3));
    EXPECT_FALSE(b.attachJournal(journal.data(), 0));
    ASSERT_TRUE(b.attachJournal(journal.data(), 3));
    EXPECT_FALSE(b.attachJournal(other.data(), 3));
    EXPECT_EQ(b.journalBase, journal.data());
    const CBoard start = b;
    b.place(at(10, 10), SIDE_X);
    b.place(at(1, 1), SIDE_O);
    b.place(at(11, 10), SIDE_X);
    EXPECT_EQ(b.journalDepth(), 3);
    const MoveRecord& open = journal[0];
    const MoveRecord& corner = journal[1];
    EXPECT_EQ(open.side, SIDE_X);
    EXPECT_EQ(open.entries[0].x, 10);
    EXPECT_EQ(open.entries[0].side, SIDE_X);
    EXPECT_EQ(open.entries[1].side, SIDE_O);
    EXPECT_EQ(open.oldRegion, FieldRect::emptyRect());
    EXPECT_LT(corner.count, open.count) << "the corner touches fewer records";
    for (int i = 0; i < 3; ++i)
        b.takeBack();
    EXPECT_EQ(firstDifference(b, start), "");
    EXPECT_FALSE(b.detachJournal(other.data()));
    EXPECT_TRUE(b.detachJournal(journal.data()));
    EXPECT_EQ(b.journalCurrent, nullptr);
}

namespace {
int overflowCalls = 0;
std::string overflowText;
void recordOverflow(const char* text, const char* caption) {
    ++overflowCalls;
    overflowText = std::string(text) + " / " + caption;
}
} // namespace

TEST(BoardJournal, OverflowIsReportedAndTheMoveCompletes) {
    std::vector<MoveRecord> journal(2);
    CBoard b = clearedBoard();
    placeAll(b, SIDE_O, {at(9, 10), at(11, 10), at(10, 9)});
    ASSERT_TRUE(b.attachJournal(journal.data(), 2));
    journalOverflowHandler = recordOverflow;
    journal[0].count = MAX_FLAGS_IN_MOVE - 3; // pretend the move is nearly full already
    b.place(at(10, 10), SIDE_O);
    journalOverflowHandler = nullptr;
    EXPECT_GT(overflowCalls, 0);
    EXPECT_EQ(overflowText, "Increase the MAX_FLAGS_IN_MOVE !!! / Internal test failed");
    EXPECT_EQ(journal[0].count, MAX_FLAGS_IN_MOVE);
    EXPECT_EQ(b.cell(10, 10), SIDE_O);
    EXPECT_EQ(recomputeDiff(b), "") << "the records are complete even when the journal is not";
}
