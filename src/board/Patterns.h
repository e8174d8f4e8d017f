#pragma once
// The per-field pattern computations of both pattern modes, internal to the
// board. For one empty field F and one side s each fills only its own bytes
// of F's record:  runs b0..b5, jumps b6..b9, splits b10..b13, worth b14
// (and the threat bits b15 in the extensive mode).
//
// The border must hold the other side's value, so a walk off the board ends
// as if at an opponent stone and needs no bounds test. The cell pointer c
// points at F inside CBoard::cells; neighbours are reached by adding steps
// (x is the major index, so one x step is a whole row of the array).
//
// Terms: own = a stone of s; blocked = an opponent stone or the border;
// stretch = the unbroken row of non-blocked fields through F on a line. A
// pattern whose stretch is shorter than 5 can never become five: dead.

#include "board/Board.h"

#include <cstdint>

namespace quintrel::patterns {

constexpr int STEP_X = GRID_SIZE;
constexpr int STEP_Y = 1;

// Runs examine the lines in the order x-line, y-line, diagonal, anti-diagonal.
constexpr int RUN_STEP[4] = {STEP_X, STEP_Y, STEP_X + STEP_Y, STEP_X - STEP_Y};
constexpr std::uint8_t RUN_TAG[4] = {LINE_TAG_X, LINE_TAG_Y, LINE_TAG_DIAG, LINE_TAG_ANTI};

// Jumps: (+1, 0), (-1, 0), (0, +1), (0, -1), (-1, -1), (+1, +1), (-1, +1), (+1, -1).
constexpr int JUMP_STEP[8] = {STEP_X,           -STEP_X,         STEP_Y,           -STEP_Y,
                              -STEP_X - STEP_Y, STEP_X + STEP_Y, -STEP_X + STEP_Y, STEP_X - STEP_Y};
constexpr std::uint8_t JUMP_TAG[8] = {LINE_TAG_X,    LINE_TAG_X,    LINE_TAG_Y,    LINE_TAG_Y,
                                      LINE_TAG_DIAG, LINE_TAG_DIAG, LINE_TAG_ANTI, LINE_TAG_ANTI};

// Splits and the update walk follow the board's direction table.
constexpr int DIR_STEP[8] = {STEP_Y,          -STEP_Y,          STEP_X,          -STEP_X,
                             STEP_X + STEP_Y, -STEP_X - STEP_Y, STEP_X - STEP_Y, -STEP_X + STEP_Y};
constexpr std::uint8_t DIR_TAG[8] = {LINE_TAG_Y,    LINE_TAG_Y,    LINE_TAG_X,    LINE_TAG_X,
                                     LINE_TAG_DIAG, LINE_TAG_DIAG, LINE_TAG_ANTI, LINE_TAG_ANTI};

// Keeps the best two (count, closed) pairs seen: higher count first, then
// fewer closed ends; at equality the earlier one stays ahead.
struct BestTwo {
    int count[2] = {0, 0};
    int closed[2] = {0, 0};
    std::uint8_t tag[2] = {0, 0};

    void offer(int n, int cl, std::uint8_t t) {
        if (n > count[0] || (n == count[0] && cl < closed[0])) {
            count[1] = count[0];
            closed[1] = closed[0];
            tag[1] = tag[0];
            count[0] = n;
            closed[0] = cl;
            tag[0] = t;
        } else if (n > count[1] || (n == count[1] && cl < closed[1])) {
            count[1] = n;
            closed[1] = cl;
            tag[1] = t;
        }
    }
};

// Runs: for each line, F plus the own stones adjacent to it, the blocked ends
// of that row, and whether the line's stretch leaves room for five.
template <int Mode>
inline void computeRuns(const int* c, int s, PatternRecord& r) {
    const int opp = 1 - s;
    // Mode 1 must tell a stretch of exactly 5 from a longer one.
    constexpr int REACH = Mode == 1 ? 5 : 4;
    int len[4], closed[4];
    for (int l = 0; l < 4; ++l) {
        const int t = RUN_STEP[l];
        const int* f = c + t;
        int ahead = 0;
        while (*f == s) {
            f += t;
            ++ahead;
        }
        const int* b = c - t;
        int behind = 0;
        while (*b == s) {
            b -= t;
            ++behind;
        }
        int length = 1 + ahead + behind;
        int cl = (*f == opp) + (*b == opp);
        if (*f != opp) {
            ++ahead;
            while (ahead < REACH && f[t] != opp) {
                f += t;
                ++ahead;
            }
        }
        if (*b != opp) {
            ++behind;
            while (behind < REACH && b[-t] != opp) {
                b -= t;
                ++behind;
            }
        }
        const int stretch = 1 + ahead + behind;
        if (stretch < 5) {
            length = 0;
            cl = 2;
        } else if constexpr (Mode == 1) {
            // _ X F X _ with blockers right behind: can only ever be a closed four.
            if (length == 3 && cl == 0 && stretch == 5)
                cl = 1;
            if (length > 5)
                length = 5;
        }
        len[l] = length;
        closed[l] = cl;
    }
    // Stable order of the four lines: longer first, then fewer closed ends.
    int order[4] = {0, 1, 2, 3};
    for (int i = 1; i < 4; ++i) {
        const int k = order[i];
        int j = i;
        while (j > 0 && (len[k] > len[order[j - 1]] ||
                         (len[k] == len[order[j - 1]] && closed[k] < closed[order[j - 1]]))) {
            order[j] = order[j - 1];
            --j;
        }
        order[j] = k;
    }
    for (int i = 0; i < 3; ++i) {
        const int l = order[i];
        if (len[l] == 0) {
            r.run[i] = 0;
            r.runClosed[i] = 0;
        } else {
            r.run[i] = static_cast<std::uint8_t>(Mode == 1 ? (RUN_TAG[l] | len[l]) : len[l]);
            r.runClosed[i] = static_cast<std::uint8_t>(closed[l]);
        }
    }
}

// Jumps: F _ X..X, own stones beyond one empty field, joined by F; own
// stones directly behind F count too (F itself only in mode 1).
template <int Mode>
inline void computeJumps(const int* c, int s, PatternRecord& r) {
    const int opp = 1 - s;
    BestTwo best;
    for (int i = 0; i < 8; ++i) {
        const int t = JUMP_STEP[i];
        if (c[t] != EMPTY || c[2 * t] != s)
            continue;
        const int* f = c + 2 * t;
        int ahead = 0; // own stones beyond the gap
        while (*f == s) {
            f += t;
            ++ahead;
        }
        const int* b = c - t;
        int behind = 0;
        while (*b == s) {
            b -= t;
            ++behind;
        }
        const int cl = (*f == opp) + (*b == opp);
        int reachAhead = ahead + 1; // the gap and the stones beyond it
        if (*f != opp) {
            ++reachAhead;
            while (reachAhead < 4 && f[t] != opp) {
                f += t;
                ++reachAhead;
            }
        }
        int reachBehind = behind;
        if (*b != opp) {
            ++reachBehind;
            while (reachBehind < 4 && b[-t] != opp) {
                b -= t;
                ++reachBehind;
            }
        }
        if (1 + reachAhead + reachBehind < 5)
            continue;
        int count = ahead + behind;
        if constexpr (Mode == 1)
            count = count + 1 > 5 ? 5 : count + 1;
        best.offer(count, cl, JUMP_TAG[i]);
    }
    for (int i = 0; i < 2; ++i) {
        r.jump[i] = static_cast<std::uint8_t>(Mode == 1 && best.count[i] ? (best.tag[i] | best.count[i]) : best.count[i]);
        r.jumpClosed[i] = static_cast<std::uint8_t>(best.closed[i]);
    }
}

// Splits: own stones next to F on a line with one gap further out.
//   F X _ X     size 2          F X _ X X   size 3
//   X F X _ X   size 3          F X X _ X   size 3
// (each one larger in mode 1, where F counts). No stretch test here.
template <int Mode>
inline void computeSplits(const int* c, int s, PatternRecord& r) {
    const int opp = 1 - s;
    BestTwo best;
    for (int i = 0; i < 8; ++i) {
        const int t = DIR_STEP[i];
        if (c[t] != s)
            continue;
        int size, far, near;
        if (c[2 * t] == EMPTY && c[3 * t] == s) {
            if (c[4 * t] == s) {
                size = 3;
                far = c[5 * t] == opp;
            } else {
                size = 2;
                far = c[4 * t] == opp;
            }
            if (size == 2 && c[-t] == s) {
                size = 3;
                near = c[-2 * t] == opp;
            } else {
                near = c[-t] == opp;
            }
        } else if (c[2 * t] == s && c[3 * t] == EMPTY && c[4 * t] == s) {
            size = 3;
            far = c[5 * t] == opp;
            near = c[-t] == opp;
        } else {
            continue;
        }
        if (size == 2 && far && near)
            continue;
        best.offer(Mode == 1 ? size + 1 : size, far + near, DIR_TAG[i]);
    }
    for (int i = 0; i < 2; ++i) {
        r.split[i] = static_cast<std::uint8_t>(Mode == 1 && best.count[i] ? (best.tag[i] | best.count[i]) : best.count[i]);
        r.splitClosed[i] = static_cast<std::uint8_t>(best.closed[i]);
    }
}

// Normal mode: the best line less its closed ends, the next lines when the
// best is worth building on, and a bonus for jumps and splits.
inline void computeWorthNormal(PatternRecord& r) {
    int w = r.run[0] - r.runClosed[0];
    if (w > 1) {
        int d = r.run[1] - r.runClosed[1];
        if (d > 1)
            d += r.run[2] - r.runClosed[2];
        w += d;
    }
    if (r.jump[0] > r.jumpClosed[0])
        w += r.jump[0] - r.jumpClosed[0];
    if (r.jump[1] > r.jumpClosed[1])
        w += r.jump[1] - r.jumpClosed[1];
    for (int i = 0; i < 2; ++i) {
        if (r.split[i] == 2)
            w += 1;
        else if (r.split[i] == 3)
            w += 1 - r.splitClosed[i];
    }
    r.worth = static_cast<std::uint8_t>(w < 0 ? 0 : w);
}

// Extensive mode: one value per line summed, and the threat bits.
void computeWorthExtensive(PatternRecord& r);

template <int Mode>
inline void computeWorth(PatternRecord& r) {
    if constexpr (Mode == 1)
        computeWorthExtensive(r);
    else
        computeWorthNormal(r);
}

template <int Mode>
inline void computeAll(const int* c, int s, PatternRecord& r) {
    computeRuns<Mode>(c, s, r);
    computeJumps<Mode>(c, s, r);
    computeSplits<Mode>(c, s, r);
    computeWorth<Mode>(r);
}

} // namespace quintrel::patterns
