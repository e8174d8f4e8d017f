// MiniMax and AlphaBeta: alpha-beta changes the work, never the result; the
// cut-off rule; how each breaks ties among equal root moves.

#include "SearchTestUtil.h"

#include <gtest/gtest.h>

#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;

// Runs the inner node procedure at the root with a chosen window, every
// leaf worth the same.
class FixedWindow : public CAlphaBetaPlayer {
public:
    int alpha = -SCORE_INFINITY;
    int beta = SCORE_INFINITY;
    int leaf = 7;

protected:
    int search(Side s) override { return node(s, alpha, beta); }
    int evaluate(Side) override { return leaf; }
};

TEST(AlphaBeta, ChildReturningExactlyBetaCutsOff) {
    const CBoard quiet = boardWith({{10, 10}}, {{12, 11}});
    FixedWindow p;
    PlayerDefinition d = definitionWith(treeSettings(1, TreeSettings::UNSORTED, TreeSettings::CONTURE), p.className());
    p.definition = &d;

    p.beta = SCORE_INFINITY;
    EXPECT_EQ(p.think(quiet, SIDE_O), -7);
    const std::uint32_t n = p.statistics().branchSum;
    ASSERT_GT(n, 2u);
    EXPECT_EQ(p.statistics().seenPositions, n + 1);
    EXPECT_EQ(p.statistics().breaks, 0u);

    p.beta = -7; // the first child answers -7 = beta
    EXPECT_EQ(p.think(quiet, SIDE_O), -7);
    EXPECT_EQ(p.statistics().seenPositions, 2u);
    EXPECT_EQ(p.statistics().breaks, n - 1);
    EXPECT_EQ(p.statistics().savedWork(1), n - 1);

    p.beta = -6; // just above: no cut
    EXPECT_EQ(p.think(quiet, SIDE_O), -7);
    EXPECT_EQ(p.statistics().seenPositions, n + 1);

    // Fail-hard: every move fails low and the given alpha comes back.
    p.alpha = 3;
    p.beta = 50;
    EXPECT_EQ(p.think(quiet, SIDE_O), 3);
}

template <class Base>
class Flat : public Base {
protected:
    int evaluate(Side) override { return 0; }
};

TEST(TieBreak, MiniMaxUsesAbsoluteBestAlphaBetaTheFirstFound) {
    const CBoard b = boardWith({{10, 10}, {11, 10}}, {{12, 12}});
    const TreeSettings s = treeSettings(1, TreeSettings::UNSORTED, TreeSettings::CONTURE);

    OpenMiniMax scanner;
    PlayerDefinition d = definitionWith(s, scanner.className());
    scanner.definition = &d;
    scanner.load(b);
    FieldList scanned;
    scanner.generateCandidates(scanned, SIDE_X, true);
    ASSERT_GT(scanned.count, 3);

    Flat<CAlphaBetaPlayer> ab;
    PlayerDefinition da = definitionWith(s, ab.className());
    ab.definition = &da;
    ab.think(b, SIDE_X);
    EXPECT_EQ(ab.chosenMove().field, scanned.fields[scanned.count - 1]);

    // The minimax root keeps every equal move, in the order examined, and
    // lets the absolute-best rule (without attack) choose: the only draw of
    // the whole search.
    FieldList ties;
    ties.side = SIDE_X;
    for (int i = scanned.count - 1; i >= 0; --i) ties.append(scanned.fields[i]);
    Flat<CMiniMaxPlayer> mm;
    mm.definition = &d;
    for (std::uint32_t seed : {1u, 42u, 1234u}) {
        FieldList copy = ties;
        GameMove expected;
        rng::seed(seed);
        pickAbsoluteBest(copy, b, expected, false);
        rng::seed(seed);
        mm.think(b, SIDE_X);
        EXPECT_EQ(mm.chosenMove().field, expected.field) << seed;
    }
    // X's best fields are the ones that stop O's two: not the scan's last.
    EXPECT_NE(mm.chosenMove().field, ab.chosenMove().field);
}

// Mid-game positions from a seeded random game near the centre, without a five.
std::vector<CBoard> samplePositions(int count, int stones) {
    std::vector<CBoard> out;
    rng::seed(2024);
    while (static_cast<int>(out.size()) < count) {
        CBoard b;
        b.clear();
        bool five = false;
        for (int i = 0; i < stones && !five; ++i) {
            Field f;
            do {
                f = F(6 + rng::next() % 9, 6 + rng::next() % 9);
            } while (b.cell(f) != EMPTY);
            b.place(f, i % 2);
            int ends[4];
            five = b.findFive(i % 2, ends);
        }
        if (!five) out.push_back(b);
    }
    return out;
}

// True when the position needed a search (no root verdict).
bool expectSameResult(const CBoard& b, Side s, const TreeSettings& settings) {
    CAlphaBetaPlayer ab;
    CMiniMaxPlayer mm;
    PlayerDefinition da = definitionWith(settings, ab.className());
    PlayerDefinition dm = definitionWith(settings, mm.className());
    ab.definition = &da;
    mm.definition = &dm;
    rng::seed(5);
    const int abScore = ab.think(b, s);
    rng::seed(5);
    const int mmScore = mm.think(b, s);
    EXPECT_EQ(abScore, mmScore);
    EXPECT_LE(ab.statistics().seenPositions, mm.statistics().seenPositions);
    if (ab.statistics().seenPositions == 1) return false; // decided by the root verdict

    // The move alpha-beta plays is worth exactly that score to minimax.
    CBoard after = b;
    after.place(ab.chosenMove().field, s);
    TreeSettings shallower = settings;
    shallower.maxDepth = settings.maxDepth - 1;
    PlayerDefinition ds = definitionWith(shallower, mm.className());
    CMiniMaxPlayer reply;
    reply.definition = &ds;
    int v = -reply.think(after, otherSide(s));
    if (settings.aging && v > SCORE_WON) --v;
    if (settings.aging && v < -SCORE_WON) ++v;
    EXPECT_EQ(v, abScore);
    return true;
}

TEST(AlphaBeta, SameScoreAsMiniMaxOnMidGamePositions) {
    const auto positions = samplePositions(8, 14);
    int searched = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        SCOPED_TRACE(i);
        const Side s = static_cast<Side>(i % 2);
        searched += expectSameResult(positions[i], s, treeSettings(2, TreeSettings::ABSOLUTE_BEST, TreeSettings::CONTURE));
        expectSameResult(positions[i], s,
                         treeSettings(3, TreeSettings::UNSORTED, TreeSettings::WIDE_CONTURE, 6, true, false));
        expectSameResult(positions[i], s,
                         treeSettings(3, TreeSettings::UNSORTED, TreeSettings::RECTANGULAR, 5, false, true));
    }
    EXPECT_GE(searched, 4);
}

} // namespace
} // namespace quintrel
