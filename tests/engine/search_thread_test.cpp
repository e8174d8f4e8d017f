// The thinking thread: one worker per request, always joined before the
// player changes; the move always arrives before its log line; stopping
// delivers the best move so far with "Interrupted...".

#include "SearchTestUtil.h"
#include "ThreadTestRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace quintrel {
namespace {

using namespace quintrel::testing;
using namespace std::chrono_literals;

void waitUntilThinking(const CTreePlayer& p) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (!p.isThinking() && std::chrono::steady_clock::now() < end) std::this_thread::yield();
}

TEST(ThinkingThread, StopRightAfterRequestStillDeliversOnce) {
    const CBoard b = midGame();
    Rig rig;
    CAlphaBetaPlayer p;
    PlayerDefinition d = definitionWith(endless(), p.className());
    rig.attach(p, d);
    EXPECT_EQ(p.requestMove(b, SIDE_X), 1);
    p.stopThinking();
    EXPECT_FALSE(p.isThinking());
    EXPECT_EQ(rig.deliveries(), "ML");
    const auto moves = rig.of(MSG_MOVE);
    const GameMove m = GameMove::unpack(moves[0].lParam);
    EXPECT_EQ(m.side, SIDE_X);
    EXPECT_TRUE(m.field.onBoard());
    EXPECT_EQ(b.cell(m.field), EMPTY);
    EXPECT_TRUE(endsWith(rig.of(MSG_LOG)[0].text, "  Interrupted...")) << rig.of(MSG_LOG)[0].text;
    // Nothing more arrives afterwards.
    std::this_thread::sleep_for(5ms);
    EXPECT_EQ(rig.deliveries(), "ML");
}

TEST(ThinkingThread, StopDuringSearchPlaysBestSoFar) {
    const CBoard b = midGame();
    Rig rig;
    CMiniMaxPlayer p;
    PlayerDefinition d = definitionWith(endless(), p.className());
    rig.attach(p, d);
    ASSERT_EQ(p.requestMove(b, SIDE_X), 1);
    waitUntilThinking(p);
    std::this_thread::sleep_for(20ms);
    p.stopThinking();
    EXPECT_EQ(rig.deliveries(), "ML");
    EXPECT_TRUE(endsWith(rig.of(MSG_LOG)[0].text, "  Interrupted..."));
    // Progress and the examined field come from the root only, before the move.
    const auto progress = rig.of(MSG_PROGRESS);
    const auto examined = rig.of(MSG_EXAMINED);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.size(), examined.size());
    EXPECT_EQ(progress[0].text.substr(0, 4), "  1/");
    EXPECT_EQ(progress[0].text.size(), 7u);
    EXPECT_EQ(rig.seen.back().id, MSG_LOG);
    const Field first = Field::unpack(examined[0].lParam);
    EXPECT_EQ(b.cell(first), EMPTY);
}

TEST(ThinkingThread, FinishedSearchReportsEveryRootMove) {
    const CBoard b = midGame();
    Rig rig;
    CAlphaBetaPlayer p;
    PlayerDefinition d = definitionWith(treeSettings(1, TreeSettings::ABSOLUTE_BEST, TreeSettings::CONTURE),
                                        p.className());
    rig.attach(p, d);
    EXPECT_EQ(p.priority, 1); // a new tree player thinks at "High"
    ASSERT_EQ(p.requestMove(b, SIDE_O), 1);
    ASSERT_TRUE(rig.waitForLog(10s));
    p.reset();
    EXPECT_EQ(rig.deliveries(), "ML");
    const auto progress = rig.of(MSG_PROGRESS);
    const std::string n = progress.back().text.substr(4);
    EXPECT_EQ(progress.back().text, n + "/" + n);
    EXPECT_EQ(std::to_string(progress.size()), n.substr(n.find_first_not_of(' ')));
    EXPECT_FALSE(endsWith(rig.of(MSG_LOG)[0].text, "Interrupted..."));
    EXPECT_EQ(rig.seen.back().id, MSG_LOG);
    // The move message comes after the last examined field.
    std::size_t lastExamined = 0, move = 0;
    for (std::size_t i = 0; i < rig.seen.size(); ++i) {
        if (rig.seen[i].id == MSG_EXAMINED) lastExamined = i;
        if (rig.seen[i].id == MSG_MOVE) move = i;
    }
    EXPECT_LT(lastExamined, move);
}

// Holds the worker for a while inside the move's post, so the test can reset
// the player exactly between the move and its log line, as a game does when it
// hands the turn on as soon as the move arrives.
class SlowMoveSink : public MessageSink {
public:
    void post(PortMessage msg) override {
        const bool isMove = msg.id == MSG_MOVE;
        queue.post(std::move(msg));
        if (!isMove) return;
        moveSeen.store(true);
        std::this_thread::sleep_for(100ms);
    }
    QueueSink queue;
    std::atomic<bool> moveSeen{false};
};

TEST(ThinkingThread, ResetAfterTheMoveKeepsTheRealRemark) {
    const CBoard b = midGame();
    auto sink = std::make_shared<SlowMoveSink>();
    CAlphaBetaPlayer p;
    PlayerDefinition d = definitionWith(treeSettings(1, TreeSettings::ABSOLUTE_BEST, TreeSettings::CONTURE),
                                        p.className());
    p.definition = &d;
    p.window = sink;
    ASSERT_EQ(p.requestMove(b, SIDE_O), 1);
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!sink->moveSeen.load() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
    p.reset();
    std::string line;
    for (const auto& m : sink->queue.drain())
        if (m.id == MSG_LOG) line = m.text;
    ASSERT_FALSE(line.empty());
    EXPECT_FALSE(endsWith(line, "Interrupted...")) << line;
}

TEST(ThinkingThread, ResetOrStopWhenIdleDoesNothing) {
    Rig rig;
    CAlphaBetaPlayer p;
    PlayerDefinition d = definitionWith(treeSettings(1, 1, 3), p.className());
    rig.attach(p, d);
    p.reset();
    p.stopThinking();
    EXPECT_EQ(rig.deliveries(), "");
    ASSERT_EQ(p.requestMove(midGame(), SIDE_O), 1);
    ASSERT_TRUE(rig.waitForLog(10s));
    p.reset();
    p.stopThinking();
    p.reset();
    EXPECT_EQ(rig.deliveries(), "ML");
}

TEST(ThinkingThread, ThousandQuickRequestStopCycles) {
    const CBoard b = midGame();
    Rig rig;
    CAlphaBetaPlayer p;
    PlayerDefinition d = definitionWith(TreeSettings::alphaBetaDefaults(), p.className());
    rig.attach(p, d);
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(p.requestMove(b, i % 2), 1);
        if (i % 3 == 0) p.stopThinking();
        else if (i % 3 == 1) p.reset();
        expected += "ML";
        if (i % 50 == 0) rig.collect();
    }
    p.stopThinking();
    EXPECT_EQ(rig.deliveries(), expected);
    int side = 0;
    for (const auto& m : rig.of(MSG_MOVE)) EXPECT_EQ(GameMove::unpack(m.lParam).side, side++ % 2);
}

TEST(ThinkingThread, ExaminedSetIsReadWhileTheRootRelaxes) {
    // Nothing reaches quality 6, so every root relaxes while the view asks.
    const CBoard b = boardWith({{10, 10}}, {{12, 12}});
    Rig rig;
    CAlphaBetaPlayer p;
    PlayerDefinition d = definitionWith(
        treeSettings(2, TreeSettings::UNSORTED, TreeSettings::QUALITY, 0, true, true, 6), p.className());
    rig.attach(p, d);
    int marked = 0;
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(p.requestMove(b, SIDE_O), 1);
        for (int x = 1; x <= 19; ++x)
            for (int y = 1; y <= 19; ++y) marked += p.isCandidate(b, x, y);
        p.stopThinking();
    }
    EXPECT_EQ(rig.deliveries().size(), 40u);
    p.reset();
    // Idle again: the stored quality 6 applies, which no field reaches.
    int after = 0;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y) after += p.isCandidate(b, x, y);
    EXPECT_EQ(after, 0);
    EXPECT_EQ(d.settings, TreeSettings(treeSettings(2, 0, 4, 0, true, true, 6)).toBlock(p.className()));
    (void)marked;
}

// Once the search has ended, the player's current settings rule the examined
// set, though its worker waits to be joined until the next move.
TEST(ThinkingThread, ExaminedSetFollowsTheSettingsOnceTheSearchHasEnded) {
    const CBoard b = boardWith({{10, 10}}, {{12, 12}});
    Rig rig;
    CAlphaBetaPlayer p;
    TreeSettings s = treeSettings(1, TreeSettings::UNSORTED, TreeSettings::NO_REDUCTION);
    PlayerDefinition d = definitionWith(s, p.className());
    rig.attach(p, d);
    ASSERT_EQ(p.requestMove(b, SIDE_O), 1);
    ASSERT_TRUE(rig.waitForLog(std::chrono::seconds(30)));
    while (p.isThinking()) std::this_thread::yield();
    EXPECT_TRUE(p.isCandidate(b, 1, 19));
    s.reduction = TreeSettings::RECTANGULAR; // as Opponent's Settings would
    d.settings = s.toBlock(p.className());
    EXPECT_FALSE(p.isCandidate(b, 1, 19));
    p.reset();
}

} // namespace
} // namespace quintrel
