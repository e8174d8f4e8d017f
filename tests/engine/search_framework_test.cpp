// The tree-search framework: verdict, aging, candidates with root relaxing,
// ordering, journal sizing, the examined-field test and the statistics line.

#include "SearchTestUtil.h"

#include "board/BoardQueries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;

// O: an open four on row 10; X: scattered, harmless stones.
CBoard openFourForO() { return boardWith({{5, 10}, {6, 10}, {7, 10}, {8, 10}}, {{3, 3}, {15, 15}, {3, 16}}); }
// O: an open three on row 10.
CBoard openThreeForO() { return boardWith({{5, 10}, {6, 10}, {7, 10}}, {{3, 3}, {15, 15}, {3, 16}}); }
// O: two twos meeting at (10, 10), which makes two open threes at once.
CBoard doubleThreatForO() { return boardWith({{8, 10}, {9, 10}, {10, 8}, {10, 9}}, {{3, 3}, {15, 15}, {3, 16}, {16, 3}}); }

template <class Player>
void expectRootVerdict(const CBoard& b, int score, std::vector<Field> allowed) {
    Player p;
    PlayerDefinition d = definitionWith(treeSettings(3, TreeSettings::ABSOLUTE_BEST, TreeSettings::CONTURE),
                                        p.className());
    p.definition = &d;
    rng::seed(7);
    EXPECT_EQ(p.think(b, SIDE_O), score);
    const Field f = p.chosenMove().field;
    bool found = false;
    for (Field a : allowed) found = found || a == f;
    EXPECT_TRUE(found) << int(f.x) << "," << int(f.y);
    EXPECT_EQ(p.chosenMove().side, SIDE_O);
    const SearchStatistics& st = p.statistics();
    EXPECT_EQ(st.seenPositions, 1u);
    EXPECT_EQ(st.averageBranch(), 0u);
    EXPECT_EQ(st.maxDepthReached, 0u);
    EXPECT_EQ(st.breaks, 0u);
    EXPECT_EQ(st.savedWork(p.searchDepthLimit()), 0u);
}

TEST(TreeVerdict, RootVerdictDecidesWithoutSearch) {
    expectRootVerdict<CAlphaBetaPlayer>(openFourForO(), SCORE_FIVE, {F(4, 10), F(9, 10)});
    expectRootVerdict<CMiniMaxPlayer>(openFourForO(), SCORE_FIVE, {F(4, 10), F(9, 10)});
    expectRootVerdict<CAlphaBetaPlayer>(openThreeForO(), SCORE_OPEN_FOUR, {F(4, 10), F(8, 10)});
    expectRootVerdict<CMiniMaxPlayer>(openThreeForO(), SCORE_OPEN_FOUR, {F(4, 10), F(8, 10)});
    expectRootVerdict<CAlphaBetaPlayer>(doubleThreatForO(), SCORE_DOUBLE_THREAT, {F(10, 10)});
}

TEST(TreeVerdict, OpponentsStrongerThreatMeansNoVerdict) {
    // O has an open three, X a four closed at one end: O must not claim 1594.
    const CBoard b = boardWith({{5, 10}, {6, 10}, {7, 10}, {12, 2}}, {{12, 3}, {12, 4}, {12, 5}, {12, 6}});
    OpenAlphaBeta p;
    p.load(b);
    EXPECT_EQ(p.verdict(SIDE_O), 0);
    EXPECT_EQ(p.verdict(SIDE_X), SCORE_FIVE);
    EXPECT_EQ(p.best().field, F(12, 7));
    EXPECT_EQ(p.best().side, SIDE_X);
}

TEST(TreeAging, ScoresAndBounds) {
    OpenAlphaBeta p;
    p.load(boardWith({}, {}));
    EXPECT_EQ(p.age(1598), 1597);
    EXPECT_EQ(p.age(801), 800);
    EXPECT_EQ(p.age(800), 800);
    EXPECT_EQ(p.age(-801), -800);
    EXPECT_EQ(p.age(-800), -800);
    EXPECT_EQ(p.age(SCORE_INFINITY), SCORE_INFINITY - 1);
    // A root best of 1596 hands down beta = -(1596 + 1).
    EXPECT_EQ(-p.ageBound(1596), -1597);
    EXPECT_EQ(p.ageBound(800), 801);
    EXPECT_EQ(p.ageBound(-800), -801);
    EXPECT_EQ(p.ageBound(799), 799);
    EXPECT_EQ(p.ageBound(0), 0);
    EXPECT_EQ(p.ageBound(SCORE_INFINITY), SCORE_INFINITY);
    EXPECT_EQ(p.ageBound(-SCORE_INFINITY), -SCORE_INFINITY);

    PlayerDefinition d = definitionWith(treeSettings(4, 1, 3, 0, false), p.className());
    p.definition = &d;
    p.load(boardWith({}, {}));
    EXPECT_EQ(p.age(1598), 1598);
    EXPECT_EQ(p.ageBound(1596), 1596);
}

// O blocks X's four at (8, 10) and makes an open four with the same stone:
// whatever X answers, O completes five two plies down.
CBoard forcedFiveForO() {
    return boardWith({{5, 10}, {6, 10}, {7, 10}, {8, 5}}, {{8, 6}, {8, 7}, {8, 8}, {8, 9}});
}

template <class Player>
void expectForcedFive(bool aging, int score) {
    Player p;
    PlayerDefinition d = definitionWith(treeSettings(2, TreeSettings::ABSOLUTE_BEST, TreeSettings::CONTURE, 0, aging),
                                        p.className());
    p.definition = &d;
    rng::seed(11);
    EXPECT_EQ(p.think(forcedFiveForO(), SIDE_O), score) << p.className();
    EXPECT_EQ(p.chosenMove().field, F(8, 10)) << p.className();
    EXPECT_EQ(p.statistics().maxDepthReached, 2u);
}

TEST(TreeAging, ForcedFiveTwoPliesDown) {
    expectForcedFive<CAlphaBetaPlayer>(true, 1596);
    expectForcedFive<CMiniMaxPlayer>(true, 1596);
    expectForcedFive<CAlphaBetaPlayer>(false, 1598);
    expectForcedFive<CMiniMaxPlayer>(false, 1598);
}

TEST(TreeCandidates, RootRelaxesQualityThenReductionAndRestoresSettings) {
    OpenAlphaBeta p;
    const TreeSettings s = treeSettings(3, TreeSettings::UNSORTED, TreeSettings::QUALITY, 0, true, true, 6);
    PlayerDefinition d = definitionWith(s, p.className());
    p.definition = &d;
    const PlayerSettings stored = d.settings;

    // One stone: nothing reaches worth 4 or more, quality 3 finds its neighbours.
    p.load(boardWith({{10, 10}}, {}));
    FieldList list;
    p.generateCandidates(list, SIDE_O, false);
    EXPECT_EQ(list.count, 0) << "inner nodes never relax";
    p.generateCandidates(list, SIDE_O, true);
    const std::vector<Field> neighbours = {F(9, 9),  F(9, 10),  F(9, 11),  F(10, 9),
                                           F(10, 11), F(11, 9), F(11, 10), F(11, 11)};
    ASSERT_EQ(list.count, 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(list.fields[i], neighbours[static_cast<std::size_t>(i)]);
    EXPECT_EQ(list.side, SIDE_O);
    EXPECT_EQ(p.inUse().quality.load(), 6u);
    EXPECT_EQ(p.inUse().reduction.load(), TreeSettings::QUALITY);

    // An empty board has no search rectangle: only "No reduction" finds fields.
    p.load(boardWith({}, {}));
    p.generateCandidates(list, SIDE_X, true);
    EXPECT_EQ(list.count, 361);
    EXPECT_EQ(list.fields[0], F(1, 1));
    EXPECT_EQ(p.inUse().quality.load(), 6u);
    EXPECT_EQ(p.inUse().reduction.load(), TreeSettings::QUALITY);

    // A whole search leaves the stored record as it was.
    rng::seed(3);
    p.think(boardWith({{10, 10}}, {{14, 14}}), SIDE_X);
    EXPECT_EQ(d.settings, stored);
}

TEST(TreeCandidates, UnsortedTakesTheReverseOfTheScanOrder) {
    OpenMiniMax p;
    PlayerDefinition d = definitionWith(treeSettings(3, TreeSettings::UNSORTED, TreeSettings::CONTURE), p.className());
    p.definition = &d;
    p.load(boardWith({{10, 10}}, {}));
    FieldList list;
    p.generateCandidates(list, SIDE_O, false);
    ASSERT_EQ(list.count, 16); // distance 1 and 2 along the eight directions
    const FieldList scanned = list;
    GameMove m;
    for (int i = scanned.count - 1; i >= 0; --i) {
        ASSERT_TRUE(p.nextMove(list, m));
        EXPECT_EQ(m.field, scanned.fields[i]);
        EXPECT_EQ(m.side, SIDE_O);
    }
    EXPECT_EQ(scanned.fields[15], F(12, 12));
    EXPECT_FALSE(p.nextMove(list, m));
}

TEST(TreeCandidates, ReductionsAndIsCandidate) {
    CMiniMaxPlayer p;
    const CBoard b = boardWith({{10, 10}}, {});
    TreeSettings s = treeSettings(3, 0, TreeSettings::CONTURE);
    PlayerDefinition d = definitionWith(s, p.className());
    p.definition = &d;
    auto use = [&](int reduction, unsigned quality = 2) {
        s.reduction = reduction;
        s.quality = quality;
        d.settings = s.toBlock(p.className());
    };
    EXPECT_TRUE(p.isCandidate(b, 12, 12));
    EXPECT_FALSE(p.isCandidate(b, 11, 12)); // a knight's move away
    EXPECT_FALSE(p.isCandidate(b, 10, 10)); // occupied
    use(TreeSettings::WIDE_CONTURE);
    EXPECT_TRUE(p.isCandidate(b, 11, 12));
    EXPECT_TRUE(p.isCandidate(b, 12, 8));
    EXPECT_FALSE(p.isCandidate(b, 12, 13));
    use(TreeSettings::QUALITY, 3);
    EXPECT_TRUE(p.isCandidate(b, 11, 11));
    EXPECT_FALSE(p.isCandidate(b, 12, 12)); // worth 2
    use(TreeSettings::RECTANGULAR);
    EXPECT_TRUE(p.isCandidate(b, 8, 12));
    EXPECT_FALSE(p.isCandidate(b, 7, 12));
    use(TreeSettings::NO_REDUCTION);
    EXPECT_TRUE(p.isCandidate(b, 1, 19));
    EXPECT_FALSE(p.isCandidate(b, 0, 5));
}

TEST(TreeSearch, MaxBranchLimitsEveryNode) {
    const CBoard quiet = boardWith({{10, 10}}, {{12, 11}});
    CMiniMaxPlayer mm;
    PlayerDefinition d = definitionWith(treeSettings(3, TreeSettings::UNSORTED, TreeSettings::CONTURE, 2),
                                        mm.className());
    mm.definition = &d;
    mm.think(quiet, SIDE_O);
    EXPECT_EQ(mm.statistics().seenPositions, 1u + 2u + 4u + 8u);
    EXPECT_EQ(mm.statistics().expandedNodes, 1u + 2u + 4u);

    CAlphaBetaPlayer ab;
    PlayerDefinition d2 = definitionWith(treeSettings(3, TreeSettings::UNSORTED, TreeSettings::CONTURE, 2),
                                         ab.className());
    ab.definition = &d2;
    ab.think(quiet, SIDE_O);
    EXPECT_LE(ab.statistics().seenPositions, 15u);
    EXPECT_GE(ab.statistics().seenPositions, 1u + 2u + 2u + 2u);
}

TEST(TreeSearch, OpeningMoveIsCountedByAlphaBetaOnly) {
    const CBoard empty = boardWith({}, {});
    CAlphaBetaPlayer ab;
    CMiniMaxPlayer mm;
    for (CTreePlayer* p : {static_cast<CTreePlayer*>(&ab), static_cast<CTreePlayer*>(&mm)}) {
        for (std::uint32_t seed : {1u, 2u, 99u}) {
            rng::seed(seed);
            EXPECT_EQ(p->think(empty, SIDE_O), 0);
            const Field f = p->chosenMove().field;
            EXPECT_GE(f.x, 8);
            EXPECT_LE(f.x, 12);
            EXPECT_GE(f.y, 8);
            EXPECT_LE(f.y, 12);
        }
    }
    EXPECT_EQ(ab.statistics().seenPositions, 1u);
    EXPECT_EQ(mm.statistics().seenPositions, 0u);
}

TEST(TreeStatistics, LogLineAndSavedWork) {
    SearchStatistics st;
    st.seenPositions = 1234;
    st.timeMs = 56;
    st.branchSum = 100;
    st.expandedNodes = 10;
    st.maxDepthReached = 4;
    st.recordCut(3, 1);
    st.recordCut(0, 2); // nothing skipped: not a cut
    EXPECT_EQ(st.breaks, 3u);
    EXPECT_EQ(st.savedWork(4), 333u); // 3 x (1 + 10 + 100)
    EXPECT_EQ(st.logLine(4, -5, "Probably loosing"),
              "    1234      56   22035     10      4         3        333    -5  Probably loosing");

    // A cut one ply above the horizon counts one per skipped move.
    SearchStatistics last;
    last.branchSum = 10;
    last.expandedNodes = 1;
    last.recordCut(5, 3);
    EXPECT_EQ(last.savedWork(4), 5u);

    // Under a millisecond there is no speed; no expanded node, no branch.
    SearchStatistics quick;
    quick.seenPositions = 1;
    EXPECT_EQ(quick.positionsPerSecond(), 0u);
    EXPECT_EQ(quick.averageBranch(), 0u);
    EXPECT_EQ(quick.logLine(4, 1598, "x").substr(0, 24), "       1       0       0");

    // Wide numbers push the columns instead of being cut.
    SearchStatistics wide;
    wide.seenPositions = 123456789;
    wide.timeMs = 1;
    EXPECT_EQ(wide.logLine(4, 0, "").substr(0, 10), " 123456789");
}

TEST(TreeStatistics, RemarkColumn) {
    CAlphaBetaPlayer p;
    rng::seed(5);
    const int score = p.think(openFourForO(), SIDE_O);
    const std::string line = p.composeLogLine(score);
    EXPECT_NE(line.find("  1598  Probably winning"), std::string::npos) << line;
    EXPECT_EQ(line.substr(0, 8), "       1");
    EXPECT_NE(p.composeLogLine(-900).find("  -900  Probably loosing"), std::string::npos);
    EXPECT_EQ(p.composeLogLine(12).substr(p.composeLogLine(12).size() - 4), "12  ");
}

// Journal allocation fails above a set number of plies.
class ShortOfMemory : public Open<CAlphaBetaPlayer> {
public:
    std::size_t limit = 1000;
    using CTreePlayer::prepareJournal;
    using CTreePlayer::refreshSettings;
    unsigned plies() const { return journalDepth; }

protected:
    std::unique_ptr<MoveRecord[]> allocateJournal(std::size_t plies) override {
        if (plies > limit) return nullptr;
        return CTreePlayer::allocateJournal(plies);
    }
};

std::vector<std::string> warnings;
void rememberWarning(const std::string& caption, const std::string& text) { warnings.push_back(caption + "|" + text); }

TEST(TreeJournal, DepthIsLoweredToWhatFits) {
    CTreePlayer::setMemoryWarningHandler(rememberWarning);
    warnings.clear();
    ShortOfMemory p;
    EXPECT_EQ(p.plies(), 4u); // a new player holds four plies
    PlayerDefinition d = definitionWith(treeSettings(40, 1, 3), p.className());
    p.definition = &d;

    p.limit = 11;
    p.refreshSettings();
    p.prepareJournal();
    EXPECT_EQ(p.plies(), 10u);
    EXPECT_EQ(TreeSettings::fromBlock(d.settings).maxDepth, 10u);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], std::string("Tester: Not enough memory!|") + CTreePlayer::MEMORY_WARNING_TEXT);

    // Enough memory at the configured depth: nothing changes, nothing is said.
    p.refreshSettings();
    p.prepareJournal();
    EXPECT_EQ(warnings.size(), 1u);

    // The buffer already held fits the lowered depth: kept as it is.
    ShortOfMemory q;
    PlayerDefinition d2 = definitionWith(treeSettings(8, 1, 3), q.className());
    q.definition = &d2;
    q.limit = 5;
    q.refreshSettings();
    q.prepareJournal();
    EXPECT_EQ(q.plies(), 4u);
    EXPECT_EQ(TreeSettings::fromBlock(d2.settings).maxDepth, 4u);
    EXPECT_EQ(warnings.size(), 2u);
    CTreePlayer::setMemoryWarningHandler(nullptr);
}

} // namespace
} // namespace quintrel
