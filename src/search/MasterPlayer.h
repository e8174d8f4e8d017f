#pragma once
// CMasterPlayer: the strongest kind. An iterative-deepening principal-variation
// search with a shared transposition table, a threat-space search for
// continuous fours, and a clock: it answers when its time per move is used,
// at once when the move is forced.
//
// Threads. The user-interface thread calls requestMove, stopThinking, reset,
// setTurnTime and the destructor; the search runs on a worker (a
// ThinkingThread, plus helper threads when more than one thread is set),
// each on its own board. A started worker is always joined before the
// player is restarted, reset or destroyed. The threads share only the
// worker's flags, the transposition table (lock-free entries) and the
// message port.

#include "master/Engine.h"
#include "players/MasterSettings.h"
#include "players/Player.h"
#include "players/ThinkingThread.h"
#include "search/SearchStatistics.h"

#include <memory>
#include <string>
#include <vector>

namespace quintrel {

class CBoard;

// Our 1-based fields and the engine's 0-based points; no point is field 0,0.
inline Field fieldOf(master::Point p) {
    return Field{static_cast<std::uint8_t>(p.x + 1), static_cast<std::uint8_t>(p.y + 1)};
}
inline master::Point pointOf(Field f) { return {f.x - 1, f.y - 1}; }
// The game window's position as the engine takes it: 19 x 19 freestyle.
master::Setup setupOf(const CBoard& board, Side side);
// The position after the first `count` of a game's moves, played from O.
master::Setup setupAfter(const std::vector<Field>& moves, std::size_t count);

class CMasterPlayer : public CPlayer {
public:
    CMasterPlayer();
    ~CMasterPlayer() override;

    const char* className() const override { return MasterSettings::CLASS_NAME; }

    // The game's requests (user-interface thread)
    void reset() override;
    void stopThinking() override;
    int requestMove(const CBoard& gameBoard, Side side) override;
    void setTurnTime(int ms) override { turnTimeMs = ms; }
    // Like requestMove, on any board and rule the engine plays: the brain's
    // games beyond the window's 19 x 19 freestyle one. The move posted is
    // the engine's point, 1-based as a field.
    int requestPosition(const master::Setup& setup);

    // Makes the table of the next search ready beforehand (a new game's
    // first move would pay for it otherwise). A running worker is ended first.
    void prepare();

    // Called on the worker after each completed iteration of the next
    // searches (for a brain's live analysis); empty for none.
    void setIterationReport(master::Report report) { iterationReport = std::move(report); }

    // One whole search on the calling thread, posting nothing: for tests,
    // tools and benchmarks. A running worker is ended first.
    int think(const CBoard& gameBoard, Side side);
    int think(const master::Setup& setup);

    // Results of the last search; read only while no worker runs.
    GameMove chosenMove() const { return bestMove; }
    const SearchStatistics& statistics() const { return stats; }
    // The log text of the last search (SeenPos ... Score, remark).
    std::string logLine() const { return lastLine; }
    bool isThinking() const { return worker.isThinking(); }

    // The settings of the next search: the definition's, else the defaults,
    // with the time per move replaced by setTurnTime's when one is set.
    MasterSettings loadSettings() const;

private:
    void threadProcedure();
    int runSearch();

    std::unique_ptr<master::Engine> engine;
    ThinkingThread worker;
    master::Report iterationReport;
    int turnTimeMs = 0;
    // Loaded when a move is requested: the worker never reads the
    // definition, which the user-interface thread may replace at any time.
    MasterSettings current;
    master::Setup position; // the position of the current request
    GameMove bestMove;
    SearchStatistics stats;
    std::string lastLine;
    WindowHandle searchWindow;
};

} // namespace quintrel
