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
// On crowded positions this takes about two thirds of the instructions of
// walking the cells per field.

#include "board/Patterns.h"

#include <array>
#include <cstdint>
#include <cstring>

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

// One line as sort keys:
//   run   = length << 4 | (3 - closed) << 2          (low 2 bits: line position)
//   jump  = count << 5 | (3 - closed) << 3 | first, 0 | first when absent
//           (bits 1..2: line position; bit 0: 1 for the direction of the line
//           scanned first), the line's two jumps as a pair, better first;
//           jumpsForward has the forward direction scanned first,
//           jumpsBackward the backward one;
//   split = likewise, forward direction scanned first.
// slow: the five cells per side do not decide the line.
struct LineEntry {
    std::uint8_t run;
    std::uint8_t jumpsForward[2];
    std::uint8_t jumpsBackward[2];
    std::uint8_t splits[2];
    std::uint8_t slow;
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

constexpr void sortedPair(int a, int b, std::uint8_t (&pair)[2]) {
    pair[0] = static_cast<std::uint8_t>(a > b ? a : b);
    pair[1] = static_cast<std::uint8_t>(a > b ? b : a);
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
            const std::uint8_t jumpAhead = key(found, n, closed);
            found = lineJump<Mode>(backward, OWN, n, closed);
            const std::uint8_t jumpBehind = key(found, n, closed);
            found = lineSplit<Mode>(forward, OWN, n, closed);
            const std::uint8_t splitAhead = key(found, n, closed);
            found = lineSplit<Mode>(backward, OWN, n, closed);
            const std::uint8_t splitBehind = key(found, n, closed);
            sortedPair(jumpAhead | 1, jumpBehind, e.jumpsForward);
            sortedPair(jumpAhead, jumpBehind | 1, e.jumpsBackward);
            sortedPair(splitAhead | 1, splitBehind, e.splits);
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

// The best two of four lines' key pairs (each better first), given each
// line's position in the scan; keys are distinct, so exactly one line holds
// the best key, and the second best is the best of the others' first keys
// and that line's second key.
inline void mergePairs(const std::uint8_t (&p3)[2], const std::uint8_t (&p2)[2], const std::uint8_t (&p1)[2],
                       const std::uint8_t (&p0)[2], const std::array<Decoded, 256>& decode, std::uint8_t* count,
                       std::uint8_t* closed) {
    const unsigned a = p3[0] | 6u, b = p2[0] | 4u, c = p1[0] | 2u, d = p0[0];
    const unsigned ab = a > b ? a : b, cd = c > d ? c : d;
    const unsigned first = ab > cd ? ab : cd;
    // Selected by masks: which line wins is too random for a branch.
    auto pick = [first](unsigned key, unsigned next) {
        const unsigned won = 0u - unsigned(key == first);
        return (next & won) | (key & ~won);
    };
    const unsigned a2 = pick(a, p3[1] | 6u);
    const unsigned b2 = pick(b, p2[1] | 4u);
    const unsigned c2 = pick(c, p1[1] | 2u);
    const unsigned d2 = pick(d, p0[1]);
    const unsigned ab2 = a2 > b2 ? a2 : b2, cd2 = c2 > d2 ? c2 : d2;
    const unsigned second = ab2 > cd2 ? ab2 : cd2;
    count[0] = decode[first].count;
    count[1] = decode[second].count;
    closed[0] = decode[first].closed;
    closed[1] = decode[second].closed;
}

// The four line entries of the field at cell index ci (x * GRID_SIZE + y)
// for side s, in the order y, x, diagonal, anti-diagonal: the order of the
// direction indices (0, 1), (2, 3), (4, 5), (6, 7), forward first.
struct FieldLines {
    const LineEntry* line[4];
};
template <int Mode>
inline FieldLines fieldLines(const CBoard& board, int ci, int s) {
    const std::uint16_t* code = &board.lineCodes[0][0][0] + ci * 8;
    const std::uint8_t* canon = CANON[s].data();
    const LineEntry* table = LINE_TABLE<Mode>.data();
    return {{&table[canon[code[0]] * HALF_STATES + canon[code[1]]], &table[canon[code[2]] * HALF_STATES + canon[code[3]]],
             &table[canon[code[4]] * HALF_STATES + canon[code[5]]], &table[canon[code[6]] * HALF_STATES + canon[code[7]]]}};
}

// Whether the entry of the line through the field that runs towards the
// changed cell k fields away (flip: the code bits that changed there) is the
// same as before the change and decides the line. Only that line changed,
// so the record stands as it was.
template <int Mode>
inline bool lineEntryKept(const CBoard& board, const FieldLines& lines, int ci, int s, int towards, int k,
                          unsigned flip) {
    const std::uint16_t* code = &board.lineCodes[0][0][0] + ci * 8;
    const std::uint8_t* canon = CANON[s].data();
    const int forward = towards & ~1;
    const unsigned change = k <= 5 ? flip << (2 * (k - 1)) : 0;
    const unsigned oldForward = code[forward] ^ (towards == forward ? change : 0);
    const unsigned oldBackward = code[forward + 1] ^ (towards == forward ? 0 : change);
    const LineEntry& now = *lines.line[forward >> 1];
    const LineEntry& before = LINE_TABLE<Mode>[canon[oldForward] * HALF_STATES + canon[oldBackward]];
    std::uint64_t a, b;
    std::memcpy(&a, &now, sizeof a);
    std::memcpy(&b, &before, sizeof b);
    return a == b && now.slow == 0;
}

// Computes the requested parts and then the worth of the field at cell index
// ci for side s from its line entries. Lines the tables leave open go to the
// direct walk, which reads the border as the opponent and so sets it first.
template <int Mode>
inline void computeField(CBoard& board, const FieldLines& lines, int ci, int s, PatternRecord& r, unsigned parts) {
    const LineEntry& ly = *lines.line[0];
    const LineEntry& lx = *lines.line[1];
    const LineEntry& ld = *lines.line[2];
    const LineEntry& la = *lines.line[3];
    if (lx.slow | ly.slow | ld.slow | la.slow) [[unlikely]] {
        if (board.cells[0][0] != 1 - s)
            board.setBorder(1 - s); // the border is uniform: setBorder writes it whole
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
    // Jumps scan (+1, 0), (-1, 0), (0, +1), (0, -1), (-1, -1), (+1, +1), (-1, +1), (+1, -1).
    if (parts & JUMPS)
        mergePairs(lx.jumpsForward, ly.jumpsForward, ld.jumpsBackward, la.jumpsBackward, JUMP_DECODE<Mode>, r.jump,
                   r.jumpClosed);
    // Splits scan the direction table: y, x, diagonal, anti-diagonal, forward first.
    if (parts & SPLITS)
        mergePairs(ly.splits, lx.splits, ld.splits, la.splits, SPLIT_DECODE<Mode>, r.split, r.splitClosed);
    computeWorth<Mode>(r);
}

template <int Mode>
inline void computeField(CBoard& board, int ci, int s, PatternRecord& r, unsigned parts) {
    computeField<Mode>(board, fieldLines<Mode>(board, ci, s), ci, s, r, parts);
}

} // namespace quintrel::patterns
