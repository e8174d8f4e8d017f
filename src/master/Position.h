#pragma once
// master::Position: the strong engine's own board, for any size from 5 x 5
// to 22 x 22 and any rule. Lean where the search is hot: one byte a cell in
// a padded 32 x 32 grid (cells off the board read as a border), and for
// every cell and each of the four lines a code of the ten cells around it,
// from which one table lookup gives the class a stone there would make on
// that line, for either side. A move updates the 32 cells within reach (40
// where a six is not a five); undo reverses it exactly.
//
// Invariant after every play and undo: codes, classes, counts, values and
// the hash equal what setUp() computes from the stones alone (the property
// test recomputes them after every move of random games).

#include "master/Lines.h"

#include <cstdint>
#include <vector>

namespace quintrel::master {

constexpr int MIN_SIDE = 5;
constexpr int MAX_SIDE = 22;
constexpr int PAD = 5;       // a line looks five cells each way
constexpr int STRIDE = 32;   // MAX_SIDE + 2 * PAD
constexpr int CELLS = STRIDE * STRIDE;
constexpr int LINE_STEP[4] = {1, STRIDE, STRIDE + 1, STRIDE - 1};
constexpr int MAX_MOVES = MAX_SIDE * MAX_SIDE;

// A point of the board, 0-based, x the column and y the row from the top.
struct Point {
    int x = -1, y = -1;
    bool operator==(const Point&) const = default;
};
struct Stone {
    Point at;
    int side = 0; // 0 the first player (black), 1 the second
};

// A position as the engine's callers give it: the board, the rule, the
// stones and who moves. Nothing in it is checked but the board's size.
struct Setup {
    int width = 19, height = 19;
    Rule rule = Rule::FREESTYLE;
    std::vector<Stone> stones;
    int toMove = 0;
    bool validSize() const {
        return width >= MIN_SIDE && width <= MAX_SIDE && height >= MIN_SIDE && height <= MAX_SIDE;
    }
};

constexpr int cellOf(int x, int y) { return (y + PAD) * STRIDE + (x + PAD); }
constexpr Point pointOf(int c) { return Point{c % STRIDE - PAD, c / STRIDE - PAD}; }

// What a cell is worth to a side: per line class, for the evaluation.
constexpr std::int16_t PATTERN_VALUE[LINE_PATTERNS] = {0, 0, 1, 3, 4, 10, 10, 28, 30, 90, 300};
// Two threats from one stone on different lines: a four with a four or a
// three (FOUR_COMBO), or two threes.
enum Combo : std::uint8_t { NO_COMBO, DOUBLE_THREE, FOUR_COMBO, COMBOS };
// Two threats from one stone are worth more than the two apart: only a four
// can answer a four and a three made at once. A cell's value is its lines'
// PATTERN_VALUE plus its combination's.
constexpr int COMBO_VALUE[COMBOS] = {0, 160, 300};
constexpr Combo comboOf(int fourLines, int threeLines) {
    return fourLines >= 2 || (fourLines && threeLines) ? FOUR_COMBO : threeLines >= 2 ? DOUBLE_THREE : NO_COMBO;
}

enum class Verdict { PLAY_ON, WIN, OVERLINE, DOUBLE_FOUR, DOUBLE_THREE };
constexpr bool isFoul(Verdict v) { return v >= Verdict::OVERLINE; }
// "overline", "double four", "double three"; "" for the others.
const char* foulName(Verdict v);

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
    // The stones of `setup` on its board; the size must be valid and the
    // stones on distinct points of it.
    void setUp(const Setup& setup);
    void play(int c); // a stone of the side to move
    void undo();

    int width() const { return w; }
    int height() const { return h; }
    Rule rule() const { return ruleOf; }
    int toMove() const { return side; }
    // Hands the move to the other side without a stone: threat searches ask
    // what the opponent could do if we did nothing.
    void pass() { side = 1 - side; }
    int stoneCount() const { return stones; }
    bool empty(int c) const { return cells[c] == 0; }
    bool onBoard(int c) const { return cells[c] != 3; }
    int stoneAt(int c) const { return cells[c] - 1; } // -1 empty
    // Whether one of the eight cells around c holds a stone.
    bool touchesStone(int c) const {
        for (int d = 0; d < 4; ++d)
            if (isStone(c + LINE_STEP[d]) || isStone(c - LINE_STEP[d])) return true;
        return false;
    }

    // The class a stone of s on empty cell c makes on line d.
    std::uint8_t pattern(int s, int c, int d) const { return patterns[s][c][d]; }
    // Whether some empty cell has class p on a line for s.
    bool hasPattern(int s, LinePattern p) const { return counts[s][p] > 0; }
    int value(int s, int c) const { return values[s][c]; }
    // Empty cells with class p on a line for s (a cell counts once per line),
    // and empty cells where s makes the combination k.
    int patternCount(int s, LinePattern p) const { return counts[s][p]; }
    int comboCount(int s, Combo k) const { return comboCounts[s][k]; }
    // Empty cells where s makes five, and where s makes a four (B4 or F4).
    const CellSet& fivePoints(int s) const { return fives[s]; }
    const CellSet& fourPoints(int s) const { return fours[s]; }
    int fourLineCount(int s, int c) const { return fourLines[s][c]; } // valid on empty cells
    bool isCandidate(int c) const { return cells[c] == 0 && near[c] != 0; }
    std::uint64_t hash() const { return key; }

    // Whether s may not play on empty cell c: black's forbidden points under renju.
    bool restricted(int s) const { return s == 0 && ruleOf == Rule::RENJU; }
    bool forbidden(int s, int c) { return restricted(s) && isFoul(foulOf(c, 0)); }
    // What a stone of the side to move on empty cell c makes: the five that
    // wins under the rule, one of black's fouls under renju, or neither.
    Verdict judge(int c);

    // Whether everything derived from the stones equals other's (the sets as
    // sets): the incremental updates checked against setUp().
    bool sameState(const Position& other) const;

    // The candidate rectangle: stones widened by two.
    int minX = 0, maxX = -1, minY = 0, maxY = -1;

private:
    template <int REACH> void place(int c, int s);
    template <int REACH> void lift(int c);
    template <int REACH> void updateLines(int c);
    void account(int c, int sign);
    void reclassify(int s, int c, std::uint8_t old, std::uint8_t now);
    bool isStone(int c) const { return cells[c] == 1 || cells[c] == 2; }
    void widen(int c); // the stones' rectangle takes in c
    std::uint32_t codeFromCells(int c, int d) const;
    // The renju test for black on c, recursive through the threes: `level`
    // 0 reads the kept codes, deeper levels the cells with the stones of
    // the levels above placed.
    Verdict foulOf(int c, int level);

    const RuleTables* tables = nullptr;
    Rule ruleOf = Rule::FREESTYLE;
    int w = 0, h = 0;
    int reach = 4; // cells each way that a line's code holds
    std::uint8_t cells[CELLS];     // 0 empty, 1 black, 2 white, 3 off the board
    std::uint32_t codes[CELLS][4];
    std::uint8_t patterns[2][CELLS][4];
    std::int16_t values[2][CELLS]; // of empty cells, with the combination's; 0 when taken
    std::uint8_t near[CELLS];      // stones within two cells along a line
    std::int32_t counts[2][LINE_PATTERNS];
    std::int32_t comboCounts[2][COMBOS];
    std::uint8_t combos[2][CELLS]; // of empty cells
    std::uint8_t fiveLines[2][CELLS]; // lines of an empty cell in each set's class
    std::uint8_t fourLines[2][CELLS];
    std::uint8_t threeLines[2][CELLS]; // lines of an empty cell in class F3
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

// Black's forbidden points of a position whose side to move is black under
// renju, row by row; none otherwise.
std::vector<Point> forbiddenPoints(const Setup& setup);
// What the side to move's stone on the empty point p makes (see judge).
Verdict judgeMove(const Setup& setup, Point p);
// The index of the first of black's stones that was a foul on the stones
// given before it, its kind in `why`; -1 when none (always, but under renju).
int firstFoul(const Setup& setup, Verdict& why);

} // namespace quintrel::master
