// The analysis worker: restarted at will, stopped at once, destroyed while
// searching; a game's positions each give one result, in order, and a stop
// ends the job with those found so far. Run under ThreadSanitizer.

#include "search/Analysis.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace quintrel {
namespace {

using namespace std::chrono_literals;

master::Setup opening(int stones) {
    master::Setup s;
    const int xy[][2] = {{9, 9}, {10, 10}, {10, 9}, {8, 9}, {11, 8}, {9, 10}, {8, 11}, {10, 11}};
    for (int i = 0; i < stones; ++i) s.stones.push_back({{xy[i][0], xy[i][1]}, i % 2});
    s.toMove = stones % 2;
    return s;
}

bool waitFor(const CAnalysis& a, const auto& done) {
    const auto end = std::chrono::steady_clock::now() + 20s;
    while (!done(a.snapshot())) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(AnalysisThread, LiveAnalysisRestartsStopsAndIsDestroyedSearching) {
    CAnalysis a;
    for (int round = 0; round < 6; ++round) {
        a.start({opening(3 + round % 4)}, master::Limits{0, 99, 1 + round % 2, 8, 2});
        if (round % 2 == 0) {
            ASSERT_TRUE(waitFor(a, [](const CAnalysis::Snapshot& s) { return s.live.depth >= 2; }));
        }
    }
    a.stop();
    const CAnalysis::Snapshot s = a.snapshot();
    EXPECT_FALSE(s.running);
    EXPECT_TRUE(s.finished.empty()) << "a stopped search gives no final result";
    EXPECT_EQ(a.snapshot().serial, s.serial) << "nothing arrives after a stop";
    CAnalysis destroyedSearching;
    destroyedSearching.start({opening(5)}, master::Limits{0, 99, 2, 8, 3});
}

TEST(AnalysisThread, AGameGivesOneResultPerPositionAndAStopKeepsThem) {
    CAnalysis a;
    std::vector<master::Setup> game;
    for (int n = 1; n <= 6; ++n) game.push_back(opening(n));
    a.start(game, master::Limits{0, 3, 1, 8, 1});
    ASSERT_TRUE(waitFor(a, [](const CAnalysis::Snapshot& s) { return !s.running; }));
    ASSERT_EQ(a.snapshot().finished.size(), game.size());
    for (std::size_t i = 0; i < game.size(); ++i) {
        const master::Result alone = master::Engine().search(game[i], master::Limits{0, 3, 1, 8, 1}, std::atomic<int>{0});
        EXPECT_EQ(a.snapshot().finished[i].move, alone.move) << "position " << i;
    }
    a.start(game, master::Limits{0, 99, 1, 8, 1});
    a.stop();
    EXPECT_LT(a.snapshot().finished.size(), game.size());
    EXPECT_FALSE(a.snapshot().running);
}

} // namespace
} // namespace quintrel
