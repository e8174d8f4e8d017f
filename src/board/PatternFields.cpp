// The direct per-field computations: the line primitives walked over the
// cells themselves. They decide the lines the tables leave open (rows of own
// stones longer than the tables see, whose lengths have no upper bound
// here), and they are the reference the tables are tested against.
#include "board/Patterns.h"

namespace quintrel::patterns {

namespace {

// ---------------------------------------------------------------------------
// Merging the four lines. Each key carries its position in the scan order in
// its low bits, so the largest key is the best and, at equality, the first.
// Unlike the table merge these decode arithmetically: lengths are unbounded.

inline void sortDown(unsigned& a, unsigned& b) {
    const unsigned hi = a > b ? a : b;
    const unsigned lo = a > b ? b : a;
    a = hi;
    b = lo;
}

// keys[l] = runKey << 2 | (3 - l): best three, longest first, fewer closed first.
template <int Mode>
void writeRuns(unsigned (&k)[4], PatternRecord& r) {
    sortDown(k[0], k[1]);
    sortDown(k[2], k[3]);
    sortDown(k[0], k[2]);
    sortDown(k[1], k[3]);
    sortDown(k[1], k[2]);
    for (int i = 0; i < 3; ++i) {
        const unsigned length = k[i] >> 4;
        if (length == 0) {
            r.run[i] = 0;
            r.runClosed[i] = 0;
            continue;
        }
        const unsigned line = 3 - (k[i] & 3);
        r.run[i] = static_cast<std::uint8_t>(Mode == 1 ? (LINE_TAG[line] | length) : length);
        r.runClosed[i] = static_cast<std::uint8_t>(3 - ((k[i] >> 2) & 3));
    }
}

// keys[i] = key << 3 | (7 - i), or 0 when absent; the best two in order.
template <int Mode>
void writeBestTwo(const unsigned (&k)[8], const int (&lineOf)[8], std::uint8_t* count, std::uint8_t* closed) {
    unsigned first = 0;
    for (unsigned v : k)
        first = v > first ? v : first;
    unsigned second = 0;
    for (unsigned v : k)
        second = (v > second && v != first) ? v : second;
    const unsigned best[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        if (best[i] == 0) {
            count[i] = 0;
            closed[i] = 0;
            continue;
        }
        const unsigned n = best[i] >> 5;
        const int line = lineOf[7 - (best[i] & 7)];
        count[i] = static_cast<std::uint8_t>(Mode == 1 ? (LINE_TAG[line] | n) : n);
        closed[i] = static_cast<std::uint8_t>(3 - ((best[i] >> 3) & 3));
    }
}

inline unsigned orderKey(unsigned key, int i) { return key ? (key << 3 | (7 - i)) : 0; }

} // namespace

// ---------------------------------------------------------------------------
// Direct computation.

template <int Mode>
void directRuns(const int* c, int s, PatternRecord& r) {
    unsigned keys[4];
    for (int l = 0; l < 4; ++l) {
        const int t = LINE_STEP[l];
        int n = 0, closed = 0;
        lineRun<Mode>([c, t](int k) { return c[k * t]; }, s, n, closed);
        keys[l] = unsigned(n << 2 | (3 - closed)) << 2 | unsigned(3 - l);
    }
    writeRuns<Mode>(keys, r);
}

template <int Mode>
void directJumps(const int* c, int s, PatternRecord& r) {
    unsigned keys[8];
    for (int i = 0; i < 8; ++i) {
        const int t = JUMP_FORWARD[i] ? LINE_STEP[JUMP_LINE[i]] : -LINE_STEP[JUMP_LINE[i]];
        int n = 0, closed = 0;
        const bool found = lineJump<Mode>([c, t](int k) { return c[k * t]; }, s, n, closed);
        keys[i] = found ? orderKey(unsigned(n << 2 | (3 - closed)), i) : 0;
    }
    writeBestTwo<Mode>(keys, JUMP_LINE, r.jump, r.jumpClosed);
}

template <int Mode>
void directSplits(const int* c, int s, PatternRecord& r) {
    unsigned keys[8];
    for (int i = 0; i < 8; ++i) {
        const int t = SPLIT_FORWARD[i] ? LINE_STEP[SPLIT_LINE[i]] : -LINE_STEP[SPLIT_LINE[i]];
        int n = 0, closed = 0;
        const bool found = lineSplit<Mode>([c, t](int k) { return c[k * t]; }, s, n, closed);
        keys[i] = found ? orderKey(unsigned(n << 2 | (3 - closed)), i) : 0;
    }
    writeBestTwo<Mode>(keys, SPLIT_LINE, r.split, r.splitClosed);
}

template void directRuns<0>(const int*, int, PatternRecord&);
template void directRuns<1>(const int*, int, PatternRecord&);
template void directJumps<0>(const int*, int, PatternRecord&);
template void directJumps<1>(const int*, int, PatternRecord&);
template void directSplits<0>(const int*, int, PatternRecord&);
template void directSplits<1>(const int*, int, PatternRecord&);

void recomputeByDirectWalk(CBoard& board) {
    for (Side s = SIDE_O; s <= SIDE_X; ++s) {
        board.setBorder(1 - s);
        for (int x = 1; x <= BOARD_SIZE; ++x) {
            for (int y = 1; y <= BOARD_SIZE; ++y) {
                PatternRecord& r = board.patterns[x][y][s];
                if (board.cells[x][y] != EMPTY) {
                    r = PatternRecord{};
                    continue;
                }
                const int* c = &board.cells[x][y];
                if (board.patternMode == PATTERN_MODE_EXTENSIVE) {
                    directRuns<1>(c, s, r);
                    directJumps<1>(c, s, r);
                    directSplits<1>(c, s, r);
                    computeWorth<1>(r);
                } else {
                    directRuns<0>(c, s, r);
                    directJumps<0>(c, s, r);
                    directSplits<0>(c, s, r);
                    computeWorth<0>(r);
                    r.threats = 0;
                }
            }
        }
    }
}

} // namespace quintrel::patterns
