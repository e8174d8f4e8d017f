// Cost of the board queries and picks a search runs at every node, on a
// middle-game position of 24 stones.
#include "board/Board.h"
#include "board/BoardQueries.h"
#include "board/FieldList.h"
#include "board/Random.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quintrel;

CBoard middleGame(int mode) {
    CBoard board;
    board.clear();
    board.setPatternMode(mode);
    rng::seed(7);
    Side s = SIDE_O;
    for (int placed = 0; placed < 24;) {
        const Field f{static_cast<std::uint8_t>(6 + rng::next() % 9), static_cast<std::uint8_t>(6 + rng::next() % 9)};
        if (!board.isEmpty(f))
            continue;
        board.place(f, s);
        s = otherSide(s);
        ++placed;
    }
    return board;
}

void BM_BestWorthFields(benchmark::State& state) {
    const CBoard board = middleGame(0);
    FieldList list;
    for (auto _ : state) {
        benchmark::DoNotOptimize(listBestWorthFields(board, SIDE_O, list));
        benchmark::DoNotOptimize(list.count);
    }
}
BENCHMARK(BM_BestWorthFields);

// The verdict's ladder when nothing is found: five, open four, double, combo.
void BM_VerdictLadder(benchmark::State& state) {
    const CBoard board = middleGame(0);
    FieldList list;
    for (auto _ : state) {
        for (Side s : {SIDE_O, SIDE_X}) {
            benchmark::DoNotOptimize(listFiveFields(board, s, list));
            benchmark::DoNotOptimize(listOpenFourFields(board, s, list));
            benchmark::DoNotOptimize(listDoubleThreatFields(board, s, list));
            benchmark::DoNotOptimize(listComboThreatFields(board, s, list));
        }
    }
}
BENCHMARK(BM_VerdictLadder);

void BM_ThreatCount(benchmark::State& state) {
    const CBoard board = middleGame(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(threatCount(board, SIDE_O) - threatCount(board, SIDE_X));
}
BENCHMARK(BM_ThreatCount)->Arg(0)->Arg(1);

// A node's full move ordering: every candidate of the region taken out by
// pickAbsoluteBest, as "Absolute best first" does.
void BM_PickAbsoluteBestAll(benchmark::State& state) {
    const CBoard board = middleGame(0);
    FieldList candidates;
    candidates.side = SIDE_O;
    const FieldRect& r = board.region[SIDE_O];
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y)
            if (board.cells[x][y] == EMPTY)
                candidates.append(Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    state.counters["candidates"] = candidates.count;
    for (auto _ : state) {
        FieldList list = candidates;
        GameMove move;
        while (pickAbsoluteBest(list, board, move, true))
            benchmark::DoNotOptimize(move);
    }
}
BENCHMARK(BM_PickAbsoluteBestAll);

void BM_ThreatClassLadder(benchmark::State& state) {
    const CBoard board = middleGame(1);
    FieldList list;
    for (auto _ : state)
        for (int bit : {0x10, 0x08, 0x04, 0x02})
            for (Side s : {SIDE_O, SIDE_X})
                benchmark::DoNotOptimize(listThreatClass(board, bit, s, list));
}
BENCHMARK(BM_ThreatClassLadder);

} // namespace
