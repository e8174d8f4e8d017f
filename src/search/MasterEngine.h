#pragma once
// The search behind CMasterPlayer, apart from its thread and messages so
// that tests and benchmarks drive it directly.

#include "board/Board.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace quintrel::master {

struct Limits {
    int timeMs = 1000;  // answer within this
    int maxDepth = 99;  // iterations at most
    int threads = 1;
    int hashMb = 64;
};

struct Result {
    Field move;
    int score = 0;          // centi-stones from the mover's view; +-WIN_SCORE - plies when proved
    int depth = 0;          // the last iteration completed
    int selDepth = 0;       // the deepest ply reached
    std::uint64_t nodes = 0;
    std::uint64_t branchSum = 0, expanded = 0, cuts = 0;
    int proved = 0;         // plies to a proved win (> 0) or loss (< 0); 0 when none
    bool forced = false;    // the only sensible move, played at once
};

constexpr int WIN_SCORE = 30000;

// Root progress: the i-th of n moves, on field f.
using Progress = std::function<void(int i, int n, Field f)>;

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Searches `board` for `side` until the limits or `stop` end it.
    Result search(const CBoard& board, Side side, const Limits& limits, const std::atomic<int>& stop,
                  const Progress& progress = {});

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace quintrel::master
