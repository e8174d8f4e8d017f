#pragma once
// master::Position: the Master search's own board. Lean where the search is
// hot: one byte a cell in a padded 27 x 27 grid, and for every cell and each
// of the four lines a 16-bit code of the eight cells around it, from which
// one table lookup gives the threat class a stone there would make on that
// line, for either side. A move updates the 32 cells within reach; undo
// reverses it exactly.
//
// Invariant after every play and undo: codes, classes, counts, values and
// the hash equal what setUp() computes from the stones alone (the property
// test recomputes them after every move of random games).

#include "board/Board.h"

#include <array>
#include <cstdint>

namespace quintrel::master {

constexpr int PAD = 4;                      // a line looks four cells each way
constexpr int STRIDE = BOARD_SIZE + 2 * PAD; // 27
constexpr int CELLS = STRIDE * STRIDE;
constexpr int LINE_STEP[4] = {1, STRIDE, STRIDE + 1, STRIDE - 1};
constexpr int MAX_MOVES = BOARD_SIZE * BOARD_SIZE;

constexpr int cellOf(int x, int y) { return (y - 1 + PAD) * STRIDE + (x - 1 + PAD); } // x, y 1..19
constexpr Field fieldOf(int c) {
    return Field{static_cast<std::uint8_t>(c % STRIDE - PAD + 1), static_cast<std::uint8_t>(c / STRIDE - PAD + 1)};
}

// What one more stone of a side on an empty cell makes on one line, weakest
// first. "Flex" shapes are open (they threaten two ways), "block" shapes one way:
//   FIVE   X X X X [X]        five or more
//   F4     _ X X X [X] _      two ways to five: open four (or two fours on the line)
//   B4     O X X X [X] _      one way to five
//   F3     _ X X [X] _ _      one more stone makes F4; B3 makes only B4
//   F2/B2, F1/B1              one more stone makes F3/B3, F2/B2
//   NONE   alive, nothing yet; DEAD: no five can ever pass here on this line
enum LinePattern : std::uint8_t { DEAD, NONE, B1, F1, B2, F2, B3, F3, B4, F4, FIVE, LINE_PATTERNS };

// Pattern of a line code for side s (the code of the eight neighbours, 2 bits
// each: 0 empty, 1 O, 2 X, 3 off the board; nearest first, behind then ahead).
std::uint8_t linePattern(int side, std::uint16_t code);

// What a cell is worth to a side: per line class, for the evaluation.
constexpr std::int16_t PATTERN_VALUE[LINE_PATTERNS] = {0, 0, 1, 3, 4, 10, 10, 28, 30, 90, 300};
constexpr int COMBO_FOUR_VALUE = 300;
constexpr int COMBO_THREE_VALUE = 160;
// A cell's worth to a side from its four line classes, with the combinations.
int cellValue(const std::uint8_t lines[4]);

// A set of cells with constant-time add and remove; the order is not kept.
class CellSet {
public:
    void clear() { n = 0; }
    void add(int c) {
        index[c] = static_cast<std::int16_t>(n);
        items[n++] = static_cast<std::int16_t>(c);
    }
    void remove(int c) {
        const int i = index[c];
        const int last = items[--n];
        items[i] = static_cast<std::int16_t>(last);
        index[last] = static_cast<std::int16_t>(i);
    }
    int size() const { return n; }
    int operator[](int i) const { return items[i]; }
    bool contains(int c) const { return index[c] < n && items[index[c]] == c; }

private:
    int n = 0;
    std::int16_t items[MAX_MOVES];
    std::int16_t index[CELLS];
};

class Position {
public:
    void setUp(const CBoard& board, Side sideToMove);
    void play(int c); // a stone of the side to move
    void undo();

    int toMove() const { return side; }
    // Hands the move to the other side without a stone: threat searches ask
    // what the opponent could do if we did nothing.
    void pass() { side = 1 - side; }
    int stoneCount() const { return stones; }
    bool empty(int c) const { return cells[c] == 0; }
    // Whether one of the eight cells around c holds a stone.
    bool touchesStone(int c) const {
        for (int d = 0; d < 4; ++d)
            if (isStone(c + LINE_STEP[d]) || isStone(c - LINE_STEP[d])) return true;
        return false;
    }

    // The class a stone of s on empty cell c makes on line d.
    std::uint8_t pattern(int s, int c, int d) const { return patterns[s][c][d]; }
    // The best of the four classes, and how many lines reach B4 or better.
    bool hasPattern(int s, LinePattern p) const { return counts[s][p] > 0; }
    int value(int s, int c) const { return values[s][c]; }
    int valueSum(int s) const { return sums[s]; }
    // Empty cells where s makes five, and where s makes a four (B4 or F4).
    const CellSet& fivePoints(int s) const { return fives[s]; }
    const CellSet& fourPoints(int s) const { return fours[s]; }
    int fourLineCount(int s, int c) const { return fourLines[s][c]; } // valid on empty cells
    bool isCandidate(int c) const { return cells[c] == 0 && near[c] != 0; }
    std::uint64_t hash() const { return key; }

    // Whether everything derived from the stones equals other's (the sets as
    // sets): the incremental updates checked against setUp().
    bool sameState(const Position& other) const;

    // The candidate rectangle: stones widened by two.
    int minX = 1, maxX = 0, minY = 1, maxY = 0;

private:
    void place(int c, int s);
    void lift(int c);
    void updateLines(int c);
    void account(int c, int sign);
    void reclassify(int s, int c, std::uint8_t old, std::uint8_t now);
    bool isStone(int c) const { return cells[c] == 1 || cells[c] == 2; }
    void widen(int c); // the stones' rectangle takes in c

    std::uint8_t cells[CELLS];     // 0 empty, 1 O, 2 X, 3 off the board
    std::uint16_t codes[CELLS][4];
    std::uint8_t patterns[2][CELLS][4];
    std::int16_t values[2][CELLS]; // sum of PATTERN_VALUE over the four lines; 0 when taken
    std::uint8_t near[CELLS];      // stones within two cells along a line
    std::int32_t sums[2];
    std::int32_t counts[2][LINE_PATTERNS];
    std::uint8_t fiveLines[2][CELLS]; // lines of an empty cell in each set's class
    std::uint8_t fourLines[2][CELLS];
    CellSet fives[2];
    CellSet fours[2];
    std::uint64_t key;
    int side;
    int stones;    // on the board, the set-up's included
    int moveCount; // played since the set-up
    int moves[MAX_MOVES];
    struct Rect {
        std::int8_t minX, maxX, minY, maxY;
    } rects[MAX_MOVES + 1];
    Rect rect() const {
        return Rect{static_cast<std::int8_t>(minX), static_cast<std::int8_t>(maxX), static_cast<std::int8_t>(minY),
                    static_cast<std::int8_t>(maxY)};
    }
};

// The hash of a stone of side s on cell c.
std::uint64_t zobrist(int s, int c);

} // namespace quintrel::master
