// Speed of the board where a search spends its time: a trial move and its
// take-back on crowded mid-game positions, against a full recomputation.
#include "board/Board.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace quintrel;

namespace {

struct Position {
    CBoard board;
    std::vector<Field> candidates; // empty fields next to the stones, as a search would try
};

// Mid-game positions: 50 to 80 stones of both sides crowded into the middle.
std::vector<Position> crowdedPositions(int mode) {
    std::vector<Position> positions;
    std::mt19937 gen(2024);
    for (int p = 0; p < 8; ++p) {
        Position pos;
        pos.board.clear();
        pos.board.setPatternMode(mode);
        std::uniform_int_distribution<int> near(5, 15);
        const int stones = 50 + p * 4;
        for (int i = 0; i < stones;) {
            const Field f{std::uint8_t(near(gen)), std::uint8_t(near(gen))};
            if (pos.board.cell(f) != EMPTY)
                continue;
            pos.board.place(f, i % 2);
            ++i;
        }
        for (int x = 1; x <= BOARD_SIZE; ++x)
            for (int y = 1; y <= BOARD_SIZE; ++y)
                if (pos.board.cells[x][y] == EMPTY && !pos.board.isIsolated(x, y))
                    pos.candidates.push_back(Field{std::uint8_t(x), std::uint8_t(y)});
        positions.push_back(pos);
    }
    return positions;
}

void placeAndTakeBack(benchmark::State& state) {
    const int mode = int(state.range(0));
    std::vector<Position> positions = crowdedPositions(mode);
    std::vector<MoveRecord> journal(4);
    std::int64_t pairs = 0;
    for (auto _ : state) {
        for (Position& pos : positions) {
            CBoard& b = pos.board;
            b.attachJournal(journal.data(), 4);
            Side side = SIDE_O;
            for (Field f : pos.candidates) {
                b.place(f, side);
                b.takeBack();
                side = 1 - side;
            }
            b.detachJournal(journal.data());
            pairs += std::int64_t(pos.candidates.size());
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(pairs);
    state.counters["pairs/s"] = benchmark::Counter(double(pairs), benchmark::Counter::kIsRate);
}

void recompute(benchmark::State& state) {
    const int mode = int(state.range(0));
    std::vector<Position> positions = crowdedPositions(mode);
    std::int64_t done = 0;
    for (auto _ : state) {
        for (Position& pos : positions) {
            pos.board.recomputePatterns();
            ++done;
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(done);
    state.counters["recomputes/s"] = benchmark::Counter(double(done), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(placeAndTakeBack)->Arg(PATTERN_MODE_NORMAL)->Arg(PATTERN_MODE_EXTENSIVE);
BENCHMARK(recompute)->Arg(PATTERN_MODE_NORMAL)->Arg(PATTERN_MODE_EXTENSIVE);
