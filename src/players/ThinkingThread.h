#pragma once
// The life of a player's thinking worker, written once for every kind that
// thinks on a thread: start one job, let it see a stop and an abort, and
// join it before the player starts again, is reset or is destroyed.
//
// Threads. The owner (the user-interface thread) calls start, requestStop,
// finish and the destructor; the job runs on the worker and reads `stop`
// and `abort` (atomics) and sets nothing here but `thinking`, which the
// wrapper keeps around the job.

#include <atomic>
#include <functional>
#include <thread>

namespace quintrel {

class ThinkingThread {
public:
    ThinkingThread() = default;
    ~ThinkingThread() { finish(); }
    ThinkingThread(const ThinkingThread&) = delete;
    ThinkingThread& operator=(const ThinkingThread&) = delete;

    // Ends the previous job first (see finish), then runs `job` on a new
    // thread at `priority` (-1..2, the options' thread priority; 0 leaves it
    // as the process's). False when no thread could be made.
    bool start(std::function<void()> job, int priority = 0);
    // Asks the job to answer now with what it has; it is not waited for.
    void requestStop() { stop.store(1); }
    // Asks the job to end without answering and joins it; the flags are then
    // clear for the next job. Nothing happens when no job was started.
    void finish();

    bool running() const { return thread.joinable(); }
    bool isThinking() const { return thinking.load() != 0; }
    // What the job reads: an abort makes it end at once, a stop answer now.
    const std::atomic<int>& abortFlag() const { return abort; }
    bool aborted() const { return abort.load(std::memory_order_relaxed) != 0; }
    bool stopped() const { return stop.load(std::memory_order_relaxed) != 0; }

private:
    std::thread thread;
    std::atomic<int> thinking{0};
    std::atomic<int> stop{0};
    std::atomic<int> abort{0};
};

} // namespace quintrel
