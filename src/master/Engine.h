#pragma once
// The strong engine: an iterative-deepening principal-variation search with
// a shared transposition table and threat searches for continuous fours and
// for fours and threes, on any board from 5 x 5 to 22 x 22 under freestyle,
// standard or renju. It knows nothing of the game window's board or of the
// players: it takes a position and limits and returns a result, on the
// calling thread (plus helpers when more than one thread is asked for).

#include "master/Position.h"

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
    Point move;             // {-1, -1} when the side to move has no legal move
    int score = 0;          // centi-stones from the mover's view; +-WIN_SCORE - plies when proved
    int depth = 0;          // the last iteration completed
    int selDepth = 0;       // the deepest ply reached
    std::uint64_t nodes = 0;
    std::uint64_t branchSum = 0, expanded = 0, cuts = 0;
    int proved = 0;         // plies to a proved win (> 0) or loss (< 0); 0 when none
    bool forced = false;    // the only sensible move, played at once
};

constexpr int WIN_SCORE = 30000;

// Root progress: the i-th of n moves, on point p.
using Progress = std::function<void(int i, int n, Point p)>;

class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Searches `setup` (a valid size, stones on distinct points) for the
    // side to move until the limits or `stop` end it. Under renju black's
    // answer is never a forbidden point.
    Result search(const Setup& setup, const Limits& limits, const std::atomic<int>& stop,
                  const Progress& progress = {});

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace quintrel::master
