#include "board/Board.h"
#include "board/FieldList.h"
#include "board/Random.h"

#include <gtest/gtest.h>

namespace quintrel {
namespace {

Field at(int x, int y) { return Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; }

FieldList listOf(std::initializer_list<Field> fields, Side side = SIDE_O) {
    FieldList list;
    list.side = side;
    for (Field f : fields)
        list.append(f);
    return list;
}

// A cleared board whose worth bytes the test writes by hand: the picks read
// nothing else.
class PickTest : public ::testing::Test {
protected:
    void SetUp() override {
        board.clear();
        rng::seed(1);
    }
    void setWorth(Field f, int forO, int forX) {
        board.patterns[f.x][f.y][SIDE_O].worth = static_cast<std::uint8_t>(forO);
        board.patterns[f.x][f.y][SIDE_X].worth = static_cast<std::uint8_t>(forX);
    }
    CBoard board;
};

// From seed 1 the generator yields 41, 18467, 6334, 26500, ...
// (state 1 * 214013 + 2531011 = 2745024, 2745024 >> 16 = 41, and so on).

TEST(FieldListTest, AppendStopsAtCapacityAndRemovalMovesTheLastEntry) {
    FieldList list;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y)
            list.append(at(x, y));
    EXPECT_EQ(list.count, 361);
    list.append(at(5, 5));
    EXPECT_EQ(list.count, 361);
    EXPECT_EQ(list.fields[360], at(19, 19));

    FieldList small = listOf({at(1, 1), at(2, 2), at(3, 3), at(4, 4)});
    small.removeAt(1);
    ASSERT_EQ(small.count, 3);
    EXPECT_EQ(small.fields[1], at(4, 4));
    small.removeAt(2);  // the last entry just goes
    ASSERT_EQ(small.count, 2);
    EXPECT_EQ(small.fields[0], at(1, 1));
    EXPECT_EQ(small.fields[1], at(4, 4));
    EXPECT_TRUE(contains(small, at(4, 4)));
    EXPECT_FALSE(contains(small, at(3, 3)));
}

TEST(FieldListTest, PickRandomTakesTheEntryAtTheDrawModuloCount) {
    rng::seed(1);
    FieldList list = listOf({at(1, 1), at(2, 2), at(3, 3), at(4, 4), at(5, 5)}, SIDE_X);
    GameMove move;
    ASSERT_TRUE(pickRandom(list, move));  // 41 mod 5 = 1
    EXPECT_EQ(move, (GameMove{at(2, 2), SIDE_X}));
    // now (1,1) (5,5) (3,3) (4,4)
    ASSERT_TRUE(pickRandom(list, move));  // 18467 mod 4 = 3
    EXPECT_EQ(move.field, at(4, 4));
    ASSERT_TRUE(pickRandom(list, move));  // 6334 mod 3 = 1
    EXPECT_EQ(move.field, at(5, 5));
    EXPECT_EQ(list.count, 2);

    FieldList one = listOf({at(7, 8)});
    ASSERT_TRUE(pickRandom(one, move));
    EXPECT_EQ(move, (GameMove{at(7, 8), SIDE_O}));
    EXPECT_EQ(one.count, 0);
    const std::uint32_t before = rng::state;
    EXPECT_FALSE(pickRandom(one, move));
    EXPECT_EQ(rng::state, before) << "an empty list must not consume a draw";
    EXPECT_EQ(move, (GameMove{at(7, 8), SIDE_O}));
}

TEST_F(PickTest, BestWorthPicksDrawAmongTiesInListOrder) {
    setWorth(at(3, 3), 2, 7);
    setWorth(at(4, 4), 5, 1);
    setWorth(at(5, 5), 0, 7);
    setWorth(at(6, 6), 5, 3);
    setWorth(at(7, 7), 5, 0);
    FieldList own = listOf({at(3, 3), at(4, 4), at(5, 5), at(6, 6), at(7, 7)}, SIDE_X);
    GameMove move;
    // Own side is X: ties are (3,3) and (5,5) at worth 7; 41 mod 2 = 1.
    ASSERT_TRUE(pickBestOwnWorth(own, board, move));
    EXPECT_EQ(move, (GameMove{at(5, 5), SIDE_X}));
    EXPECT_EQ(own.count, 4);
    EXPECT_EQ(own.fields[2], at(7, 7));  // the last entry filled the gap

    FieldList opp = listOf({at(3, 3), at(4, 4), at(5, 5), at(6, 6), at(7, 7)}, SIDE_X);
    // Judged for O: ties (4,4) (6,6) (7,7) at worth 5; 18467 mod 3 = 2.
    ASSERT_TRUE(pickBestOpponentWorth(opp, board, move));
    EXPECT_EQ(move, (GameMove{at(7, 7), SIDE_X}));

    FieldList zero = listOf({at(1, 1)});
    setWorth(at(1, 1), 0, 0);
    ASSERT_TRUE(pickBestOwnWorth(zero, board, move));
    EXPECT_EQ(move.field, at(1, 1));
    EXPECT_FALSE(pickBestOwnWorth(zero, board, move));
    EXPECT_FALSE(pickBestOpponentWorth(zero, board, move));
    EXPECT_FALSE(pickAbsoluteBest(zero, board, move, true));
}

TEST_F(PickTest, TiesBeyondTheFirst180AreIgnored) {
    FieldList list;
    list.side = SIDE_O;
    for (int x = 2; x <= 18 && list.count < 200; ++x)
        for (int y = 2; y <= 18 && list.count < 200; ++y) {
            setWorth(at(x, y), 4, 4);
            list.append(at(x, y));
        }
    ASSERT_EQ(list.count, 200);
    const Field expected = list.fields[107];
    rng::next();  // skip 41: the second draw, 18467, is 107 mod 180 but 67 mod 200
    GameMove move;
    ASSERT_TRUE(pickBestOwnWorth(list, board, move));
    EXPECT_EQ(move.field, expected);
}

TEST_F(PickTest, AbsoluteBestDefendsOnlyWhenTheAttackRuleAllows) {
    const Field mine = at(4, 4), theirs = at(5, 5), theirsToo = at(6, 6);
    struct Case {
        int own, opp;
        bool attack;
        bool defends;
    };
    const Case cases[] = {
        {3, 4, false, true},  // any lead of the opponent turns it to defence
        {3, 4, true, false},  // with attack a lead of 1 below 6 is ignored
        {3, 5, false, true}, {3, 5, true, true},  // a lead of 2
        {5, 6, false, true}, {5, 6, true, true},  // an opponent worth above 5
        {4, 4, false, false},
    };
    for (const Case& c : cases) {
        setWorth(mine, c.own, 1);
        setWorth(theirs, 1, c.opp);
        setWorth(theirsToo, 2, c.opp);  // also the opponent's best, and better for O
        FieldList list = listOf({mine, theirs, theirsToo});
        GameMove move;
        rng::seed(1);
        ASSERT_TRUE(pickAbsoluteBest(list, board, move, c.attack));
        EXPECT_EQ(move.field, c.defends ? theirsToo : mine) << c.own << " vs " << c.opp << " attack " << c.attack;
        EXPECT_EQ(move.side, SIDE_O);
        EXPECT_EQ(list.count, 2);
    }
}

TEST_F(PickTest, AbsoluteBestStartsFromARandomTieAndKeepsItOnEqualWorth) {
    // Three O-best fields, all worth 3 for X: the draw decides (41 mod 3 = 2).
    FieldList list = listOf({at(2, 2), at(3, 3), at(4, 4), at(9, 9)});
    for (Field f : {at(2, 2), at(3, 3), at(4, 4)})
        setWorth(f, 6, 3);
    setWorth(at(9, 9), 1, 2);
    GameMove move;
    ASSERT_TRUE(pickAbsoluteBest(list, board, move, false));
    EXPECT_EQ(move.field, at(4, 4));

    // A strictly better field for the other side beats the drawn one.
    list = listOf({at(2, 2), at(3, 3), at(4, 4), at(9, 9)});
    setWorth(at(3, 3), 6, 5);
    rng::seed(1);
    ASSERT_TRUE(pickAbsoluteBest(list, board, move, false));
    EXPECT_EQ(move.field, at(3, 3));

    // All worth 0 for both sides: every entry is a tie.
    list = listOf({at(2, 2), at(3, 3), at(4, 4)}, SIDE_X);
    for (Field f : {at(2, 2), at(3, 3), at(4, 4)})
        setWorth(f, 0, 0);
    rng::seed(1);
    ASSERT_TRUE(pickAbsoluteBest(list, board, move, true));
    EXPECT_EQ(move, (GameMove{at(4, 4), SIDE_X}));
}

TEST(FieldListTest, MergeIntoSkipsDuplicatesAndStopsAtCapacity) {
    FieldList list = listOf({at(1, 1), at(2, 2)});
    const FieldList other = listOf({at(2, 2), at(3, 3), at(3, 3), at(1, 1), at(4, 4)});
    mergeInto(list, other);
    ASSERT_EQ(list.count, 4);
    EXPECT_EQ(list.fields[2], at(3, 3));
    EXPECT_EQ(list.fields[3], at(4, 4));

    FieldList full;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y)
            if (!(x == 19 && y == 19))
                full.append(at(x, y));
    ASSERT_EQ(full.count, 360);
    mergeInto(full, listOf({at(5, 5), at(19, 19), at(20, 20)}));
    EXPECT_EQ(full.count, 361);
    EXPECT_EQ(full.fields[360], at(19, 19));
}

} // namespace
} // namespace quintrel
