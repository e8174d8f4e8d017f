#include "search/MasterPlayer.h"

#include "board/Board.h"
#include "players/PlayerDefinition.h"
#include "search/MasterEngine.h"

#include <chrono>
#include <cstdio>
#include <system_error>

namespace quintrel {

CMasterPlayer::CMasterPlayer() : engine(std::make_unique<master::Engine>()) {}

CMasterPlayer::~CMasterPlayer() { waitForWorker(); }

void CMasterPlayer::waitForWorker() {
    if (!thread.joinable()) return;
    interrupt.store(1);
    thread.join();
    interrupt.store(0);
}

void CMasterPlayer::reset() { waitForWorker(); }

void CMasterPlayer::stopThinking() { waitForWorker(); }

MasterSettings CMasterPlayer::loadSettings() const {
    MasterSettings s = definition ? MasterSettings::fromBlock(definition->settings) : MasterSettings{};
    if (turnTimeMs > 0) s.timeMs = turnTimeMs;
    return s;
}

int CMasterPlayer::requestMove(const CBoard& gameBoard, Side side) {
    waitForWorker();
    board = std::make_unique<CBoard>(gameBoard);
    sideToMove = side;
    current = loadSettings();
    searchWindow = window;
    try {
        thread = std::thread(&CMasterPlayer::threadProcedure, this);
    } catch (const std::system_error&) {
        return 0;
    }
    return 1;
}

void CMasterPlayer::threadProcedure() {
    thinking.store(1);
    runSearch();
    PortMessage move;
    move.id = MSG_MOVE;
    move.lParam = bestMove.packed();
    PortMessage line;
    line.id = MSG_LOG;
    line.text = lastLine;
    postMessage(searchWindow, std::move(move));
    postMessage(searchWindow, std::move(line));
    thinking.store(0);
}

int CMasterPlayer::think(const CBoard& gameBoard, Side side) {
    waitForWorker();
    board = std::make_unique<CBoard>(gameBoard);
    sideToMove = side;
    current = loadSettings();
    searchWindow.reset();
    return runSearch();
}

int CMasterPlayer::runSearch() {
    const MasterSettings& s = current;
    const master::Limits limits{s.timeMs, s.maxDepth, s.usableThreads(), s.hashMb};
    const auto start = std::chrono::steady_clock::now();
    const master::Result r = engine->search(*board, sideToMove, limits, interrupt,
                                            [this](int i, int n, Field f) { postRootProgress(searchWindow, i, n, f); });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    bestMove = GameMove{r.move, sideToMove};

    stats.clear();
    stats.timeMs = static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    stats.seenPositions = static_cast<std::uint32_t>(r.nodes);
    stats.maxDepthReached = static_cast<std::uint32_t>(r.depth);
    stats.expandedNodes = static_cast<std::uint32_t>(r.expanded);
    stats.branchSum = static_cast<std::uint32_t>(r.branchSum);
    stats.breaks = static_cast<std::uint32_t>(r.cuts);

    std::string remark;
    if (r.proved > 0)
        remark = "Victory in " + std::to_string((r.proved + 1) / 2);
    else if (r.proved < 0)
        remark = "Defeat in " + std::to_string((-r.proved) / 2);
    else if (interrupt.load() != 0)
        remark = "Interrupted...";
    // Positions per second in 64 bits: a long search sees more than 2^32 / 1000.
    const std::uint64_t perSecond = stats.timeMs == 0 ? 0 : r.nodes * 1000 / stats.timeMs;
    char numbers[128];
    std::snprintf(numbers, sizeof numbers, " %7llu %7u %7llu %6u %6u   %7u %10u %5i  ",
                  static_cast<unsigned long long>(r.nodes), stats.timeMs,
                  static_cast<unsigned long long>(perSecond), stats.averageBranch(), stats.maxDepthReached,
                  stats.breaks, 0u, r.score);
    lastLine = numbers + remark;
    return r.score;
}

} // namespace quintrel
