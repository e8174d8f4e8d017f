#pragma once
// The per-field pattern computations of both pattern modes, internal to the
// board. For one empty field F and one side s each fills only its own bytes
// of F's record:  runs b0..b5, jumps b6..b9, splits b10..b13, worth b14
// (and the threat bits b15 in the extensive mode).
//
// Terms: own = a stone of s; blocked = an opponent stone or off the board;
// stretch = the unbroken row of non-blocked fields through F on a line. A
// pattern whose stretch is shorter than 5 can never become five: dead.
//
// The line primitives below are written once and serve both the line tables
// (PatternTables.h) and the direct cell walk, which decides the rare lines
// the tables cannot and is the reference the tables are tested against.

#include "board/Board.h"

#include <array>
#include <cstdint>

namespace quintrel::patterns {

// ---------------------------------------------------------------------------
// Line primitives. get(k) is the cell k fields from F along the line (k < 0
// behind F); they read outward only as far as the pattern reaches, and never
// past the first blocked cell.

template <int Mode, class Get>
constexpr void lineRun(const Get& get, int s, int& length, int& closed) {
    const int opp = 1 - s;
    constexpr int REACH = Mode == 1 ? 5 : 4; // mode 1 tells a stretch of exactly 5 from a longer one
    int a = 1;
    while (get(a) == s)
        ++a;
    int b = 1;
    while (get(-b) == s)
        ++b;
    length = a + b - 1;
    closed = (get(a) == opp) + (get(-b) == opp);
    int ahead = a - 1;
    if (get(a) != opp) {
        ahead = a;
        while (ahead < REACH && get(ahead + 1) != opp)
            ++ahead;
    }
    int behind = b - 1;
    if (get(-b) != opp) {
        behind = b;
        while (behind < REACH && get(-(behind + 1)) != opp)
            ++behind;
    }
    const int stretch = 1 + ahead + behind;
    if (stretch < 5) {
        length = 0;
        closed = 2;
    } else if constexpr (Mode == 1) {
        // _ X F X _ between blockers: it can only ever become a closed four.
        if (length == 3 && closed == 0 && stretch == 5)
            closed = 1;
        if (length > 5)
            length = 5;
    }
}

// F _ X..X : own stones beyond one empty field, joined by F; own stones
// directly behind F count too (F itself only in mode 1). False when absent or dead.
template <int Mode, class Get>
constexpr bool lineJump(const Get& get, int s, int& count, int& closed) {
    const int opp = 1 - s;
    if (get(1) != EMPTY || get(2) != s)
        return false;
    int f = 3;
    while (get(f) == s)
        ++f;
    int b = 1;
    while (get(-b) == s)
        ++b;
    closed = (get(f) == opp) + (get(-b) == opp);
    int ahead = f - 1; // the gap and the stones beyond it
    if (get(f) != opp) {
        ahead = f;
        while (ahead < 4 && get(ahead + 1) != opp)
            ++ahead;
    }
    int behind = b - 1;
    if (get(-b) != opp) {
        behind = b;
        while (behind < 4 && get(-(behind + 1)) != opp)
            ++behind;
    }
    if (1 + ahead + behind < 5)
        return false;
    count = (f - 2) + (b - 1);
    if constexpr (Mode == 1)
        count = count + 1 > 5 ? 5 : count + 1;
    return true;
}

// Own stones next to F with one gap further out (sizes of mode 0; mode 1
// counts F too, one more):
//   F X _ X     size 2          F X _ X X   size 3
//   X F X _ X   size 3          F X X _ X   size 3
// No stretch test; a size-2 split closed at both ends is no split.
template <int Mode, class Get>
constexpr bool lineSplit(const Get& get, int s, int& size, int& closed) {
    const int opp = 1 - s;
    if (get(1) != s)
        return false;
    int far, near;
    if (get(2) == EMPTY && get(3) == s) {
        if (get(4) == s) {
            size = 3;
            far = get(5) == opp;
        } else {
            size = 2;
            far = get(4) == opp;
        }
        if (size == 2 && get(-1) == s) {
            size = 3;
            near = get(-2) == opp;
        } else {
            near = get(-1) == opp;
        }
    } else if (get(2) == s && get(3) == EMPTY && get(4) == s) {
        size = 3;
        far = get(5) == opp;
        near = get(-1) == opp;
    } else {
        return false;
    }
    if (size == 2 && far && near)
        return false;
    closed = far + near;
    if constexpr (Mode == 1)
        ++size;
    return true;
}

// ---------------------------------------------------------------------------
// Line geometry. Lines are numbered x-line, y-line, diagonal, anti-diagonal;
// a line's forward direction is (+1, 0), (0, +1), (+1, +1), (+1, -1).

constexpr std::uint8_t LINE_TAG[4] = {LINE_TAG_X, LINE_TAG_Y, LINE_TAG_DIAG, LINE_TAG_ANTI};
constexpr int LINE_STEP[4] = {GRID_SIZE, 1, GRID_SIZE + 1, GRID_SIZE - 1}; // cell-array step forward
constexpr int LINE_FORWARD_DIR[4] = {2, 0, 4, 6};                         // index into DIRECTIONS

// Jumps are taken in the direction order (+1, 0), (-1, 0), (0, +1), (0, -1),
// (-1, -1), (+1, +1), (-1, +1), (+1, -1); as (line, forward?) pairs:
constexpr int JUMP_LINE[8] = {0, 0, 1, 1, 2, 2, 3, 3};
constexpr bool JUMP_FORWARD[8] = {true, false, true, false, false, true, false, true};
// Splits follow the board's direction table:
constexpr int SPLIT_LINE[8] = {1, 1, 0, 0, 2, 2, 3, 3};
constexpr bool SPLIT_FORWARD[8] = {true, false, true, false, true, false, true, false};

// ---------------------------------------------------------------------------
// Direct computation from the cells, reading the border as the opponent
// (setBorder(1 - s) must have run). c points at F inside CBoard::cells.

template <int Mode>
void directRuns(const int* c, int s, PatternRecord& r);
template <int Mode>
void directJumps(const int* c, int s, PatternRecord& r);
template <int Mode>
void directSplits(const int* c, int s, PatternRecord& r);

// ---------------------------------------------------------------------------
// Worth from the record bytes.

// A split adds 1, a size-3 split less its closed ends: [size * 4 + closed].
constexpr signed char SPLIT_WORTH[16] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 0, -1, 0};

// Written without branches: the worth of neighbouring fields varies too much
// for a branch predictor.
inline void computeWorthNormal(PatternRecord& r) {
    const int v0 = r.run[0] - r.runClosed[0];
    const int v1 = r.run[1] - r.runClosed[1];
    const int v2 = r.run[2] - r.runClosed[2];
    // Masks rather than conditional expressions: the compiler turns those
    // into branches here.
    const int d = v1 + (v2 & -int(v1 > 1));
    int w = v0 + (d & -int(v0 > 1));
    const int j0 = r.jump[0] - r.jumpClosed[0];
    const int j1 = r.jump[1] - r.jumpClosed[1];
    w += (j0 & -int(j0 > 0)) + (j1 & -int(j1 > 0));
    w += SPLIT_WORTH[(r.split[0] & 3) * 4 + (r.splitClosed[0] & 3)];
    w += SPLIT_WORTH[(r.split[1] & 3) * 4 + (r.splitClosed[1] & 3)];
    r.worth = static_cast<std::uint8_t>(w & -int(w > 0));
}

// Extensive mode: one value per line, summed, and the threat bits.
void computeWorthExtensive(PatternRecord& r);

template <int Mode>
inline void computeWorth(PatternRecord& r) {
    if constexpr (Mode == 1)
        computeWorthExtensive(r);
    else
        computeWorthNormal(r);
}

// ---------------------------------------------------------------------------

// Parts of a record for the table path (PatternTables.h).
constexpr unsigned RUNS = 1, JUMPS = 2, SPLITS = 4, ALL_PARTS = 7;

// Every record of an empty field recomputed by the direct walk alone: the
// reference the tables are tested against.
void recomputeByDirectWalk(CBoard& board);

} // namespace quintrel::patterns
