#pragma once
// The ".gam" file: a counted tag "GAM ", the version 256, last and current
// (all little-endian), then x and y of every recorded move. Sides are not
// stored: move i belongs to O when i is even.
//
//   offset 0   04 'G' 'A' 'M' ' '
//   offset 5   version (u32) = 256
//   offset 9   last    (i32), 0..361
//   offset 13  current (i32), 0..last + 1
//   offset 17  x0 y0 x1 y1 ... for moves 0..last, each 1..19

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/SafeFile.h"
#include "board/Types.h"

namespace quintrel {

constexpr int MAX_RECORDED_MOVES = 362;
constexpr std::uint32_t GAME_FILE_VERSION = 256;

struct LoadedGame {
    int last = -1;
    int current = 0;
    std::vector<GameMove> moves; // last + 1 moves, sides 0, 1, 0, ...
};

// The file bytes of a record; moves must hold last + 1 moves.
std::vector<std::uint8_t> encodeGame(const GameMove* moves, int last, int current);

// Reads and checks every field; no value when any check fails or the bytes
// end early. A field that occurs twice is refused as well, since replaying
// it would put a stone on an occupied field. Bytes after the moves are ignored.
std::optional<LoadedGame> decodeGame(const std::vector<std::uint8_t>& bytes);

// The largest file the format can hold: the header and 362 moves.
constexpr std::size_t MAX_GAME_FILE_SIZE = 17 + 2 * MAX_RECORDED_MOVES;

// The bytes of a regular file, at most MAX_GAME_FILE_SIZE of them: a game
// never needs more, so a huge file costs no time or memory. No value for a
// file that cannot be opened or is not a regular file (a FIFO, a device).
// Games are saved with writeFileAtomically (app/SafeFile.h).
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path);

} // namespace quintrel
