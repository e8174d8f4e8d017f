#include "master/Position.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace quintrel::master {

namespace {

struct ZobristKeys {
    std::uint64_t keys[2][CELLS] = {};
    ZobristKeys() {
        // splitmix64 over a 27 x 27 grid, as the keys were first drawn: fixed
        // keys, so hashes (and the searches' trees) are the same in every run.
        constexpr int OLD_STRIDE = 27;
        std::uint64_t drawn[2][OLD_STRIDE * OLD_STRIDE];
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        for (auto& side : drawn)
            for (auto& k : side) {
                state += 0x9E3779B97F4A7C15ull;
                std::uint64_t z = state;
                z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
                z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
                k = z ^ (z >> 31);
            }
        for (int s = 0; s < 2; ++s)
            for (int y = 0; y < MAX_SIDE; ++y)
                for (int x = 0; x < MAX_SIDE; ++x)
                    keys[s][cellOf(x, y)] = drawn[s][(y + 4) * OLD_STRIDE + (x + 4)];
    }
};

const ZobristKeys& zobristKeys() {
    static const ZobristKeys z;
    return z;
}

} // namespace

std::uint64_t zobrist(int s, int c) { return zobristKeys().keys[s][c]; }

std::uint32_t Position::codeFromCells(int c, int d) const {
    std::uint32_t code = 0;
    for (int k = -reach; k <= reach; ++k) {
        if (k == 0) continue;
        const int n = c + k * LINE_STEP[d];
        const std::uint32_t v = n >= 0 && n < CELLS ? cells[n] : 3;
        code |= v << (2 * slotOf(k));
    }
    return code;
}

void Position::setUp(const Setup& setup) {
    tables = &tablesFor(setup.rule);
    ruleOf = setup.rule;
    // Five or more is told from four cells each way; the fifth cell is kept
    // in the codes only where a six is not a five.
    reach = setup.rule == Rule::FREESTYLE ? 4 : 5;
    w = setup.width;
    h = setup.height;
    std::fill(std::begin(cells), std::end(cells), std::uint8_t{3});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            cells[cellOf(x, y)] = 0;
    for (const Stone& s : setup.stones)
        cells[cellOf(s.at.x, s.at.y)] = static_cast<std::uint8_t>(s.side + 1);
    for (int c = 0; c < CELLS; ++c)
        for (int d = 0; d < 4; ++d)
            codes[c][d] = codeFromCells(c, d);
    std::fill(&counts[0][0], &counts[0][0] + 2 * LINE_PATTERNS, 0);
    std::fill(&comboCounts[0][0], &comboCounts[0][0] + 2 * COMBOS, 0);
    for (int s = 0; s < 2; ++s) {
        fives[s].clear();
        fours[s].clear();
    }
    key = 0;
    moveCount = 0;
    stones = 0;
    minX = minY = MAX_SIDE;
    maxX = maxY = -1;
    for (int c = 0; c < CELLS; ++c) {
        near[c] = 0;
        for (int s = 0; s < 2; ++s) {
            values[s][c] = 0;
            for (int d = 0; d < 4; ++d)
                patterns[s][c][d] =
                    cells[c] == 3 ? std::uint8_t{DEAD} : tables->pattern[s][codes[c][d] & tables->mask[s]];
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
    side = setup.toMove;
    rects[0] = rect();
}

// Adds (+1) or removes (-1) an empty cell's classes and values from the totals.
void Position::account(int c, int sign) {
    for (int s = 0; s < 2; ++s) {
        int v = 0, five = 0, four = 0, three = 0;
        for (int d = 0; d < 4; ++d) {
            const std::uint8_t p = patterns[s][c][d];
            counts[s][p] += sign;
            v += PATTERN_VALUE[p];
            five += p == FIVE;
            four += p == B4 || p == F4;
            three += p == F3;
        }
        const Combo combo = comboOf(four, three);
        v += COMBO_VALUE[combo];
        values[s][c] = static_cast<std::int16_t>(sign > 0 ? v : 0);
        if (sign > 0) combos[s][c] = combo;
        comboCounts[s][combos[s][c]] += sign; // a taken cell leaves with the combination it had
        if (sign > 0) {
            fiveLines[s][c] = static_cast<std::uint8_t>(five);
            fourLines[s][c] = static_cast<std::uint8_t>(four);
            threeLines[s][c] = static_cast<std::uint8_t>(three);
            if (five) fives[s].add(c);
            if (four) fours[s].add(c);
        } else {
            if (fiveLines[s][c]) fives[s].remove(c);
            if (fourLines[s][c]) fours[s].remove(c);
        }
    }
}

// One line of empty cell c changed class for s: the totals and sets follow.
// The cell's value moves by the line's difference and its combination's, so
// the other three lines are not read again.
void Position::reclassify(int s, int c, std::uint8_t old, std::uint8_t now) {
    --counts[s][old];
    ++counts[s][now];
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
    threeLines[s][c] = static_cast<std::uint8_t>(threeLines[s][c] + (now == F3) - (old == F3));
    const Combo was = static_cast<Combo>(combos[s][c]);
    const Combo k = comboOf(fourLines[s][c], threeLines[s][c]);
    const int v = values[s][c] + PATTERN_VALUE[now] - PATTERN_VALUE[old] + COMBO_VALUE[k] - COMBO_VALUE[was];
    values[s][c] = static_cast<std::int16_t>(v);
    if (k != was) {
        --comboCounts[s][was];
        ++comboCounts[s][k];
        combos[s][c] = k;
    }
}

// The cells within reach of c on its four lines get their new class for
// both sides; only empty ones count in the totals.
template <int REACH>
void Position::updateLines(int c) {
    const std::uint8_t* t[2] = {tables->pattern[0], tables->pattern[1]};
    const std::uint32_t mask[2] = {REACH == 4 ? 0xFFFF : tables->mask[0], REACH == 4 ? 0xFFFF : tables->mask[1]};
    for (int d = 0; d < 4; ++d) {
        const int step = LINE_STEP[d];
        for (int k = -REACH; k <= REACH; ++k) {
            if (k == 0) continue;
            const int n = c + k * step;
            if (cells[n] == 3) continue;
            const std::uint32_t code = codes[n][d];
            for (int s = 0; s < 2; ++s) {
                const std::uint8_t old = patterns[s][n][d];
                const std::uint8_t now = t[s][code & mask[s]];
                if (old == now) continue;
                patterns[s][n][d] = now;
                if (cells[n] == 0) reclassify(s, n, old, now);
            }
        }
    }
}

template <int REACH>
void Position::place(int c, int s) {
    account(c, -1);
    cells[c] = static_cast<std::uint8_t>(s + 1);
    const std::uint32_t v = static_cast<std::uint32_t>(s + 1);
    for (int d = 0; d < 4; ++d) {
        const int step = LINE_STEP[d];
        for (int k = 1; k <= REACH; ++k) {
            codes[c - k * step][d] += v << (2 * slotOf(k));
            codes[c + k * step][d] += v << (2 * slotOf(-k));
        }
        for (int k = 1; k <= 2; ++k) {
            ++near[c - k * step];
            ++near[c + k * step];
        }
    }
    updateLines<REACH>(c);
    key ^= zobrist(s, c);
}

template <int REACH>
void Position::lift(int c) {
    const int s = cells[c] - 1;
    cells[c] = 0;
    const std::uint32_t v = static_cast<std::uint32_t>(s + 1);
    for (int d = 0; d < 4; ++d) {
        const int step = LINE_STEP[d];
        for (int k = 1; k <= REACH; ++k) {
            codes[c - k * step][d] -= v << (2 * slotOf(k));
            codes[c + k * step][d] -= v << (2 * slotOf(-k));
        }
        for (int k = 1; k <= 2; ++k) {
            --near[c - k * step];
            --near[c + k * step];
        }
    }
    updateLines<REACH>(c);
    account(c, +1);
    key ^= zobrist(s, c);
}

void Position::widen(int c) {
    const Point p = pointOf(c);
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
}

void Position::play(int c) {
    if (reach == 4) place<4>(c, side);
    else place<5>(c, side);
    moves[moveCount++] = c;
    ++stones;
    widen(c);
    rects[moveCount] = rect();
    side = 1 - side;
}

void Position::undo() {
    const int c = moves[--moveCount];
    --stones;
    if (reach == 4) lift<4>(c);
    else lift<5>(c);
    side = 1 - side;
    const Rect& r = rects[moveCount];
    minX = r.minX;
    maxX = r.maxX;
    minY = r.minY;
    maxY = r.maxY;
}

// Five first: a move that makes exactly five is never forbidden. Then an
// overline or two fours forbid it; two threes do, counting a three only
// when one of its straight-four points is not forbidden itself, with this
// stone on the board.
Verdict Position::foulOf(int c, int level) {
    RenjuLine line[4];
    int fourCount = 0, threeLines = 0;
    for (int d = 0; d < 4; ++d) {
        line[d] = tables->renju[level == 0 ? codes[c][d] : codeFromCells(c, d)];
        if (line[d].five) return Verdict::WIN;
    }
    for (int d = 0; d < 4; ++d) {
        if (line[d].overline) return Verdict::OVERLINE;
        fourCount += line[d].fours;
        threeLines += line[d].straightFourAt != 0;
    }
    if (fourCount >= 2) return Verdict::DOUBLE_FOUR;
    if (threeLines < 2) return Verdict::PLAY_ON;
    cells[c] = 1;
    int threes = 0;
    for (int d = 0; d < 4 && threes < 2; ++d) {
        for (int k = -PAD; k <= PAD; ++k) {
            if (!(line[d].straightFourAt >> (k + PAD) & 1)) continue;
            const Verdict v = foulOf(c + k * LINE_STEP[d], level + 1);
            if (v == Verdict::PLAY_ON || v == Verdict::WIN) {
                ++threes;
                break;
            }
        }
    }
    cells[c] = 0;
    return threes >= 2 ? Verdict::DOUBLE_THREE : Verdict::PLAY_ON;
}

Verdict Position::judge(int c) {
    if (restricted(side)) return foulOf(c, 0);
    return fiveLines[side][c] ? Verdict::WIN : Verdict::PLAY_ON;
}

const char* foulName(Verdict v) {
    switch (v) {
    case Verdict::OVERLINE: return "overline";
    case Verdict::DOUBLE_FOUR: return "double four";
    case Verdict::DOUBLE_THREE: return "double three";
    default: return "";
    }
}

std::vector<Point> forbiddenPoints(const Setup& setup) {
    std::vector<Point> out;
    if (setup.rule != Rule::RENJU || setup.toMove != 0) return out;
    auto pos = std::make_unique<Position>();
    pos->setUp(setup);
    for (int y = 0; y < setup.height; ++y)
        for (int x = 0; x < setup.width; ++x)
            if (pos->empty(cellOf(x, y)) && pos->forbidden(0, cellOf(x, y))) out.push_back({x, y});
    return out;
}

int firstFoul(const Setup& setup, Verdict& why) {
    if (setup.rule != Rule::RENJU) return -1;
    Setup empty = setup;
    empty.stones.clear();
    empty.toMove = 0;
    auto pos = std::make_unique<Position>();
    pos->setUp(empty);
    for (std::size_t i = 0; i < setup.stones.size(); ++i) {
        const Stone& s = setup.stones[i];
        const int c = cellOf(s.at.x, s.at.y);
        if (pos->toMove() != s.side) pos->pass();
        if (s.side == 0 && isFoul(why = pos->judge(c))) return static_cast<int>(i);
        pos->play(c);
    }
    return -1;
}

Verdict judgeMove(const Setup& setup, Point p) {
    auto pos = std::make_unique<Position>();
    pos->setUp(setup);
    return pos->judge(cellOf(p.x, p.y));
}

bool Position::sameState(const Position& o) const {
    if (key != o.key || side != o.side) return false;
    if (std::memcmp(counts, o.counts, sizeof counts) != 0) return false;
    if (std::memcmp(comboCounts, o.comboCounts, sizeof comboCounts) != 0) return false;
    for (int c = 0; c < CELLS; ++c) {
        if (cells[c] != o.cells[c] || near[c] != o.near[c]) return false;
        if (cells[c] == 3) continue;
        if (std::memcmp(codes[c], o.codes[c], sizeof codes[c]) != 0) return false;
        for (int s = 0; s < 2; ++s) {
            if (std::memcmp(patterns[s][c], o.patterns[s][c], 4) != 0 || values[s][c] != o.values[s][c]) return false;
            if (cells[c] == 0 && (fives[s].contains(c) != o.fives[s].contains(c) ||
                                  fours[s].contains(c) != o.fours[s].contains(c) ||
                                  combos[s][c] != o.combos[s][c] || threeLines[s][c] != o.threeLines[s][c]))
                return false;
        }
    }
    for (int s = 0; s < 2; ++s)
        if (fives[s].size() != o.fives[s].size() || fours[s].size() != o.fours[s].size()) return false;
    return true;
}

} // namespace quintrel::master
