#include "search/MasterPlayer.h"

#include "board/Board.h"
#include "players/PlayerDefinition.h"
#include "master/Engine.h"

#include <chrono>
#include <cstdio>

namespace quintrel {

master::Setup setupOf(const CBoard& board, Side side) {
    master::Setup setup;
    setup.toMove = side;
    for (int y = 1; y <= BOARD_SIZE; ++y)
        for (int x = 1; x <= BOARD_SIZE; ++x)
            if (const int v = board.cells[x][y]; v != EMPTY) setup.stones.push_back({{x - 1, y - 1}, v});
    return setup;
}

master::Setup setupAfter(const std::vector<Field>& moves, std::size_t count) {
    master::Setup setup;
    for (std::size_t i = 0; i < count; ++i) setup.stones.push_back({pointOf(moves[i]), static_cast<int>(i % 2)});
    setup.toMove = static_cast<int>(count % 2);
    return setup;
}

CMasterPlayer::CMasterPlayer() : engine(std::make_unique<master::Engine>()) {}

CMasterPlayer::~CMasterPlayer() { worker.finish(); }

void CMasterPlayer::reset() { worker.finish(); }

void CMasterPlayer::stopThinking() { worker.finish(); }

void CMasterPlayer::prepare() {
    worker.finish();
    engine->prepare(loadSettings().hashMb);
}

MasterSettings CMasterPlayer::loadSettings() const {
    MasterSettings s = definition ? MasterSettings::fromBlock(definition->settings) : MasterSettings{};
    if (turnTimeMs > 0) s.timeMs = turnTimeMs;
    return s;
}

int CMasterPlayer::requestMove(const CBoard& gameBoard, Side side) { return requestPosition(setupOf(gameBoard, side)); }

int CMasterPlayer::requestPosition(const master::Setup& setup) {
    worker.finish();
    position = setup;
    current = loadSettings();
    searchWindow = window;
    return worker.start([this] { threadProcedure(); }) ? 1 : 0;
}

void CMasterPlayer::threadProcedure() {
    runSearch();
    PortMessage move;
    move.id = MSG_MOVE;
    move.lParam = bestMove.packed();
    PortMessage line;
    line.id = MSG_LOG;
    line.text = lastLine;
    postMessage(searchWindow, std::move(move));
    postMessage(searchWindow, std::move(line));
}

int CMasterPlayer::think(const CBoard& gameBoard, Side side) { return think(setupOf(gameBoard, side)); }

int CMasterPlayer::think(const master::Setup& setup) {
    worker.finish();
    position = setup;
    current = loadSettings();
    searchWindow.reset();
    return runSearch();
}

int CMasterPlayer::runSearch() {
    const MasterSettings& s = current;
    const master::Limits limits{s.timeMs, s.maxDepth, s.usableThreads(), s.hashMb};
    const auto start = std::chrono::steady_clock::now();
    const master::Result r = engine->search(position, limits, worker.abortFlag(), [this](int i, int n, master::Point p) {
        postRootProgress(searchWindow, i, n, fieldOf(p));
    }, iterationReport);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    bestMove = GameMove{fieldOf(r.move), static_cast<Side>(position.toMove)};

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
    else if (worker.aborted())
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
