#include "board/Board.h"
#include "board/BoardQueries.h"
#include "board/FieldList.h"
#include "board/Random.h"

#include <gtest/gtest.h>

#include <vector>

namespace quintrel {
namespace {

Field at(int x, int y) { return Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; }

std::vector<Field> fieldsOf(const FieldList& list) { return std::vector<Field>(list.fields, list.fields + list.count); }

class QueryTest : public ::testing::Test {
protected:
    void SetUp() override { board.clear(); }
    void play(Side s, std::initializer_list<Field> fields) {
        for (Field f : fields)
            board.place(f, s);
    }
    const PatternRecord& recordO(int x, int y) const { return board.pattern(x, y, SIDE_O); }
    CBoard board;
    FieldList list;
};

// On a fresh board both regions are empty, so nothing is found anywhere.
TEST_F(QueryTest, EmptyBoardFindsNothing) {
    for (int mode : {0, 1}) {
        board.setPatternMode(mode);
        for (Side s : {SIDE_O, SIDE_X}) {
            list.append(at(1, 1));
            EXPECT_EQ(listBestWorthFields(board, s, list), 0);
            EXPECT_EQ(list.count, 0);
            EXPECT_FALSE(listFiveFields(board, s, list));
            EXPECT_FALSE(listOpenFourFields(board, s, list));
            EXPECT_FALSE(listDoubleThreatFields(board, s, list));
            EXPECT_FALSE(listComboThreatFields(board, s, list));
            EXPECT_FALSE(listAttackFields(board, s, list));
            EXPECT_EQ(threatCount(board, s), 0);
            for (int bit : {0x10, 0x08, 0x04, 0x02, 0x01})
                EXPECT_FALSE(listThreatClass(board, bit, s, list));
        }
    }
}

TEST_F(QueryTest, BestWorthListsTheNeighboursOfALoneStoneInScanOrder) {
    play(SIDE_O, {at(10, 10)});
    list.side = SIDE_O;
    EXPECT_EQ(listBestWorthFields(board, SIDE_O, list), 3);
    const std::vector<Field> expected = {at(9, 9),  at(9, 10),  at(9, 11),  at(10, 9),
                                         at(10, 11), at(11, 9), at(11, 10), at(11, 11)};
    EXPECT_EQ(fieldsOf(list), expected);
    EXPECT_EQ(list.side, SIDE_O);
    // X has no stone, so its region is empty even though its records are set.
    EXPECT_EQ(listBestWorthFields(board, SIDE_X, list), 0);
    EXPECT_EQ(list.count, 0);
}

TEST_F(QueryTest, FiveAndOpenFourFields) {
    play(SIDE_O, {at(5, 10), at(6, 10), at(7, 10), at(8, 10)});
    EXPECT_TRUE(listFiveFields(board, SIDE_O, list));
    EXPECT_EQ(fieldsOf(list), (std::vector<Field>{at(4, 10), at(9, 10)}));
    EXPECT_FALSE(listFiveFields(board, SIDE_X, list));
    play(SIDE_X, {at(9, 10)});
    EXPECT_TRUE(listFiveFields(board, SIDE_O, list));
    EXPECT_EQ(fieldsOf(list), (std::vector<Field>{at(4, 10)}));

    board.clear();
    play(SIDE_O, {at(6, 10), at(7, 10), at(8, 10)});
    EXPECT_TRUE(listOpenFourFields(board, SIDE_O, list));
    EXPECT_EQ(fieldsOf(list), (std::vector<Field>{at(5, 10), at(9, 10)}));
    EXPECT_TRUE(listAttackFields(board, SIDE_O, list));
    EXPECT_TRUE(contains(list, at(5, 10)));
    play(SIDE_X, {at(5, 10)});
    EXPECT_FALSE(listOpenFourFields(board, SIDE_O, list));
    EXPECT_EQ(list.count, 0);
}

TEST_F(QueryTest, DoubleAndComboThreatFields) {
    // Two open twos crossing at (10, 10): playing there makes two open threes.
    play(SIDE_O, {at(8, 10), at(9, 10), at(10, 8), at(10, 9)});
    EXPECT_TRUE(listDoubleThreatFields(board, SIDE_O, list));
    EXPECT_TRUE(contains(list, at(10, 10)));
    EXPECT_FALSE(contains(list, at(7, 10)));  // one open three only
    EXPECT_FALSE(listDoubleThreatFields(board, SIDE_X, list));

    // An open three on the y-line through (10, 7), and on the x-line first a
    // lone stone across a gap, then two: only the second is a combo.
    board.clear();
    play(SIDE_O, {at(10, 5), at(10, 6), at(12, 7)});
    ASSERT_EQ(recordO(10, 7).run[0], 3);
    ASSERT_EQ(recordO(10, 7).jump[0], 1);
    listComboThreatFields(board, SIDE_O, list);
    EXPECT_FALSE(contains(list, at(10, 7)));
    play(SIDE_O, {at(13, 7)});
    ASSERT_TRUE(listComboThreatFields(board, SIDE_O, list));
    EXPECT_TRUE(contains(list, at(10, 7)));
}

TEST_F(QueryTest, ThreatCountCountsOpenThreesAndFoursInBothModes) {
    // _ _ _ O O _ _ _ : two run fields and two jump fields each make an open three.
    play(SIDE_O, {at(9, 10), at(10, 10)});
    EXPECT_EQ(threatCount(board, SIDE_O), 4);
    EXPECT_EQ(threatCount(board, SIDE_X), 0);
    board.setPatternMode(1);
    EXPECT_EQ(threatCount(board, SIDE_O), 4);
    // X takes the jump field at (7, 10) and closes the three made at (8, 10).
    play(SIDE_X, {at(7, 10)});
    EXPECT_EQ(threatCount(board, SIDE_O), 2);
}

class ThreatTest : public QueryTest {
protected:
    void SetUp() override {
        board.clear();
        board.setPatternMode(1);
    }
};

TEST_F(ThreatTest, OpenFourAndPlainFourBits) {
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y)
            for (Side s : {SIDE_O, SIDE_X}) {
                ASSERT_EQ(board.pattern(x, y, s).worth, 0);
                ASSERT_EQ(board.pattern(x, y, s).threats, 0);
            }

    play(SIDE_O, {at(5, 10), at(6, 10), at(7, 10)});
    const PatternRecord& p = recordO(8, 10);
    EXPECT_EQ(p.run[0], 0x40 | 4);
    EXPECT_EQ(p.runClosed[0], 0);
    EXPECT_EQ(p.threats & 0x12, 0x12);

    ASSERT_TRUE(listThreatClass(board, 0x10, SIDE_O, list));
    EXPECT_EQ(fieldsOf(list), (std::vector<Field>{at(4, 10), at(8, 10)}));
    // O _ O O O and O O O _ O are fours, but only closed ones.
    ASSERT_TRUE(listThreatClass(board, 0x02, SIDE_O, list));
    EXPECT_EQ(fieldsOf(list), (std::vector<Field>{at(3, 10), at(4, 10), at(8, 10), at(9, 10)}));
    EXPECT_FALSE(listThreatClass(board, 0x04, SIDE_O, list));
    EXPECT_FALSE(listThreatClass(board, 0x02, SIDE_X, list));
}

TEST_F(ThreatTest, ThreeInAStretchOfFiveIsClosed) {
    play(SIDE_O, {at(5, 10), at(6, 10)});
    EXPECT_EQ(recordO(7, 10).threats, 0x01);
    play(SIDE_X, {at(3, 10), at(9, 10)});  // X _ O O _ _ X: room for one five only
    const PatternRecord& p = recordO(7, 10);
    EXPECT_EQ(p.run[0], 0x40 | 3);
    EXPECT_EQ(p.runClosed[0], 1);
    EXPECT_EQ(p.threats, 0);
    EXPECT_FALSE(listThreatClass(board, 0x01, SIDE_O, list));
}

TEST_F(ThreatTest, CombinedClassesOnOneAndOnDifferentLines) {
    // Closed four on the x-line and an open three on the y-line through (8, 10).
    play(SIDE_X, {at(4, 10)});
    play(SIDE_O, {at(5, 10), at(6, 10), at(7, 10), at(8, 8), at(8, 9)});
    EXPECT_EQ(recordO(8, 10).threats, 0x08 | 0x02 | 0x01);
    ASSERT_TRUE(listThreatClass(board, 0x08, SIDE_O, list));
    EXPECT_TRUE(contains(list, at(8, 10)));

    // Two open threes on different lines.
    board.clear();
    play(SIDE_O, {at(8, 10), at(9, 10), at(10, 8), at(10, 9)});
    EXPECT_EQ(recordO(10, 10).threats, 0x04 | 0x01);

    // A four and an open three on one line are only a four: O O F _ O.
    board.clear();
    play(SIDE_O, {at(8, 10), at(9, 10), at(12, 10)});
    EXPECT_EQ(recordO(10, 10).threats, 0x02 | 0x01);

    // O _ O F O _ O: two splits on one line make two fours, a winning threat.
    board.clear();
    play(SIDE_O, {at(6, 10), at(8, 10), at(10, 10), at(12, 10)});
    const PatternRecord& p = recordO(9, 10);
    EXPECT_EQ(p.split[0], 0x40 | 4);
    EXPECT_EQ(p.split[1], 0x40 | 4);
    EXPECT_EQ(p.threats, 0x10 | 0x02 | 0x01);

    // Two closed fours on different lines win; one of them alone does not.
    board.clear();
    play(SIDE_X, {at(4, 8), at(8, 4)});
    play(SIDE_O, {at(5, 8), at(6, 8), at(7, 8), at(8, 5), at(8, 6), at(8, 7)});
    EXPECT_EQ(recordO(8, 8).threats & 0x12, 0x12);
    EXPECT_EQ(recordO(9, 8).threats & 0x12, 0x02);
}

TEST_F(ThreatTest, DefencesWalkTheThreateningLines) {
    play(SIDE_O, {at(5, 10), at(6, 10), at(7, 10)});
    // F then (+1, 0) up to the second empty, then (-1, 0) over the stones.
    ASSERT_TRUE(listDefences(board, SIDE_O, at(8, 10), 0x10, list));
    EXPECT_EQ(fieldsOf(list), (std::vector<Field>{at(8, 10), at(9, 10), at(4, 10)}));
    // No four through the field, an occupied field, no open three.
    EXPECT_FALSE(listDefences(board, SIDE_O, at(8, 12), 0x10, list));
    EXPECT_EQ(list.count, 0);
    EXPECT_FALSE(listDefences(board, SIDE_O, at(6, 10), 0x10, list));
    EXPECT_FALSE(listDefences(board, SIDE_O, at(8, 10), 0x04, list));

    // Four and three: the y-line (tag 0x10) is walked before the x-line (0x40);
    // an opponent stone ends a walk.
    board.clear();
    play(SIDE_X, {at(4, 10)});
    play(SIDE_O, {at(5, 10), at(6, 10), at(7, 10), at(8, 8), at(8, 9)});
    ASSERT_TRUE(listDefences(board, SIDE_O, at(8, 10), 0x08, list));
    EXPECT_EQ(fieldsOf(list), (std::vector<Field>{at(8, 10), at(8, 11), at(8, 7), at(9, 10)}));

    // Three and three next to the edge: the walks cover the gap of a jump and
    // stop at the board's edge.
    board.clear();
    play(SIDE_O, {at(2, 7), at(2, 8), at(3, 5), at(4, 5)});
    ASSERT_EQ(recordO(2, 5).threats, 0x04 | 0x01);
    ASSERT_TRUE(listDefences(board, SIDE_O, at(2, 5), 0x04, list));
    EXPECT_EQ(fieldsOf(list),
              (std::vector<Field>{at(2, 5), at(2, 6), at(2, 9), at(2, 4), at(5, 5), at(1, 5)}));
}

// Every entry of every empty field judged on its own, over the whole board.
int plainThreatCount(const CBoard& board, Side s) {
    const bool extensive = board.patternMode == 1;
    int n = 0;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) {
            if (board.cell(x, y) != EMPTY)
                continue;
            const PatternRecord& p = board.pattern(x, y, s);
            const int pairs[6][2] = {{p.run[0], p.runClosed[0]},     {p.run[1], p.runClosed[1]},
                                     {p.jump[0], p.jumpClosed[0]},   {p.jump[1], p.jumpClosed[1]},
                                     {p.split[0], p.splitClosed[0]}, {p.split[1], p.splitClosed[1]}};
            for (int i = 0; i < 6; ++i) {
                const int count = extensive ? pairs[i][0] & 0x0F : pairs[i][0];
                const int open = extensive || i < 2 ? 3 : 2;  // mode 0 leaves the field out of jumps and splits
                n += (count == open && pairs[i][1] == 0) || count > open;
            }
        }
    return n;
}

// Regions are an optimisation only: on random positions no field outside a
// side's region carries a threat bit, completes a five or adds to the threat count.
TEST(QueryRegionTest, RegionScanFindsWhatAWholeBoardScanFinds) {
    CBoard board;
    board.clear();
    board.setPatternMode(1);
    rng::seed(2024);
    FieldList list;
    for (int game = 0; game < 20; ++game) {
        board.clear();
        for (int move = 0; move < 40; ++move) {
            const Field f = at(1 + rng::next() % 19, 1 + rng::next() % 19);
            if (board.isEmpty(f))
                board.place(f, move % 2);
        }
        CBoard normal = board;
        normal.setPatternMode(0);
        for (Side s : {SIDE_O, SIDE_X}) {
            for (int bit : {0x10, 0x08, 0x04, 0x02, 0x01}) {
                std::vector<Field> whole;
                for (int x = 1; x <= 19; ++x)
                    for (int y = 1; y <= 19; ++y)
                        if (board.cell(x, y) == EMPTY && (board.pattern(x, y, s).threats & bit))
                            whole.push_back(at(x, y));
                EXPECT_EQ(listThreatClass(board, bit, s, list), !whole.empty());
                EXPECT_EQ(fieldsOf(list), whole) << "game " << game << " bit " << bit;
            }
            std::vector<Field> fives;
            for (int x = 1; x <= 19; ++x)
                for (int y = 1; y <= 19; ++y)
                    if (board.cell(x, y) == EMPTY && (board.pattern(x, y, s).run[0] & 0x0F) >= 5)
                        fives.push_back(at(x, y));
            listFiveFields(board, s, list);
            EXPECT_EQ(fieldsOf(list), fives);
            EXPECT_EQ(threatCount(board, s), plainThreatCount(board, s));
            EXPECT_EQ(threatCount(normal, s), plainThreatCount(normal, s));
        }
    }
}

} // namespace
} // namespace quintrel
