#pragma once
// The saved mid-game positions (bench/positions/*.gam) the search benchmarks run on.

#include "board/Board.h"
#include "game/GameFile.h"

#include <cstddef>
#include <string>

namespace quintrel {

// The saved position on a board, and the side to move there.
inline bool loadBenchPosition(const char* file, CBoard& board, Side& side) {
    const std::string path = std::string(QUINTREL_SOURCE_DIR) + "/bench/positions/" + file;
    const auto bytes = readFileBytes(path);
    if (!bytes) return false;
    const auto game = decodeGame(*bytes);
    if (!game) return false;
    board.clear();
    for (int i = 0; i < game->current; ++i) board.place(game->moves[static_cast<std::size_t>(i)].field, i % 2);
    side = game->current % 2;
    return true;
}

} // namespace quintrel
