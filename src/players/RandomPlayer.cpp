#include "players/RandomPlayer.h"

#include "board/Board.h"
#include "board/Random.h"

namespace quintrel {

int CRandomPlayer::requestMove(const CBoard& board, Side side) {
    GameMove m;
    m.side = side;
    // x first, then y: the order of the draws is part of a reproducible game.
    do {
        int x = rng::next() * BOARD_SIZE / 32768 + 1;
        int y = rng::next() * BOARD_SIZE / 32768 + 1;
        m.field = Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
    } while (board.cell(m.field.x, m.field.y) != EMPTY);
    deliverMove(m);
    return 1;
}

} // namespace quintrel
