// Reading a brain's search report from the MESSAGE forms brains commonly use.

#include "players/BrainReport.h"

#include <gtest/gtest.h>

using namespace quintrel;

TEST(BrainReport, CommonFormsAndNonReports) {
    struct Case {
        const char* line;
        int depth; // -1: not a search report
        std::optional<long long> eval, speed;
        bool stopped;
    };
    const Case cases[] = {
        {"MESSAGE  568790     946  601257     66      8   1279539 3441514197   -24  Interrupted...",
         8, -24, 601257, true},
        {"MESSAGE 1200 10 120000 5 3 0 0 1598 Victory in 2", 3, 1598, 120000, false},
        {"MESSAGE depth 6 (stopped by time, last iteration partial) positions 3979 time_ms 448 "
         "speed_kps 8",
         6, std::nullopt, 8000, true},
        {"MESSAGE Depth 12-20 | Eval +34 | Speed 1500K | Time 980ms", 12, 34, 1500000, false},
        {"MESSAGE depth 7-15 ev -120 n 123456 n/ms 250 tm 490 pv h8 i9", 7, -120, 250000, false},
        {"message DEPTH=9 eval=-3 nps=45000", 9, -3, 45000, false},
        {"depth: 4, score: 17, speed: 2M", 4, 17, 2000000, false},
        {"MESSAGE opening book move", -1, std::nullopt, std::nullopt, false},
        {"MESSAGE eval 30 speed 100", -1, std::nullopt, std::nullopt, false},
        {"MESSAGE the search did not stop in time: played the most valuable field", -1,
         std::nullopt, std::nullopt, false},
        {"MESSAGE depth unknown", -1, std::nullopt, std::nullopt, false},
        {"MESSAGE 1 2 3 4 5 6 7", -1, std::nullopt, std::nullopt, false},
        {"", -1, std::nullopt, std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto r = parseBrainReport(c.line);
        ASSERT_EQ(r.has_value(), c.depth >= 0);
        if (!r) continue;
        EXPECT_EQ(r->depth, c.depth);
        EXPECT_EQ(r->eval, c.eval);
        EXPECT_EQ(r->speed, c.speed);
        EXPECT_EQ(r->stoppedByTime, c.stopped);
    }
}
