#pragma once
// CAnalysis: Master searching positions without moving, for the analysis
// panel. One job is a list of positions, each searched to its limits in
// turn: the current position until it is stopped, or every position of a
// game for a set time. The job's reports (each completed iteration, and the
// final result of each position) are kept in a snapshot that the user
// interface copies a few times a second; nothing is posted to it.
//
// Threads. The owner calls start, stop, snapshot and the destructor; the
// search runs on a ThinkingThread. The snapshot is the only state both
// sides touch, under a mutex; stop and the destructor join the worker.

#include "master/Engine.h"
#include "players/ThinkingThread.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quintrel {

// A score as the analysis shows it, from the mover's side: "+1.3", "-0.4",
// or a proved result in the mover's moves, "Win in 7" / "Loss in 9".
std::string scoreText(int score, int proved);

class CAnalysis {
public:
    struct Snapshot {
        std::uint64_t serial = 0;     // grows with every report: equal means unchanged
        bool running = false;         // the job has not ended
        int index = 0;                // the position being searched
        master::Result live;          // its last completed iteration
        std::int64_t liveMs = 0;      // the time that iteration had taken
        std::vector<master::Result> finished; // one per position done, in order
    };

    CAnalysis();
    ~CAnalysis();
    CAnalysis(const CAnalysis&) = delete;
    CAnalysis& operator=(const CAnalysis&) = delete;

    // Ends any job, then searches each position in turn to `limits`; a time
    // of 0 searches until stop() or the depth ends it.
    void start(std::vector<master::Setup> positions, const master::Limits& limits);
    // Ends the job at once and joins it; the snapshot keeps what it found.
    void stop();
    Snapshot snapshot() const;

private:
    void run();

    std::unique_ptr<master::Engine> engine;
    ThinkingThread worker;
    std::vector<master::Setup> positions;
    master::Limits limits;
    mutable std::mutex mutex;
    Snapshot state; // guarded by mutex
};

} // namespace quintrel
