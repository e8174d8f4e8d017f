#include "search/MasterBoard.h"

#include <algorithm>
#include <cstring>

namespace quintrel::master {

namespace {

// The classification works on nine cells of one line, the new stone in the
// middle: 0 empty, 1 own, 2 blocked (the opponent or off the board).
enum : std::uint8_t { FREE = 0, OWN = 1, BLOCKED = 2 };
using Line = std::array<std::uint8_t, 9>;

bool fiveThroughMiddle(const Line& l) {
    for (int start = 0; start <= 4; ++start) {
        bool all = true;
        for (int i = start; i < start + 5; ++i)
            all = all && l[static_cast<std::size_t>(i)] == OWN;
        if (all) return true;
    }
    return false;
}

bool alive(const Line& l) {
    for (int start = 0; start <= 4; ++start) {
        bool open = true;
        for (int i = start; i < start + 5; ++i)
            open = open && l[static_cast<std::size_t>(i)] != BLOCKED;
        if (open) return true;
    }
    return false;
}

int lineIndex(const Line& l) {
    int v = 0;
    for (auto c : l)
        v = v * 3 + c;
    return v;
}

// The class of a line whose middle stone is placed: by counting the ways to
// five, then by what one more stone can reach, a level down per stone.
std::uint8_t classify(Line& l, std::array<std::uint8_t, 19683>& memo) {
    std::uint8_t& known = memo[static_cast<std::size_t>(lineIndex(l))];
    if (known != 0xFF) return known;
    std::uint8_t result = DEAD;
    if (fiveThroughMiddle(l)) {
        result = FIVE;
    } else if (alive(l)) {
        int waysToFive = 0;
        std::uint8_t best = NONE;
        for (auto& c : l) {
            if (c != FREE) continue;
            c = OWN;
            if (fiveThroughMiddle(l)) ++waysToFive;
            c = FREE;
        }
        if (waysToFive >= 2) {
            best = F4;
        } else if (waysToFive == 1) {
            best = B4;
        } else {
            for (auto& c : l) {
                if (c != FREE) continue;
                c = OWN;
                const std::uint8_t next = classify(l, memo);
                c = FREE;
                if (next >= B2 && next <= F4) best = std::max<std::uint8_t>(best, next - 2);
            }
        }
        result = best;
    }
    known = result;
    return result;
}

struct LineTable {
    std::uint8_t pattern[2][1 << 16];
    LineTable() {
        std::array<std::uint8_t, 19683> memo;
        memo.fill(0xFF);
        for (int s = 0; s < 2; ++s)
            for (int code = 0; code < (1 << 16); ++code) {
                Line l{};
                l[4] = OWN;
                for (int slot = 0; slot < 8; ++slot) {
                    const int v = (code >> (2 * slot)) & 3;
                    const std::size_t at = static_cast<std::size_t>(slot < 4 ? 3 - slot : slot + 1);
                    l[at] = v == 0 ? FREE : v == s + 1 ? OWN : BLOCKED;
                }
                pattern[s][code] = classify(l, memo);
            }
    }
};

const LineTable& table() {
    static const LineTable t;
    return t;
}

struct ZobristKeys {
    std::uint64_t keys[2][CELLS];
    ZobristKeys() {
        std::uint64_t x = 0x9E3779B97F4A7C15ull;
        for (auto& side : keys)
            for (auto& k : side) {
                // splitmix64: fixed keys, so hashes are the same in every run
                x += 0x9E3779B97F4A7C15ull;
                std::uint64_t z = x;
                z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
                z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
                k = z ^ (z >> 31);
            }
    }
};

const ZobristKeys& zobristKeys() {
    static const ZobristKeys z;
    return z;
}

// The slot of a neighbour k cells away (k < 0 behind) in a line code.
constexpr int slotOf(int k) { return k < 0 ? -k - 1 : 3 + k; }

} // namespace

std::uint8_t linePattern(int side, std::uint16_t code) { return table().pattern[side][code]; }

int cellValue(const std::uint8_t lines[4]) {
    int v = 0, threes = 0, fours = 0;
    for (int d = 0; d < 4; ++d) {
        v += PATTERN_VALUE[lines[d]];
        threes += lines[d] == F3;
        fours += lines[d] == B4 || lines[d] == F4;
    }
    // Two threats from one stone are worth more than the two apart: only
    // a four can answer a four and a three made at once.
    if (fours >= 2 || (fours && threes)) v += COMBO_FOUR_VALUE;
    else if (threes >= 2) v += COMBO_THREE_VALUE;
    return v;
}

std::uint64_t zobrist(int s, int c) { return zobristKeys().keys[s][c]; }

void Position::setUp(const CBoard& board, Side sideToMove) {
    table(); // built before the first search, never inside one
    std::fill(std::begin(cells), std::end(cells), std::uint8_t{3});
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            const int v = board.cells[x][y];
            cells[cellOf(x, y)] = v == EMPTY ? 0 : static_cast<std::uint8_t>(v + 1);
        }
    for (int c = 0; c < CELLS; ++c)
        for (int d = 0; d < 4; ++d) {
            std::uint16_t code = 0;
            for (int k = -4; k <= 4; ++k) {
                if (k == 0) continue;
                const int n = c + k * LINE_STEP[d];
                const int v = n >= 0 && n < CELLS ? cells[n] : 3;
                code = static_cast<std::uint16_t>(code | (v << (2 * slotOf(k))));
            }
            codes[c][d] = code;
        }
    std::fill(&counts[0][0], &counts[0][0] + 2 * LINE_PATTERNS, 0);
    for (int s = 0; s < 2; ++s) {
        fives[s].clear();
        fours[s].clear();
    }
    sums[0] = sums[1] = 0;
    key = 0;
    moveCount = 0;
    stones = 0;
    minX = minY = BOARD_SIZE + 1;
    maxX = maxY = 0;
    for (int c = 0; c < CELLS; ++c) {
        near[c] = 0;
        for (int s = 0; s < 2; ++s) {
            values[s][c] = 0;
            for (int d = 0; d < 4; ++d)
                patterns[s][c][d] = cells[c] == 3 ? std::uint8_t{DEAD} : table().pattern[s][codes[c][d]];
        }
    }
    for (int c = 0; c < CELLS; ++c) {
        if (cells[c] == 0) account(c, +1);
        if (cells[c] == 1 || cells[c] == 2) {
            key ^= zobrist(cells[c] - 1, c);
            ++stones;
            widen(c);
            for (int d = 0; d < 4; ++d)
                for (int k = -2; k <= 2; ++k)
                    if (k != 0) ++near[c + k * LINE_STEP[d]];
        }
    }
    side = sideToMove;
    rects[0] = rect();
}

// Adds (+1) or removes (-1) an empty cell's classes and values from the totals.
void Position::account(int c, int sign) {
    for (int s = 0; s < 2; ++s) {
        int v = 0, five = 0, four = 0;
        for (int d = 0; d < 4; ++d) {
            const std::uint8_t p = patterns[s][c][d];
            counts[s][p] += sign;
            five += p == FIVE;
            four += p == B4 || p == F4;
        }
        v = cellValue(patterns[s][c]);
        values[s][c] = static_cast<std::int16_t>(sign > 0 ? v : 0);
        sums[s] += sign * v;
        if (sign > 0) {
            fiveLines[s][c] = static_cast<std::uint8_t>(five);
            fourLines[s][c] = static_cast<std::uint8_t>(four);
            if (five) fives[s].add(c);
            if (four) fours[s].add(c);
        } else {
            if (fiveLines[s][c]) fives[s].remove(c);
            if (fourLines[s][c]) fours[s].remove(c);
        }
    }
}

// One line of empty cell c changed class for s: the totals and sets follow.
void Position::reclassify(int s, int c, std::uint8_t old, std::uint8_t now) {
    --counts[s][old];
    ++counts[s][now];
    const int v = cellValue(patterns[s][c]);
    sums[s] += v - values[s][c];
    values[s][c] = static_cast<std::int16_t>(v);
    const int fiveDelta = (now == FIVE) - (old == FIVE);
    if (fiveDelta) {
        if (fiveLines[s][c] == 0) fives[s].add(c);
        fiveLines[s][c] = static_cast<std::uint8_t>(fiveLines[s][c] + fiveDelta);
        if (fiveLines[s][c] == 0) fives[s].remove(c);
    }
    const int fourDelta = (now == B4 || now == F4) - (old == B4 || old == F4);
    if (fourDelta) {
        if (fourLines[s][c] == 0) fours[s].add(c);
        fourLines[s][c] = static_cast<std::uint8_t>(fourLines[s][c] + fourDelta);
        if (fourLines[s][c] == 0) fours[s].remove(c);
    }
}

// The 32 cells within reach of c on its four lines get their new class for
// both sides; only empty ones count in the totals.
void Position::updateLines(int c) {
    const auto& t = table().pattern;
    for (int d = 0; d < 4; ++d) {
        const int step = LINE_STEP[d];
        for (int k = -4; k <= 4; ++k) {
            if (k == 0) continue;
            const int n = c + k * step;
            if (cells[n] == 3) continue;
            const std::uint16_t code = codes[n][d];
            for (int s = 0; s < 2; ++s) {
                const std::uint8_t old = patterns[s][n][d];
                const std::uint8_t now = t[s][code];
                if (old == now) continue;
                patterns[s][n][d] = now;
                if (cells[n] == 0) reclassify(s, n, old, now);
            }
        }
    }
}

void Position::place(int c, int s) {
    account(c, -1);
    cells[c] = static_cast<std::uint8_t>(s + 1);
    for (int d = 0; d < 4; ++d) {
        const int step = LINE_STEP[d];
        for (int k = 1; k <= 4; ++k) {
            codes[c - k * step][d] = static_cast<std::uint16_t>(codes[c - k * step][d] + ((s + 1) << (2 * slotOf(k))));
            codes[c + k * step][d] = static_cast<std::uint16_t>(codes[c + k * step][d] + ((s + 1) << (2 * slotOf(-k))));
        }
        for (int k = 1; k <= 2; ++k) {
            ++near[c - k * step];
            ++near[c + k * step];
        }
    }
    updateLines(c);
    key ^= zobrist(s, c);
}

void Position::lift(int c) {
    const int s = cells[c] - 1;
    cells[c] = 0;
    for (int d = 0; d < 4; ++d) {
        const int step = LINE_STEP[d];
        for (int k = 1; k <= 4; ++k) {
            codes[c - k * step][d] = static_cast<std::uint16_t>(codes[c - k * step][d] - ((s + 1) << (2 * slotOf(k))));
            codes[c + k * step][d] = static_cast<std::uint16_t>(codes[c + k * step][d] - ((s + 1) << (2 * slotOf(-k))));
        }
        for (int k = 1; k <= 2; ++k) {
            --near[c - k * step];
            --near[c + k * step];
        }
    }
    updateLines(c);
    account(c, +1);
    key ^= zobrist(s, c);
}

void Position::widen(int c) {
    const Field f = fieldOf(c);
    minX = std::min<int>(minX, f.x);
    maxX = std::max<int>(maxX, f.x);
    minY = std::min<int>(minY, f.y);
    maxY = std::max<int>(maxY, f.y);
}

void Position::play(int c) {
    place(c, side);
    moves[moveCount++] = c;
    ++stones;
    widen(c);
    rects[moveCount] = rect();
    side = 1 - side;
}

void Position::undo() {
    const int c = moves[--moveCount];
    --stones;
    lift(c);
    side = 1 - side;
    const Rect& r = rects[moveCount];
    minX = r.minX;
    maxX = r.maxX;
    minY = r.minY;
    maxY = r.maxY;
}

} // namespace quintrel::master

namespace quintrel::master {

bool Position::sameState(const Position& o) const {
    if (key != o.key || side != o.side || sums[0] != o.sums[0] || sums[1] != o.sums[1]) return false;
    if (std::memcmp(counts, o.counts, sizeof counts) != 0) return false;
    for (int c = 0; c < CELLS; ++c) {
        if (cells[c] != o.cells[c] || near[c] != o.near[c]) return false;
        if (cells[c] == 3) continue;
        if (std::memcmp(codes[c], o.codes[c], sizeof codes[c]) != 0) return false;
        for (int s = 0; s < 2; ++s) {
            if (std::memcmp(patterns[s][c], o.patterns[s][c], 4) != 0 || values[s][c] != o.values[s][c]) return false;
            if (cells[c] == 0 && (fives[s].contains(c) != o.fives[s].contains(c) ||
                                  fours[s].contains(c) != o.fours[s].contains(c)))
                return false;
        }
    }
    for (int s = 0; s < 2; ++s)
        if (fives[s].size() != o.fives[s].size() || fours[s].size() != o.fours[s].size()) return false;
    return true;
}

} // namespace quintrel::master
