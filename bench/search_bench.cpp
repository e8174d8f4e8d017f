// Search speed in positions seen per second for AlphaBeta, MiniMax and
// Extensive at their default settings, and Master at its defaults with a fixed
// depth instead of its clock, on the mid-game positions of bench/positions/.
// Extensive pays for the threat classes of the extensive pattern mode at every
// node and searches deeper along the threats.
// Each search runs with a fixed seed (Master with one thread and a depth
// limit), so it sees the same tree every run; the node count is reported and
// checked against the recorded one as a guard against an unnoticed change of
// the search.

#include "BenchPositions.h"
#include "board/Board.h"
#include "board/Random.h"
#include "players/MasterSettings.h"
#include "players/PlayerDefinition.h"
#include "players/TreeSettings.h"
#include "search/AlphaBetaPlayer.h"
#include "search/ExtensivePlayer.h"
#include "search/MasterPlayer.h"
#include "search/MiniMaxPlayer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>

namespace quintrel {
namespace {

struct BenchPosition {
    const char* file;
    // Positions seen by the seeded search; 0 = not recorded yet.
    std::uint32_t alphaBetaNodes;
    std::uint32_t miniMaxNodes;
    std::uint32_t extensiveNodes;
    std::uint32_t masterNodes;
};

constexpr BenchPosition POSITIONS[] = {
    {"midgame_14.gam", 1525, 7299, 430, 91232},    {"midgame_18.gam", 24773, 30398, 7088, 109392},
    {"midgame_22.gam", 1415, 1202, 1197, 327859},   {"midgame_26.gam", 23520, 466991, 7207, 612266},
    {"midgame_30.gam", 1796, 32193, 1050, 1},       {"midgame_34.gam", 366, 239, 1, 1},
};

constexpr std::uint32_t SEED = 12345;

// Master's defaults with a depth limit in place of the clock: a fixed tree.
constexpr MasterSettings MASTER_BENCH{60000, 6, 1, 64};

PlayerSettings blockOf(const TreeSettings& s, const CPlayer& p) { return s.toBlock(p.className()); }
PlayerSettings blockOf(const MasterSettings& s, const CPlayer&) { return s.toBlock(); }

template <class Player, class Settings>
void searchPosition(benchmark::State& state, const Settings& settings,
                    std::uint32_t BenchPosition::*recordedNodes) {
    const BenchPosition& pos = POSITIONS[state.range(0)];
    CBoard board;
    Side side = SIDE_O;
    if (!loadBenchPosition(pos.file, board, side)) {
        state.SkipWithError((std::string("cannot read ") + pos.file).c_str());
        return;
    }
    Player player;
    PlayerDefinition definition;
    definition.name = "Bench";
    definition.settings = blockOf(settings, player);
    player.definition = &definition;

    std::uint64_t seen = 0;
    std::uint32_t nodes = 0;
    // Master keeps its transposition table between searches: a fresh player
    // (made and dropped untimed) gives every search the same tree.
    std::unique_ptr<Player> fresh;
    for (auto _ : state) {
        rng::seed(SEED);
        if constexpr (std::is_same_v<Player, CMasterPlayer>) {
            state.PauseTiming();
            fresh = std::make_unique<Player>();
            fresh->definition = &definition;
            state.ResumeTiming();
        }
        Player& searcher = fresh ? *fresh : player;
        benchmark::DoNotOptimize(searcher.think(board, side));
        nodes = searcher.statistics().seenPositions;
        seen += nodes;
    }
    const std::uint32_t expected = pos.*recordedNodes;
    if (expected != 0 && nodes != expected) {
        state.SkipWithError(("node count changed: " + std::to_string(nodes) + " instead of " +
                             std::to_string(expected)).c_str());
        return;
    }
    state.counters["SeenPos"] = nodes;
    state.counters["Depth"] = (fresh ? *fresh : player).statistics().maxDepthReached;
    state.counters["SeenPos/s"] = benchmark::Counter(static_cast<double>(seen), benchmark::Counter::kIsRate);
    state.SetLabel(pos.file);
}

void AlphaBetaDefaults(benchmark::State& state) {
    searchPosition<CAlphaBetaPlayer>(state, TreeSettings::alphaBetaDefaults(), &BenchPosition::alphaBetaNodes);
}
void MiniMaxDefaults(benchmark::State& state) {
    searchPosition<CMiniMaxPlayer>(state, TreeSettings::miniMaxDefaults(), &BenchPosition::miniMaxNodes);
}
void ExtensiveDefaults(benchmark::State& state) {
    searchPosition<CExtensivePlayer>(state, TreeSettings::extensiveDefaults(), &BenchPosition::extensiveNodes);
}
void MasterDefaults(benchmark::State& state) {
    searchPosition<CMasterPlayer>(state, MASTER_BENCH, &BenchPosition::masterNodes);
}

constexpr int POSITION_COUNT = static_cast<int>(sizeof POSITIONS / sizeof POSITIONS[0]);
BENCHMARK(AlphaBetaDefaults)->DenseRange(0, POSITION_COUNT - 1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(MiniMaxDefaults)->DenseRange(0, POSITION_COUNT - 1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(ExtensiveDefaults)->DenseRange(0, POSITION_COUNT - 1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(MasterDefaults)->DenseRange(0, POSITION_COUNT - 1)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace
} // namespace quintrel
