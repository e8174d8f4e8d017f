// Extensive player: the root's decisions without search and their remarks,
// a win found by search with and without aging, the threat classification
// with its resume steps, the multi-pass node that never searches a field
// twice, and full width down to fullDepth.

#include "SearchTestUtil.h"

#include "board/BoardQueries.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "search/ExtensivePlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;

TreeSettings extensive(unsigned maxDepth = 7, int fullDepth = 4, bool aging = true,
                       bool weighted = true) {
    TreeSettings s = TreeSettings::extensiveDefaults();
    s.maxDepth = maxDepth;
    s.fullDepth = fullDepth;
    s.aging = aging ? 1 : 0;
    s.weighted = weighted ? 1 : 0;
    return s;
}

// A player linked to its own definition.
template <class P = CExtensivePlayer> struct Linked {
    P player;
    PlayerDefinition definition;
    explicit Linked(const TreeSettings& s)
        : definition(definitionWith(s, TreeSettings::EXTENSIVE_CLASS)) {
        player.definition = &definition;
    }
};

// The Remark column of the last search's log line.
std::string remarkOf(CTreePlayer& p, int score) {
    const std::string line = p.composeLogLine(score);
    const auto at = line.find("  ", line.rfind(std::to_string(score)));
    return at == std::string::npos ? "" : line.substr(at + 2);
}

FieldList threatFields(const CBoard& b, int bit, Side s) {
    CBoard m = b;
    m.setPatternMode(PATTERN_MODE_EXTENSIVE);
    FieldList l;
    listThreatClass(m, bit, s, l);
    return l;
}

TEST(ExtensiveRoot, DecidedPositionsNeedNoSearch) {
    rng::seed(1);
    Linked<> e(extensive());

    // X's closed four leaves one five field: O must block it.
    const CBoard oneFive =
        boardWith({{4, 10}, {10, 13}, {12, 12}}, {{5, 10}, {6, 10}, {7, 10}, {8, 10}});
    int score = e.player.think(oneFive, SIDE_O);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(e.player.chosenMove().field, F(9, 10));
    EXPECT_EQ(e.player.statistics().seenPositions, 1u);
    EXPECT_EQ(e.player.statistics().expandedNodes, 0u);
    EXPECT_EQ(remarkOf(e.player, score), "Forced move...");

    // An open four of X: two five fields, one of them blocked.
    const CBoard twoFives =
        boardWith({{10, 13}, {12, 12}, {11, 14}}, {{5, 10}, {6, 10}, {7, 10}, {8, 10}});
    score = e.player.think(twoFives, SIDE_O);
    EXPECT_EQ(score, CExtensivePlayer::LOST);
    EXPECT_TRUE(e.player.chosenMove().field == F(4, 10) || e.player.chosenMove().field == F(9, 10));
    EXPECT_EQ(e.player.statistics().seenPositions, 1u);
    EXPECT_EQ(remarkOf(e.player, score), "Defeat in 1");

    // Completing five comes before blocking the opponent's.
    const CBoard bothFour =
        boardWith({{5, 12}, {6, 12}, {7, 12}, {8, 12}}, {{5, 10}, {6, 10}, {7, 10}, {8, 10}});
    score = e.player.think(bothFour, SIDE_O);
    EXPECT_EQ(score, CExtensivePlayer::FIVE_NOW);
    EXPECT_TRUE(e.player.chosenMove().field == F(4, 12) || e.player.chosenMove().field == F(9, 12));
    EXPECT_EQ(remarkOf(e.player, score), "Victory in 1");

    // An open three makes an open four: class 0x10, won in two own moves.
    const CBoard openThree = boardWith({{5, 10}, {6, 10}, {7, 10}}, {{12, 14}, {13, 4}});
    score = e.player.think(openThree, SIDE_O);
    EXPECT_EQ(score, CExtensivePlayer::WIN_IN_TWO);
    EXPECT_TRUE(e.player.chosenMove().field == F(4, 10) || e.player.chosenMove().field == F(8, 10));
    EXPECT_EQ(e.player.statistics().seenPositions, 1u);
    EXPECT_EQ(remarkOf(e.player, score), "Victory in 2");
}

// O to move: m = (10,11) makes a closed four on y = 11; after X's forced
// block at (11,11), g = (10,10) makes two fours (y = 10 and x = 10).
//        x: 6 7 8 9 10 ...  14
//   y 14    . . . . X  . . . .
//   y 13    . . . . O  . . . .
//   y 12    . . . . O  . . . .
//   y 11    X O O O m  . . . .
//   y 10    . . . . g  O O O X
//   y  9    . . . . .  . . X .
const CBoard& fourThenDoubleFour() {
    static const CBoard b =
        boardWith({{11, 10}, {12, 10}, {13, 10}, {10, 12}, {10, 13}, {7, 11}, {8, 11}, {9, 11}},
                  {{14, 10}, {10, 14}, {6, 11}, {13, 9}});
    return b;
}

TEST(ExtensiveRoot, WinFoundBySearchIsAnnouncedByAging) {
    const CBoard& b = fourThenDoubleFour();
    ASSERT_EQ(threatFields(b, THREAT_WINNING, SIDE_O).count, 0);
    ASSERT_EQ(threatFields(b, THREAT_FOUR_THREE, SIDE_O).count, 0);

    rng::seed(2);
    Linked<> aged(extensive(7, 4, true));
    int score = aged.player.think(b, SIDE_O);
    EXPECT_EQ(score, 1596); // five in the mover's third move: 1600 aged four times
    EXPECT_GT(aged.player.statistics().seenPositions, 1u);
    EXPECT_TRUE(threatFields(b, THREAT_FOUR, SIDE_O).contains(aged.player.chosenMove().field));
    EXPECT_EQ(remarkOf(aged.player, score), "Victory in 3");

    rng::seed(2);
    Linked<> plain(extensive(7, 4, false));
    score = plain.player.think(b, SIDE_O);
    EXPECT_GT(score, 800);
    EXPECT_EQ(remarkOf(plain.player, score), "Going to win");

    // After the four X has one answer, forced without search.
    CBoard afterFour = b;
    afterFour.place(F(10, 11), SIDE_O);
    Linked<> defender(extensive());
    score = defender.player.think(afterFour, SIDE_X);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(defender.player.chosenMove().field, F(11, 11));
    EXPECT_EQ(remarkOf(defender.player, score), "Forced move...");
}

// Opens the classification to the tests.
class OpenExtensive : public CExtensivePlayer {
public:
    void load(const CBoard& b) {
        board = b;
        board.journalBase = board.journalCurrent = board.journalEnd = nullptr;
        board.setPatternMode(PATTERN_MODE_EXTENSIVE);
        journal.resize(4);
        board.attachJournal(journal.data(), 4);
        refreshSettings();
    }
    using CExtensivePlayer::board;
    using CExtensivePlayer::classify;
    using CExtensivePlayer::fourThreatHolds;
    using CExtensivePlayer::weightedEvaluate;
    std::vector<MoveRecord> journal;
};

std::set<int> packed(const FieldList& l) {
    std::set<int> s;
    for (int i = 0; i < l.count; ++i)
        s.insert(l[i].packed());
    return s;
}

TEST(ExtensiveClassify, CodesListsAndResumeSteps) {
    OpenExtensive p;
    PlayerDefinition d = definitionWith(extensive(), TreeSettings::EXTENSIVE_CLASS);
    p.definition = &d;
    FieldList l;

    // Quiet: nothing listed.
    p.load(boardWith({{10, 10}}, {{14, 14}}));
    EXPECT_EQ(p.classify(SIDE_O, l, 0, true), CExtensivePlayer::QUIET);
    EXPECT_EQ(l.count, 0);

    // O: X O O O _ on y = 10 gives fours at (9,10) and (10,10); two stones
    // on y = 15 give open-three fields; X has nothing.
    const CBoard foursAndTwo =
        boardWith({{6, 10}, {7, 10}, {8, 10}, {3, 15}, {4, 15}}, {{5, 10}, {16, 3}});
    p.load(foursAndTwo);
    int k = p.classify(SIDE_O, l, 0, false);
    EXPECT_EQ(k, CExtensivePlayer::FOURS);
    EXPECT_EQ(packed(l), packed(threatFields(foursAndTwo, THREAT_FOUR, SIDE_O)));
    EXPECT_EQ(l.side, SIDE_O);
    // The next pass skips the fours and lists the open-three fields.
    k = p.classify(SIDE_O, l, CExtensivePlayer::FOURS, false);
    EXPECT_EQ(k, CExtensivePlayer::OPEN_THREES);
    EXPECT_EQ(packed(l), packed(threatFields(foursAndTwo, THREAT_OPEN_THREE, SIDE_O)));
    EXPECT_EQ(p.classify(SIDE_O, l, CExtensivePlayer::OPEN_THREES, true), CExtensivePlayer::QUIET);
    EXPECT_EQ(p.classify(SIDE_O, l, 1, false), CExtensivePlayer::QUIET);
    EXPECT_EQ(p.classify(SIDE_O, l, 5, false), CExtensivePlayer::QUIET);
    EXPECT_EQ(l.count, 0);

    // X to move has nothing but must answer O's open three (class 0x10 for
    // O) when the node is lost; the list is the defences of the last field.
    const CBoard openThree = boardWith({{5, 10}, {6, 10}, {7, 10}}, {{14, 14}});
    p.load(openThree);
    EXPECT_EQ(p.classify(SIDE_X, l, 0, false), CExtensivePlayer::QUIET);
    k = p.classify(SIDE_X, l, 0, true);
    EXPECT_EQ(k, CExtensivePlayer::DEFEND);
    const FieldList winning = threatFields(openThree, THREAT_WINNING, SIDE_O);
    ASSERT_GT(winning.count, 0);
    CBoard m = openThree;
    m.setPatternMode(PATTERN_MODE_EXTENSIVE);
    FieldList expected;
    listDefences(m, SIDE_O, winning[winning.count - 1], THREAT_WINNING, expected);
    ASSERT_GT(expected.count, 1);
    EXPECT_EQ(l.count, expected.count);
    for (int i = 0; i < l.count && i < expected.count; ++i)
        EXPECT_EQ(l[i], expected[i]);
    EXPECT_EQ(l.side, SIDE_X);

    // Two open twos crossing at (10,10): two open threes at once, and X has
    // no four to answer with.
    const CBoard doubleThree = boardWith({{8, 10}, {9, 10}, {10, 8}, {10, 9}}, {{15, 15}});
    p.load(doubleThree);
    EXPECT_EQ(p.classify(SIDE_O, l, 0, false), CExtensivePlayer::WIN_IN_THREE);
    EXPECT_TRUE(l.contains(F(10, 10)));
    // With a four for X the double three is only worth trying.
    const CBoard doubleThreeAgainstFour =
        boardWith({{8, 10}, {9, 10}, {10, 8}, {10, 9}}, {{15, 15}, {16, 16}, {17, 17}});
    p.load(doubleThreeAgainstFour);
    EXPECT_EQ(p.classify(SIDE_O, l, 0, false), CExtensivePlayer::DOUBLE_AGAINST_FOURS);
    EXPECT_TRUE(l.contains(F(10, 10)));
}

// O's four-three at (9,10): four 6..9 on y = 10 (five field (10,10)) and an
// open three on x = 9. X's closed three on x = 10 makes its four exactly on
// that five field, so X would block with a four; elsewhere it would not.
TEST(ExtensiveClassify, FourThreeHoldsUnlessTheBlockMakesAFour) {
    OpenExtensive p;
    PlayerDefinition d = definitionWith(extensive(), TreeSettings::EXTENSIVE_CLASS);
    p.definition = &d;
    FieldList l;

    const CBoard blocked = boardWith({{6, 10}, {7, 10}, {8, 10}, {9, 11}, {9, 12}, {10, 14}},
                                     {{5, 10}, {10, 11}, {10, 12}, {10, 13}});
    ASSERT_TRUE(threatFields(blocked, THREAT_FOUR_THREE, SIDE_O).contains(F(9, 10)));
    p.load(blocked);
    FieldList fourThree = threatFields(blocked, THREAT_FOUR_THREE, SIDE_O);
    EXPECT_FALSE(p.fourThreatHolds(SIDE_O, fourThree));
    EXPECT_EQ(p.classify(SIDE_O, l, 0, false), CExtensivePlayer::FOURS);
    EXPECT_EQ(p.board.journalCurrent, p.board.journalBase); // trial moves taken back

    const CBoard holds = boardWith({{6, 10}, {7, 10}, {8, 10}, {9, 11}, {9, 12}, {13, 3}},
                                   {{5, 10}, {14, 3}, {15, 3}, {16, 3}});
    p.load(holds);
    fourThree = threatFields(holds, THREAT_FOUR_THREE, SIDE_O);
    EXPECT_TRUE(p.fourThreatHolds(SIDE_O, fourThree));
    EXPECT_EQ(p.classify(SIDE_O, l, 0, false), CExtensivePlayer::WIN_IN_THREE);
}

TEST(ExtensiveEvaluate, WeightsByWorth) {
    OpenExtensive p;
    PlayerDefinition d = definitionWith(extensive(), TreeSettings::EXTENSIVE_CLASS);
    p.definition = &d;
    // Only O has stones, so the search rectangle is O's region and X's
    // worths are all below 2.
    p.load(boardWith({{10, 10}, {11, 10}, {10, 11}}, {}));
    int expected = 1;
    int strongest = 0;
    static constexpr int W[9] = {0, 0, 0, 2, 9, 16, 20, 23, 25};
    const CBoard& b = p.board;
    const FieldRect& r = b.region[SIDE_O];
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            if (b.cells[x][y] != EMPTY) continue;
            const int w = b.patterns[x][y][SIDE_O].worth;
            strongest = std::max(strongest, w);
            if (w > 1) expected += W[std::min(w, 8)];
        }
    ASSERT_GE(strongest, 4);
    ASSERT_GT(expected, 1);
    EXPECT_EQ(p.weightedEvaluate(SIDE_O), expected + threatCount(b, SIDE_O));
    EXPECT_EQ(p.weightedEvaluate(SIDE_X), 2 - expected - threatCount(b, SIDE_O));
}

// Searches one inner node at the root and records the leaves in order.
class LeafSpy : public CExtensivePlayer {
public:
    std::vector<Field> leaves;

    FieldList candidatesAfterSearch(Side s) {
        FieldList l;
        generateCandidates(l, s, false);
        return l;
    }

protected:
    int search(Side s) override {
        board.setPatternMode(PATTERN_MODE_EXTENSIVE);
        fullDepth = settings().fullDepth;
        return extensiveNode(s, -SCORE_INFINITY, SCORE_INFINITY);
    }
    int evaluate(Side) override {
        const MoveRecord& last = board.journalCurrent[-1];
        leaves.push_back(F(last.entries[0].x, last.entries[0].y));
        return 0;
    }
};

TEST(ExtensiveNode, PassesTryThreatsFirstAndNoFieldTwice) {
    // O: X O _ O _ O on y = 10: (9,10) and (11,10) make a four and an open
    // three at once, (7,10) and (13,10) only an open three.
    const CBoard b = boardWith({{8, 10}, {10, 10}, {12, 10}}, {{16, 4}});
    const FieldList fours = threatFields(b, THREAT_FOUR, SIDE_O);
    const FieldList threes = threatFields(b, THREAT_OPEN_THREE, SIDE_O);
    ASSERT_EQ(packed(fours), (std::set<int>{F(9, 10).packed(), F(11, 10).packed()}));
    ASSERT_TRUE(threes.contains(F(9, 10)) && threes.contains(F(11, 10)));
    ASSERT_EQ(threatFields(b, THREAT_FOUR_THREE, SIDE_O).count, 0);

    Linked<LeafSpy> spy(extensive(1, 1, true, false));
    rng::seed(3);
    spy.player.think(b, SIDE_O);
    const auto& leaves = spy.player.leaves;
    ASSERT_GE(leaves.size(), 4u);

    std::set<int> seen;
    for (Field f : leaves)
        EXPECT_TRUE(seen.insert(f.packed()).second) << int(f.x) << "," << int(f.y);
    // Pass 1 the fours, pass 2 the open threes not yet tried, pass 3 the rest.
    EXPECT_EQ((std::set<int>{leaves[0].packed(), leaves[1].packed()}), packed(fours));
    std::set<int> newThrees = packed(threes);
    for (int i = 0; i < fours.count; ++i)
        newThrees.erase(fours[i].packed());
    EXPECT_EQ((std::set<int>{leaves[2].packed(), leaves[3].packed()}), newThrees);

    std::set<int> all = packed(spy.player.candidatesAfterSearch(SIDE_O));
    for (int f : packed(threes))
        all.insert(f);
    EXPECT_EQ(seen, all);
    EXPECT_EQ(spy.player.statistics().seenPositions, 1 + leaves.size());
    EXPECT_EQ(spy.player.statistics().expandedNodes, 3u);
}

// Plain negamax over the same candidates, with the weighted evaluation at
// the horizon: the reference for a full-width search.
class Reference : public CExtensivePlayer {
public:
    int value(const CBoard& b, Side s, unsigned plies) {
        board = b;
        board.setPatternMode(PATTERN_MODE_EXTENSIVE);
        journal.assign(plies + 1, MoveRecord{});
        board.attachJournal(journal.data(), static_cast<int>(plies) + 1);
        refreshSettings();
        const int v = negamax(s, 0, plies);
        board.detachJournal(journal.data());
        return v;
    }

private:
    int negamax(Side s, unsigned ply, unsigned plies) {
        if (ply == plies) return weightedEvaluate(s);
        FieldList l;
        generateCandidates(l, s, ply == 0);
        int best = -SCORE_INFINITY;
        for (int i = 0; i < l.count; ++i) {
            board.place(l[i], s);
            best = std::max(best, -negamax(otherSide(s), ply + 1, plies));
            board.takeBack();
        }
        return best;
    }
    std::vector<MoveRecord> journal;
};

TEST(ExtensiveNode, FullDepthEqualToMaxDepthIsPlainAlphaBeta) {
    // No side has any threat class: nothing forces or decides within two plies.
    const CBoard positions[] = {
        boardWith({{10, 10}, {12, 13}}, {{11, 11}, {8, 12}}),
        boardWith({{9, 9}, {12, 10}}, {{10, 12}, {13, 13}}),
    };
    for (const CBoard& b : positions) {
        for (int bit : {0x10, 0x08, 0x04, 0x02, 0x01}) {
            ASSERT_EQ(threatFields(b, bit, SIDE_O).count, 0);
            ASSERT_EQ(threatFields(b, bit, SIDE_X).count, 0);
        }
        Linked<Reference> ref(extensive(2, 2));
        const int twoPlies = ref.player.value(b, SIDE_O, 2);
        const int onePly = ref.player.value(b, SIDE_O, 1);
        ASSERT_NE(twoPlies, onePly);

        Linked<> full(extensive(2, 2));
        rng::seed(4);
        EXPECT_EQ(full.player.think(b, SIDE_O), twoPlies);
        // Beyond fullDepth a quiet node is evaluated at once.
        Linked<> shallow(extensive(2, 1));
        rng::seed(4);
        EXPECT_EQ(shallow.player.think(b, SIDE_O), onePly);
        EXPECT_EQ(shallow.player.statistics().maxDepthReached, 1u);
    }
}

TEST(ExtensiveKind, CatalogueMakesTheExtensivePlayer) {
    const PlayerDefinition* kind = PlayerKindCatalogue::findKind(TreeSettings::EXTENSIVE_CLASS);
    ASSERT_NE(kind, nullptr);
    ASSERT_NE(kind->kind, nullptr);
    ASSERT_NE(kind->kind->create, nullptr);
    std::unique_ptr<CPlayer> p = kind->kind->create();
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->className(), "CExtensivePlayer");
    EXPECT_NE(dynamic_cast<CExtensivePlayer*>(p.get()), nullptr);
}

} // namespace
} // namespace quintrel
