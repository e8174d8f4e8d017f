#pragma once
// Line tables for the per-field computations, internal to the board.
//
// Everything a record says about one line through F is decided by the five
// cells on either side of F, as long as no row of own stones runs on past
// them (which happens only next to a five). What matters of the five cells
// beyond F in one direction, for one side, is the row of non-blocked cells up
// to the first blocked one and which of them are own stones:
//   half-state = (1 << length) | ownMask,  1..63.
// A line is looked up by its two half-states; the table was computed by the
// line primitives of Patterns.h at compile time. The four lines of a field
// are then merged by sort keys that carry the scan position in their low
// bits, so the largest key is the best and, at equality, the first found.

#include "board/Patterns.h"

#include <array>
#include <cstdint>

namespace quintrel::patterns {

constexpr int HALF_STATES = 64;

// canon[s][code]: the half-state of a lineCodes entry for side s.
constexpr std::array<std::array<std::uint8_t, 1024>, 2> buildCanon() {
    std::array<std::array<std::uint8_t, 1024>, 2> canon{};
    for (int s = 0; s < 2; ++s) {
        for (int code = 0; code < 1024; ++code) {
            int length = 0, own = 0;
            for (int k = 0; k < 5; ++k) {
                const int v = (code >> (2 * k)) & 3;
                if (v == 1 - s || v == 3)
                    break;
                if (v == s)
                    own |= 1 << k;
                ++length;
            }
            canon[s][code] = static_cast<std::uint8_t>((1 << length) | own);
        }
    }
    return canon;
}
inline constexpr auto CANON = buildCanon();

// One line as sort keys, forward direction first:
//   run   = length << 4 | (3 - closed) << 2     (low 2 bits: line position)
//   jump  = count << 5 | (3 - closed) << 3, or 0 when absent (low 3 bits: position)
//   split = likewise
// slow: the five cells per side do not decide the line.
struct LineEntry {
    std::uint8_t run;
    std::uint8_t jump[2];
    std::uint8_t split[2];
    std::uint8_t slow;
    std::uint8_t unused[2];
};
static_assert(sizeof(LineEntry) == 8);

// Key -> record bytes (count byte with its line tag in mode 1, closed byte).
struct Decoded {
    std::uint8_t count;
    std::uint8_t closed;
};

namespace tablebuild {

constexpr int OWN = 0, BLOCKED = 1, UNKNOWN = 3; // as seen by side 0; EMPTY stays 2

constexpr void fillHalf(int (&cells)[15], int sign, int state) {
    int length = 0;
    while ((state >> (length + 1)) != 0)
        ++length;
    for (int k = 1; k <= 7; ++k) {
        int v = BLOCKED;
        if (k <= length)
            v = (state >> (k - 1)) & 1 ? OWN : EMPTY;
        else if (length == 5)
            v = UNKNOWN;
        cells[7 + sign * k] = v;
    }
}

template <int Mode>
constexpr std::array<LineEntry, HALF_STATES * HALF_STATES> buildLineTable() {
    std::array<LineEntry, HALF_STATES * HALF_STATES> table{};
    for (int ahead = 1; ahead < HALF_STATES; ++ahead) {
        for (int behind = 1; behind < HALF_STATES; ++behind) {
            int cells[15] = {};
            cells[7] = EMPTY;
            fillHalf(cells, +1, ahead);
            fillHalf(cells, -1, behind);
            bool unknown = false;
            auto forward = [&](int k) {
                const int v = cells[7 + k];
                unknown = unknown || v == UNKNOWN;
                return v;
            };
            auto backward = [&](int k) {
                const int v = cells[7 - k];
                unknown = unknown || v == UNKNOWN;
                return v;
            };
            auto key = [](bool found, int n, int closed) {
                return static_cast<std::uint8_t>(found ? (n << 5 | (3 - closed) << 3) : 0);
            };
            LineEntry& e = table[ahead * HALF_STATES + behind];
            int n = 0, closed = 0;
            lineRun<Mode>(forward, OWN, n, closed);
            e.run = static_cast<std::uint8_t>(n << 4 | (3 - closed) << 2);
            bool found = lineJump<Mode>(forward, OWN, n, closed);
            e.jump[0] = key(found, n, closed);
            found = lineJump<Mode>(backward, OWN, n, closed);
            e.jump[1] = key(found, n, closed);
            found = lineSplit<Mode>(forward, OWN, n, closed);
            e.split[0] = key(found, n, closed);
            found = lineSplit<Mode>(backward, OWN, n, closed);
            e.split[1] = key(found, n, closed);
            e.slow = unknown;
        }
    }
    return table;
}

template <int Mode>
constexpr std::array<Decoded, 256> buildRunDecode() {
    std::array<Decoded, 256> d{};
    for (int k = 0; k < 256; ++k) {
        const int length = k >> 4;
        if (length == 0)
            continue;
        const int line = 3 - (k & 3);
        d[k].count = static_cast<std::uint8_t>(Mode == 1 ? (LINE_TAG[line] | length) : length);
        d[k].closed = static_cast<std::uint8_t>(3 - ((k >> 2) & 3));
    }
    return d;
}

template <int Mode>
constexpr std::array<Decoded, 256> buildPairDecode(const int (&lineOf)[8]) {
    std::array<Decoded, 256> d{};
    for (int k = 0; k < 256; ++k) {
        const int n = k >> 5;
        if (n == 0)
            continue;
        const int line = lineOf[7 - (k & 7)];
        d[k].count = static_cast<std::uint8_t>(Mode == 1 ? (LINE_TAG[line] | n) : n);
        d[k].closed = static_cast<std::uint8_t>(3 - ((k >> 3) & 3));
    }
    return d;
}

} // namespace tablebuild

template <int Mode>
inline constexpr auto LINE_TABLE = tablebuild::buildLineTable<Mode>();
template <int Mode>
inline constexpr auto RUN_DECODE = tablebuild::buildRunDecode<Mode>();
template <int Mode>
inline constexpr auto JUMP_DECODE = tablebuild::buildPairDecode<Mode>(JUMP_LINE);
template <int Mode>
inline constexpr auto SPLIT_DECODE = tablebuild::buildPairDecode<Mode>(SPLIT_LINE);

// ---------------------------------------------------------------------------
// Merging.

inline void sortDown(unsigned& a, unsigned& b) {
    const unsigned hi = a > b ? a : b;
    const unsigned lo = a > b ? b : a;
    a = hi;
    b = lo;
}

// Keys of the four lines (x, y, diagonal, anti-diagonal): the best three.
template <int Mode>
inline void mergeRuns(unsigned k0, unsigned k1, unsigned k2, unsigned k3, PatternRecord& r) {
    sortDown(k0, k1);
    sortDown(k2, k3);
    sortDown(k0, k2);
    sortDown(k1, k3);
    sortDown(k1, k2);
    const auto& decode = RUN_DECODE<Mode>;
    r.run[0] = decode[k0].count;
    r.run[1] = decode[k1].count;
    r.run[2] = decode[k2].count;
    r.runClosed[0] = decode[k0].closed;
    r.runClosed[1] = decode[k1].closed;
    r.runClosed[2] = decode[k2].closed;
}

// Keeps the best two of a stream of distinct keys.
struct TopTwo {
    unsigned first = 0, second = 0;
    void push(unsigned v) {
        const unsigned hi = v > first ? v : first;
        const unsigned lo = v > first ? first : v;
        second = lo > second ? lo : second;
        first = hi;
    }
    void write(const std::array<Decoded, 256>& decode, std::uint8_t* count, std::uint8_t* closed) const {
        count[0] = decode[first].count;
        count[1] = decode[second].count;
        closed[0] = decode[first].closed;
        closed[1] = decode[second].closed;
    }
};

// Computes the requested parts and then the worth of the field at cell index
// ci (x * GRID_SIZE + y) for side s. Lines the tables leave open go to the
// direct walk, which needs the border set to 1 - s.
template <int Mode>
inline void computeField(const CBoard& board, int ci, int s, PatternRecord& r, unsigned parts) {
    const std::uint16_t* code = &board.lineCodes[0][0][0] + ci * 8;
    const std::uint8_t* canon = CANON[s].data();
    const LineEntry* table = LINE_TABLE<Mode>.data();
    // Direction indices: y (0, 1), x (2, 3), diagonal (4, 5), anti-diagonal (6, 7); forward first.
    const LineEntry& lx = table[canon[code[2]] * HALF_STATES + canon[code[3]]];
    const LineEntry& ly = table[canon[code[0]] * HALF_STATES + canon[code[1]]];
    const LineEntry& ld = table[canon[code[4]] * HALF_STATES + canon[code[5]]];
    const LineEntry& la = table[canon[code[6]] * HALF_STATES + canon[code[7]]];
    if (lx.slow | ly.slow | ld.slow | la.slow) [[unlikely]] {
        const int* c = &board.cells[0][0] + ci;
        if (parts & RUNS)
            directRuns<Mode>(c, s, r);
        if (parts & JUMPS)
            directJumps<Mode>(c, s, r);
        if (parts & SPLITS)
            directSplits<Mode>(c, s, r);
        computeWorth<Mode>(r);
        return;
    }
    if (parts & RUNS)
        mergeRuns<Mode>(lx.run | 3u, ly.run | 2u, ld.run | 1u, la.run | 0u, r);
    if (parts & JUMPS) {
        // (+1, 0), (-1, 0), (0, +1), (0, -1), (-1, -1), (+1, +1), (-1, +1), (+1, -1)
        TopTwo best;
        best.push(lx.jump[0] | 7u);
        best.push(lx.jump[1] | 6u);
        best.push(ly.jump[0] | 5u);
        best.push(ly.jump[1] | 4u);
        best.push(ld.jump[1] | 3u);
        best.push(ld.jump[0] | 2u);
        best.push(la.jump[1] | 1u);
        best.push(la.jump[0] | 0u);
        best.write(JUMP_DECODE<Mode>, r.jump, r.jumpClosed);
    }
    if (parts & SPLITS) {
        // The direction table order.
        TopTwo best;
        best.push(ly.split[0] | 7u);
        best.push(ly.split[1] | 6u);
        best.push(lx.split[0] | 5u);
        best.push(lx.split[1] | 4u);
        best.push(ld.split[0] | 3u);
        best.push(ld.split[1] | 2u);
        best.push(la.split[0] | 1u);
        best.push(la.split[1] | 0u);
        best.write(SPLIT_DECODE<Mode>, r.split, r.splitClosed);
    }
    computeWorth<Mode>(r);
}

} // namespace quintrel::patterns
