#include "search/MasterEngine.h"

namespace quintrel::master {

// Placeholder until the search lands: the field of most combined worth.
struct Engine::Impl {};

Engine::Engine() : impl(std::make_unique<Impl>()) {}
Engine::~Engine() = default;

Result Engine::search(const CBoard& board, Side side, const Limits&, const std::atomic<int>&, const Progress&) {
    Result r;
    r.move = Field{10, 10};
    int best = -1;
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            if (board.cells[x][y] != EMPTY) continue;
            const int w = board.patterns[x][y][side].worth + board.patterns[x][y][1 - side].worth;
            if (w > best && !(board.stoneBounds.isEmpty() && (x != 10 || y != 10))) {
                best = w;
                r.move = Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
            }
        }
    return r;
}

} // namespace quintrel::master
