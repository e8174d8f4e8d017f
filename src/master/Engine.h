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
#include <vector>

namespace quintrel::master {

struct Limits {
    int timeMs = 1000;  // answer within this; 0: until stopped or maxDepth is done
    int maxDepth = 99;  // iterations at most
    int threads = 1;
    int hashMb = 64;
    int multiPv = 1;    // the best moves searched apart at each depth, for analysis
};

// One of the best moves: its score and the line the table holds after it.
struct Line {
    Point move;
    int score = 0;  // as Result::score
    int proved = 0; // as Result::proved
    std::vector<Point> pv; // starts with move
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
    std::vector<Line> lines; // the best moves of the last iteration, best first (up to multiPv)
};

constexpr int WIN_SCORE = 30000;

// Root progress: the i-th of n moves, on point p.
using Progress = std::function<void(int i, int n, Point p)>;
// Each completed iteration's result, on the searching thread.
using Report = std::function<void(const Result&)>;

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
                  const Progress& progress = {}, const Report& report = {});
    // Sizes the table now (and touches its memory), so that the first
    // search does not pay for it: tens of milliseconds for 64 MB.
    void prepare(int hashMb);

private:
    struct Impl;
    std::unique_ptr<Impl> impl;
};

} // namespace quintrel::master
