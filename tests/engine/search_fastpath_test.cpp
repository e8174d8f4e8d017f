// The search answers its per-node questions from facts kept move by move and
// from column masks; these must agree with the board queries and the
// board's own stone tests at every node of real trial-move sequences.

#include "SearchTestUtil.h"

#include "board/BoardQueries.h"
#include "search/NodeFacts.h"
#include "search/PositionScan.h"

#include <gtest/gtest.h>

#include <string>

namespace quintrel {
namespace {

using namespace quintrel::testing;

// A search that wanders: at every node it checks the fast answers against
// the slow ones, then plays a few candidates drawn at random.
class Checker : public CAlphaBetaPlayer {
public:
    int nodes = 0;
    int verdicts = 0;
    std::string firstMismatch;
    unsigned wanderSeed = 1;

protected:
    int search(Side s) override {
        std::uint32_t saved = rng::state;
        rng::seed(wanderSeed);
        wander(s, 0);
        rng::state = saved;
        return 0;
    }

private:
    void mismatch(const std::string& what) {
        if (firstMismatch.empty()) firstMismatch = what + " at node " + std::to_string(nodes);
    }

    void check(Side s) {
        ++nodes;
        for (Side t = SIDE_O; t <= SIDE_X; ++t)
            if (evaluate(t) != evaluateByQueries(t)) mismatch("evaluation");

        const std::uint32_t before = rng::state;
        const int fast = verdict(s);
        const GameMove fastMove = bestMove;
        const std::uint32_t after = rng::state;
        rng::state = before;
        const int slow = verdictByQueries(s);
        if (fast != slow || rng::state != after || (fast > 0 && !(fastMove == bestMove))) mismatch("verdict");
        verdicts += fast > 0;

        NodeFacts fresh;
        fresh.reset(board);
        if (!fresh.sameSums(keptFacts())) mismatch("kept facts");

        FieldList list;
        generateCandidates(list, s, false);
        FieldList reference;
        const FieldRect r = searchRectangle();
        const bool conture = settings().reduction.load() == TreeSettings::CONTURE;
        for (int x = r.minX; x <= r.maxX; ++x)
            for (int y = r.minY; y <= r.maxY; ++y)
                if (board.cells[x][y] == EMPTY && !(conture ? board.isIsolated(x, y) : board.isQuietSquare(x, y)))
                    reference.append(F(x, y));
        if (list.count != reference.count) mismatch("candidate count");
        for (int i = 0; i < list.count && i < reference.count; ++i)
            if (!(list.fields[i] == reference.fields[i])) mismatch("candidate order");
    }

    void wander(Side s, int ply) {
        check(s);
        int ends[4];
        if (ply == 5 || board.findFive(otherSide(s), ends)) return;
        FieldList list;
        generateCandidates(list, s, false);
        for (int k = 0; k < 3 && list.count > 0; ++k) {
            GameMove m;
            pickRandom(list, m);
            play(m.field, s);
            wander(otherSide(s), ply + 1);
            takeBack();
        }
    }
};

TEST(SearchFastPath, KeptFactsAndColumnMasksAgreeWithTheBoard) {
    const std::vector<CBoard> starts = {
        boardWith({{10, 10}, {11, 11}, {9, 11}, {12, 9}, {8, 8}}, {{11, 10}, {10, 11}, {12, 12}, {9, 9}, {13, 10}}),
        boardWith({{5, 10}, {6, 10}, {7, 10}, {8, 5}}, {{8, 6}, {8, 7}, {8, 8}, {8, 9}}),
        boardWith({{1, 1}, {2, 2}, {3, 3}, {19, 19}, {18, 17}}, {{1, 2}, {19, 18}, {17, 19}, {2, 1}}),
        boardWith({{8, 10}, {9, 10}, {10, 8}, {10, 9}, {12, 12}}, {{11, 11}, {7, 7}, {13, 9}, {9, 13}})};
    int verdicts = 0;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        for (int reduction : {TreeSettings::CONTURE, TreeSettings::WIDE_CONTURE}) {
            Checker c;
            PlayerDefinition d = definitionWith(treeSettings(6, 1, reduction), c.className());
            c.definition = &d;
            c.wanderSeed = static_cast<unsigned>(17 + i);
            c.think(starts[i], static_cast<Side>(i % 2));
            EXPECT_EQ(c.firstMismatch, "") << "start " << i << " reduction " << reduction;
            EXPECT_GT(c.nodes, 300);
            verdicts += c.verdicts;
        }
    }
    EXPECT_GT(verdicts, 20); // the wander meets decided positions too
}

TEST(SearchFastPath, SinglePassScansMatchTheQueries) {
    // Without kept facts (no search running) the one-pass scans answer.
    OpenAlphaBeta p;
    const CBoard boards[] = {
        boardWith({{5, 10}, {6, 10}, {7, 10}}, {{12, 3}, {12, 4}, {12, 5}, {12, 6}, {12, 2}}),
        boardWith({{8, 10}, {9, 10}, {10, 8}, {10, 9}}, {{3, 3}, {15, 15}}),
        boardWith({{10, 10}, {12, 10}, {10, 12}, {14, 10}}, {{11, 11}, {9, 9}, {13, 13}})};
    for (const CBoard& b : boards) {
        p.load(b);
        for (Side s = SIDE_O; s <= SIDE_X; ++s) {
            EXPECT_EQ(p.evaluate(s), p.evaluateByQueries(s));
            rng::seed(9);
            const int fast = p.verdict(s);
            const GameMove m = p.best();
            rng::seed(9);
            EXPECT_EQ(fast, p.verdictByQueries(s));
            if (fast > 0) {
                EXPECT_EQ(m, p.best());
            }
            FieldList list;
            EXPECT_EQ(scan::evaluation(b, FieldRect{1, 1, 19, 19}, s, true), p.evaluateByQueries(s));
            const unsigned t = scan::threatsOfSide(b, s, false);
            EXPECT_EQ((t & scan::FIVE) != 0, listFiveFields(b, s, list));
            EXPECT_EQ((t & scan::OPEN_FOUR) != 0, listOpenFourFields(b, s, list));
            EXPECT_EQ((t & scan::DOUBLE) != 0, listDoubleThreatFields(b, s, list));
            EXPECT_EQ((t & scan::COMBO) != 0, listComboThreatFields(b, s, list));
        }
    }
}

TEST(SearchFastPath, OnePassPickChoosesAsTheBoardsPick) {
    const CBoard boards[] = {
        boardWith({{10, 10}, {11, 11}, {9, 11}, {12, 9}, {8, 8}}, {{11, 10}, {10, 11}, {12, 12}, {9, 9}, {13, 10}}),
        boardWith({{5, 10}, {6, 10}, {7, 10}}, {{12, 3}, {12, 4}, {12, 5}, {12, 6}}),
        boardWith({}, {})};
    for (const CBoard& b : boards) {
        for (Side s = SIDE_O; s <= SIDE_X; ++s) {
            for (bool attack : {false, true}) {
                FieldList a;
                a.side = s;
                for (int x = 1; x <= 19; ++x)
                    for (int y = 1; y <= 19; ++y)
                        if (b.cells[x][y] == EMPTY && (x + 2 * y) % 3 != 0) a.append(F(x, y));
                FieldList c = a;
                // Pick everything out of both lists with the same sequence of draws.
                rng::seed(77);
                std::vector<GameMove> byBoard;
                GameMove m;
                while (pickAbsoluteBest(a, b, m, attack)) byBoard.push_back(m);
                rng::seed(77);
                std::vector<GameMove> onePass;
                while (scan::pickAbsoluteBest(c, b, m, attack)) onePass.push_back(m);
                EXPECT_EQ(byBoard, onePass);
                EXPECT_GT(byBoard.size(), 100u);
            }
        }
    }
}

} // namespace
} // namespace quintrel
