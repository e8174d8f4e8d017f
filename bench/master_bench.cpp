// Speed of the strong engine under each rule on 15 x 15 and 19 x 19 boards:
// a trial move and its undo on every candidate of the saved mid-game
// positions, and a fixed-depth search of each (positions seen per second).
// The 15 x 15 positions are the 19 x 19 ones cut to their middle.

#include "BenchPositions.h"
#include "master/Engine.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

namespace quintrel {
namespace {

const char* const FILES[] = {"midgame_14.gam", "midgame_18.gam", "midgame_22.gam", "midgame_26.gam"};
constexpr master::Rule RULES[] = {master::Rule::FREESTYLE, master::Rule::STANDARD, master::Rule::RENJU};

master::Setup benchSetup(const char* file, int size, master::Rule rule) {
    CBoard board;
    Side side = SIDE_O;
    master::Setup setup;
    setup.width = setup.height = size;
    setup.rule = rule;
    if (!loadBenchPosition(file, board, side)) return setup;
    const int shift = (BOARD_SIZE - size) / 2;
    for (int y = 1; y <= BOARD_SIZE; ++y)
        for (int x = 1; x <= BOARD_SIZE; ++x) {
            const int px = x - 1 - shift, py = y - 1 - shift;
            if (board.cells[x][y] != EMPTY && px >= 0 && py >= 0 && px < size && py < size)
                setup.stones.push_back({{px, py}, board.cells[x][y]});
        }
    setup.toMove = side;
    return setup;
}

std::string label(master::Rule rule, int size) {
    const char* names[] = {"freestyle", "standard", "", "", "renju"};
    return std::string(names[static_cast<int>(rule)]) + " " + std::to_string(size) + "x" + std::to_string(size);
}

// range(0): the rule's index, range(1): the board's size.
void PlayAndUndo(benchmark::State& state) {
    const master::Rule rule = RULES[state.range(0)];
    const int size = static_cast<int>(state.range(1));
    std::vector<std::unique_ptr<master::Position>> positions;
    std::vector<std::vector<int>> candidates;
    for (const char* file : FILES) {
        positions.push_back(std::make_unique<master::Position>());
        positions.back()->setUp(benchSetup(file, size, rule));
        candidates.emplace_back();
        for (int c = 0; c < master::CELLS; ++c)
            if (positions.back()->isCandidate(c)) candidates.back().push_back(c);
    }
    std::int64_t pairs = 0;
    for (auto _ : state)
        for (std::size_t i = 0; i < positions.size(); ++i)
            for (int c : candidates[i]) {
                positions[i]->play(c);
                positions[i]->undo();
                ++pairs;
            }
    state.counters["pairs/s"] = benchmark::Counter(static_cast<double>(pairs), benchmark::Counter::kIsRate);
    state.SetLabel(label(rule, size));
}

void Search(benchmark::State& state) {
    const master::Rule rule = RULES[state.range(0)];
    const int size = static_cast<int>(state.range(1));
    std::atomic<int> stop{0};
    std::uint64_t nodes = 0;
    for (auto _ : state)
        for (const char* file : FILES) {
            state.PauseTiming();
            const master::Setup setup = benchSetup(file, size, rule);
            auto engine = std::make_unique<master::Engine>(); // a fresh table: the same tree every run
            state.ResumeTiming();
            nodes += engine->search(setup, master::Limits{60000, 6, 1, 64}, stop).nodes;
        }
    state.counters["SeenPos/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
    state.SetLabel(label(rule, size));
}

BENCHMARK(PlayAndUndo)->ArgsProduct({{0, 1, 2}, {15, 19}})->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(Search)->ArgsProduct({{0, 1, 2}, {15, 19}})->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
} // namespace quintrel
