#pragma once
// The small value types every layer shares: sides, fields, rectangles, moves.

#include <cstdint>

namespace quintrel {

// 0 is O, 1 is X; the other side of s is 1 - s. Cells hold a Side or EMPTY.
using Side = int;
constexpr Side SIDE_O = 0;
constexpr Side SIDE_X = 1;
constexpr int EMPTY = 2;
constexpr int BOARD_SIZE = 19;

constexpr Side otherSide(Side s) { return 1 - s; }
constexpr char sideLetter(Side s) { return s == SIDE_O ? 'O' : 'X'; }

// A playing field, both coordinates 1..19; x is shown as a letter (1 is 'A').
struct Field {
    std::uint8_t x = 0;
    std::uint8_t y = 0;

    // The board's one-integer form: x in the low byte, y in the next.
    constexpr int packed() const { return x | (y << 8); }
    static constexpr Field unpack(int v) {
        return Field{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF)};
    }
    constexpr bool onBoard() const { return x >= 1 && x <= BOARD_SIZE && y >= 1 && y <= BOARD_SIZE; }
    friend constexpr bool operator==(Field, Field) = default;
};

// Inclusive bounds; min above max is empty, and every scan over it scans nothing.
struct FieldRect {
    int minX = BOARD_SIZE;
    int minY = BOARD_SIZE;
    int maxX = 1;
    int maxY = 1;

    static constexpr FieldRect emptyRect() { return FieldRect{}; }
    constexpr bool isEmpty() const { return maxX < minX || maxY < minY; }
    friend constexpr bool operator==(const FieldRect&, const FieldRect&) = default;
};

// A move as the game records it and as players hand it back.
struct GameMove {
    Field field;
    Side side = SIDE_O;

    // Packing used by the move message: x + 256 y + 65536 side.
    constexpr std::int32_t packed() const { return field.x + 256 * field.y + 65536 * side; }
    static constexpr GameMove unpack(std::int32_t v) {
        return GameMove{Field{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF)},
                        static_cast<Side>((v >> 16) & 0xFFFF)};
    }
    friend constexpr bool operator==(const GameMove&, const GameMove&) = default;
};

// Scores are from the point of view of the side to move.
constexpr std::int32_t SCORE_INFINITY = 2147483647;
constexpr std::int32_t SCORE_WON = 800;

} // namespace quintrel
