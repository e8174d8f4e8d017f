// The per-field computations: line tables built at compile time from the
// line primitives, the merge of four lines into one record, and the direct
// cell walk for the lines the tables leave open.
#include "board/Patterns.h"

namespace quintrel::patterns {

namespace {

// ---------------------------------------------------------------------------
// Half-lines. What matters of the five cells beyond F in one direction, for
// one side, is the row of non-blocked cells up to the first blocked one and
// which of them are own stones: state = (1 << length) | ownMask, 1..63.

constexpr int HALF_STATES = 64;

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
constexpr auto CANON = buildCanon();

// One line through F as the merge needs it, as sort keys: runs
// (length << 2 | 3 - closed), jumps and splits (count << 2 | 3 - closed, 0
// when absent), forward direction first. slow: the five cells per side do
// not decide the line (a row of own stones runs on past them).
struct LineEntry {
    std::uint8_t run;
    std::uint8_t jump[2];
    std::uint8_t split[2];
    std::uint8_t slow;
    std::uint8_t unused[2];
};
static_assert(sizeof(LineEntry) == 8);

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
            LineEntry& e = table[ahead * HALF_STATES + behind];
            int n = 0, closed = 0;
            lineRun<Mode>(forward, OWN, n, closed);
            e.run = static_cast<std::uint8_t>(n << 2 | (3 - closed));
            e.jump[0] = lineJump<Mode>(forward, OWN, n, closed) ? static_cast<std::uint8_t>(n << 2 | (3 - closed)) : 0;
            e.jump[1] = lineJump<Mode>(backward, OWN, n, closed) ? static_cast<std::uint8_t>(n << 2 | (3 - closed)) : 0;
            e.split[0] = lineSplit<Mode>(forward, OWN, n, closed) ? static_cast<std::uint8_t>(n << 2 | (3 - closed)) : 0;
            e.split[1] = lineSplit<Mode>(backward, OWN, n, closed) ? static_cast<std::uint8_t>(n << 2 | (3 - closed)) : 0;
            e.slow = unknown;
        }
    }
    return table;
}

template <int Mode>
constexpr auto LINE_TABLE = buildLineTable<Mode>();

// ---------------------------------------------------------------------------
// Merging the four lines. Each key carries its position in the scan order in
// its low bits, so the largest key is the best and, at equality, the first.

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

// ---------------------------------------------------------------------------
// The table path.

template <int Mode>
void computeField(const CBoard& board, int x, int y, int s, PatternRecord& r, unsigned parts) {
    const std::uint16_t* code = board.lineCodes[x][y];
    const std::uint8_t* canon = CANON[s].data();
    const LineEntry* table = LINE_TABLE<Mode>.data();
    const LineEntry* line[4];
    for (int l = 0; l < 4; ++l) {
        const int forward = LINE_FORWARD_DIR[l];
        line[l] = &table[canon[code[forward]] * HALF_STATES + canon[code[forward + 1]]];
    }
    if (line[0]->slow | line[1]->slow | line[2]->slow | line[3]->slow) {
        const int* c = &board.cells[x][y];
        if (parts & RUNS)
            directRuns<Mode>(c, s, r);
        if (parts & JUMPS)
            directJumps<Mode>(c, s, r);
        if (parts & SPLITS)
            directSplits<Mode>(c, s, r);
        computeWorth<Mode>(r);
        return;
    }
    if (parts & RUNS) {
        unsigned keys[4];
        for (int l = 0; l < 4; ++l)
            keys[l] = unsigned(line[l]->run) << 2 | unsigned(3 - l);
        writeRuns<Mode>(keys, r);
    }
    if (parts & JUMPS) {
        unsigned keys[8];
        for (int i = 0; i < 8; ++i)
            keys[i] = orderKey(line[JUMP_LINE[i]]->jump[JUMP_FORWARD[i] ? 0 : 1], i);
        writeBestTwo<Mode>(keys, JUMP_LINE, r.jump, r.jumpClosed);
    }
    if (parts & SPLITS) {
        unsigned keys[8];
        for (int i = 0; i < 8; ++i)
            keys[i] = orderKey(line[SPLIT_LINE[i]]->split[SPLIT_FORWARD[i] ? 0 : 1], i);
        writeBestTwo<Mode>(keys, SPLIT_LINE, r.split, r.splitClosed);
    }
    computeWorth<Mode>(r);
}

template void computeField<0>(const CBoard&, int, int, int, PatternRecord&, unsigned);
template void computeField<1>(const CBoard&, int, int, int, PatternRecord&, unsigned);

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
