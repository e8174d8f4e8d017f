// The Master player on its thinking thread, with two search threads: the move
// comes before its log line; a stop, a reset and the destructor each wait
// for the worker, however early they come.

#include "SearchTestUtil.h"
#include "ThreadTestRig.h"

#include "players/MasterSettings.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "search/MasterPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace quintrel {
namespace {

using namespace quintrel::testing;
using namespace std::chrono_literals;

PlayerDefinition twoThreads() {
    PlayerDefinition d = PlayerKindCatalogue::entry(PlayerKindCatalogue::MASTER);
    d.settings = MasterSettings{60000, 99, 2, 8}.toBlock();
    return d;
}

TEST(MasterThread, MoveThenLogLineThenStopResetAndDestroy) {
    Rig rig;
    PlayerDefinition d = twoThreads();
    const CBoard b = midGame();
    {
        CMasterPlayer p;
        rig.attach(p, d);
        p.setTurnTime(200);
        ASSERT_EQ(p.requestMove(b, SIDE_O), 1);
        ASSERT_TRUE(rig.waitForLog(20s));
        p.stopThinking();
        EXPECT_FALSE(p.isThinking());
        EXPECT_EQ(rig.deliveries(), "ML");
        const GameMove m = GameMove::unpack(rig.of(MSG_MOVE)[0].lParam);
        EXPECT_EQ(m.side, SIDE_O);
        ASSERT_TRUE(m.field.onBoard());
        EXPECT_TRUE(b.isEmpty(m.field));
        // SeenPos, Time ms, Pos/sec, Branch, MaxDepth, Breaks, SavedWork, Score.
        unsigned long columns[7] = {};
        int score = 0;
        EXPECT_EQ(std::sscanf(rig.of(MSG_LOG)[0].text.c_str(), "%lu %lu %lu %lu %lu %lu %lu %d", &columns[0],
                              &columns[1], &columns[2], &columns[3], &columns[4], &columns[5], &columns[6], &score),
                  8)
            << rig.of(MSG_LOG)[0].text;
        EXPECT_LE(columns[1], 2000u) << "a turn time of 200 ms";

        // Stopped and reset at once, again and again; then destroyed thinking.
        for (int round = 0; round < 5; ++round) {
            ASSERT_EQ(p.requestMove(b, round % 2 ? SIDE_X : SIDE_O), 1);
            if (round % 2) p.stopThinking();
            p.reset();
            EXPECT_FALSE(p.isThinking());
        }
        p.setTurnTime(0); // the stored 60 s: only a stop or the destructor ends it
        ASSERT_EQ(p.requestMove(b, SIDE_X), 1);
    }
    // Every search that ran delivered its move before its log line.
    const std::string d2 = rig.deliveries();
    for (std::size_t i = 0; i < d2.size(); i += 2)
        EXPECT_EQ(d2.substr(i, 2), "ML") << d2;
}

} // namespace
} // namespace quintrel
