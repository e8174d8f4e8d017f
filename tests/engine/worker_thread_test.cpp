// The thinking-thread component every thinking kind runs on: one job at a
// time, a stop the job reads, an abort that finish() sets and clears, and
// nothing left running after finish() or the destructor.

#include "players/ThinkingThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace quintrel {
namespace {

TEST(WorkerThread, OneJobAtATimeStopAndAbortAreSeenAndCleared) {
    ThinkingThread worker;
    std::atomic<int> stage{0};
    auto job = [&] {
        stage.store(1);
        while (!worker.stopped() && !worker.aborted()) std::this_thread::yield();
        stage.store(worker.aborted() ? 3 : 2);
    };
    for (const bool stopFirst : {true, false}) {
        stage.store(0);
        ASSERT_TRUE(worker.start(job));
        while (stage.load() == 0) std::this_thread::yield();
        EXPECT_TRUE(worker.running());
        if (stopFirst) {
            worker.requestStop(); // not waited for: the job answers on its own
            while (stage.load() == 1) std::this_thread::yield();
        }
        worker.finish();
        EXPECT_EQ(stage.load(), stopFirst ? 2 : 3);
        EXPECT_FALSE(worker.running());
        EXPECT_FALSE(worker.isThinking());
        EXPECT_FALSE(worker.stopped() || worker.aborted());
    }
    // A stop asked while idle is not for the next job; start ends a running one first.
    worker.requestStop();
    std::atomic<int> ends{0};
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(worker.start([&] {
            EXPECT_FALSE(worker.stopped());
            while (!worker.aborted()) std::this_thread::yield();
            ++ends;
        }));
    worker.finish();
    EXPECT_EQ(ends.load(), 100);
    worker.finish(); // nothing to end
}

TEST(WorkerThread, DestroyingAThinkingWorkerJoinsIt) {
    std::atomic<bool> ended{false};
    {
        auto worker = std::make_unique<ThinkingThread>();
        ASSERT_TRUE(worker->start([&, w = worker.get()] {
            while (!w->aborted()) std::this_thread::yield();
            ended.store(true);
        }, 1));
        while (!worker->isThinking()) std::this_thread::yield();
    }
    EXPECT_TRUE(ended.load());
}

} // namespace
} // namespace quintrel
