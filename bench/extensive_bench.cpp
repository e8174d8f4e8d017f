// Search speed of the Extensive player at its defaults, in positions seen per
// second, next to AlphaBeta's at its defaults, on the mid-game positions of
// bench/positions/. Each search runs with a fixed seed and so sees the same
// tree every run; the node count is reported with the speed. Extensive pays
// for the threat classes of the extensive pattern mode at every node and
// searches deeper along the threats; the two rates show that price.

#include "BenchPositions.h"
#include "board/Board.h"
#include "board/Random.h"
#include "players/PlayerDefinition.h"
#include "players/TreeSettings.h"
#include "search/AlphaBetaPlayer.h"
#include "search/ExtensivePlayer.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace quintrel {
namespace {

constexpr const char* POSITIONS[] = {
    "midgame_14.gam", "midgame_18.gam", "midgame_22.gam",
    "midgame_26.gam", "midgame_30.gam", "midgame_34.gam",
};
constexpr int POSITION_COUNT = static_cast<int>(sizeof POSITIONS / sizeof POSITIONS[0]);
constexpr std::uint32_t SEED = 12345;

template <class Player> void searchPosition(benchmark::State& state, const TreeSettings& settings) {
    const char* file = POSITIONS[state.range(0)];
    CBoard board;
    Side side = SIDE_O;
    if (!loadBenchPosition(file, board, side)) {
        state.SkipWithError((std::string("cannot read ") + file).c_str());
        return;
    }
    Player player;
    PlayerDefinition definition;
    definition.name = "Bench";
    definition.settings = settings.toBlock(player.className());
    player.definition = &definition;

    std::uint64_t seen = 0;
    std::uint32_t nodes = 0;
    int score = 0;
    for (auto _ : state) {
        rng::seed(SEED);
        score = player.think(board, side);
        benchmark::DoNotOptimize(score);
        nodes = player.statistics().seenPositions;
        seen += nodes;
    }
    state.counters["SeenPos"] = nodes;
    state.counters["Depth"] = player.statistics().maxDepthReached;
    state.counters["Score"] = score;
    state.counters["SeenPos/s"] =
        benchmark::Counter(static_cast<double>(seen), benchmark::Counter::kIsRate);
    state.SetLabel(file);
}

void ExtensiveDefaults(benchmark::State& state) {
    searchPosition<CExtensivePlayer>(state, TreeSettings::extensiveDefaults());
}
void AlphaBetaDefaults(benchmark::State& state) {
    searchPosition<CAlphaBetaPlayer>(state, TreeSettings::alphaBetaDefaults());
}

BENCHMARK(ExtensiveDefaults)
    ->DenseRange(0, POSITION_COUNT - 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK(AlphaBetaDefaults)
    ->DenseRange(0, POSITION_COUNT - 1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

} // namespace
} // namespace quintrel
