#include "board/BoardQueries.h"

#include "board/Board.h"

#include <cstdlib>

namespace quintrel {

namespace {

// One pass over s's region, appending the empty fields whose record for s
// passes `qualifies`. Inlined per query so the test compiles to plain byte
// compares.
template <class Pred>
inline bool scanRegion(const CBoard& b, Side s, FieldList& list, Pred qualifies) {
    list.count = 0;
    const FieldRect& r = b.region[s];
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y)
            if (b.cells[x][y] == EMPTY && qualifies(b.patterns[x][y][s]))
                list.append(Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    return list.count > 0;
}

// A pattern byte of mode 1 holds the line tag above the count.
inline int countOf(std::uint8_t v) { return v & 0x0F; }
inline int lineOf(std::uint8_t v) { return v & 0xF0; }

// The six (count, closed) entries of a record: R0, R1, J0, J1, S0, S1.
struct Entry {
    std::uint8_t value;
    std::uint8_t closed;
};

inline void entriesOf(const PatternRecord& p, Entry e[6]) {
    e[0] = {p.run[0], p.runClosed[0]};
    e[1] = {p.run[1], p.runClosed[1]};
    e[2] = {p.jump[0], p.jumpClosed[0]};
    e[3] = {p.jump[1], p.jumpClosed[1]};
    e[4] = {p.split[0], p.splitClosed[0]};
    e[5] = {p.split[1], p.splitClosed[1]};
}

inline bool isFour(Entry e) { return countOf(e.value) >= 4; }
inline bool isOpenThree(Entry e) { return countOf(e.value) == 3 && e.closed == 0; }

// Mode 0: straight lines count the field, jumps and splits do not, so the
// same strength is one lower for them.
inline int strongFeaturesMode0(const PatternRecord& p) {
    // Entries are kept best first: when the first run, jump and split are all
    // too short, so are the second ones. Most fields of a region stop here.
    if (p.run[0] < 3 && p.jump[0] < 2 && p.split[0] < 2)
        return 0;
    const auto run = [](int len, int closed) { return (len == 3 && closed == 0) || len >= 4; };
    const auto gap = [](int cnt, int closed) { return (cnt == 2 && closed == 0) || cnt >= 3; };
    return run(p.run[0], p.runClosed[0]) + run(p.run[1], p.runClosed[1]) + gap(p.jump[0], p.jumpClosed[0]) +
           gap(p.jump[1], p.jumpClosed[1]) + gap(p.split[0], p.splitClosed[0]) +
           gap(p.split[1], p.splitClosed[1]);
}

inline int strongFeaturesMode1(const PatternRecord& p) {
    if (countOf(p.run[0]) < 3 && countOf(p.jump[0]) < 3 && countOf(p.split[0]) < 3)
        return 0;
    Entry e[6];
    entriesOf(p, e);
    int n = 0;
    for (const Entry& entry : e)
        n += isFour(entry) || isOpenThree(entry);
    return n;
}

// Line tags in walking order, each with the first direction of its line.
struct LineWalk {
    int tag, dx, dy;
};
constexpr LineWalk LINE_WALKS[4] = {
    {LINE_TAG_Y, 0, +1}, {LINE_TAG_ANTI, +1, -1}, {LINE_TAG_X, +1, 0}, {LINE_TAG_DIAG, +1, +1}};

// Walks up to 5 fields from f, over own stones, until the board's edge or an
// opponent stone; appends each empty field met, and stops without appending
// at an empty field that follows another: beyond two empties the line no
// longer bears on the threat.
void walkDefences(const CBoard& b, Side s, Field f, int dx, int dy, FieldList& list) {
    const Side opponent = otherSide(s);
    bool previousEmpty = false;
    int x = f.x;
    int y = f.y;
    for (int step = 0; step < 5; ++step) {
        x += dx;
        y += dy;
        if (x < 1 || x > BOARD_SIZE || y < 1 || y > BOARD_SIZE)
            return;
        const int c = b.cells[x][y];
        if (c == opponent)
            return;
        if (c == EMPTY) {
            if (previousEmpty)
                return;
            list.append(Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
            previousEmpty = true;
        } else {
            previousEmpty = false;
        }
    }
}

} // namespace

int listBestWorthFields(const CBoard& b, Side s, FieldList& list) {
    // One pass: a new maximum restarts the list, so the survivors keep scan order.
    list.count = 0;
    int max = -1;
    const FieldRect& r = b.region[s];
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            if (b.cells[x][y] != EMPTY)
                continue;
            const int w = b.patterns[x][y][s].worth;
            if (w < max)
                continue;
            if (w > max) {
                max = w;
                list.count = 0;
            }
            list.append(Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
        }
    return max < 0 ? 0 : max;
}

bool listFiveFields(const CBoard& b, Side s, FieldList& list) {
    return scanRegion(b, s, list, [](const PatternRecord& p) { return countOf(p.run[0]) >= 5; });
}

bool listOpenFourFields(const CBoard& b, Side s, FieldList& list) {
    // Occupied fields have zero records, so no emptiness test is needed.
    list.count = 0;
    const FieldRect& r = b.region[s];
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            const PatternRecord& p = b.patterns[x][y][s];
            if (p.run[0] == 4 && p.runClosed[0] == 0)
                list.append(Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
        }
    return list.count > 0;
}

bool listDoubleThreatFields(const CBoard& b, Side s, FieldList& list) {
    return scanRegion(b, s, list, [](const PatternRecord& p) {
        const int b0 = p.run[0], b1 = p.run[1], b3 = p.runClosed[0], b4 = p.runClosed[1];
        const int b6 = p.jump[0], b7 = p.jump[1], b8 = p.jumpClosed[0], b9 = p.jumpClosed[1];
        const int b10 = p.split[0], b11 = p.split[1], b12 = p.splitClosed[0], b13 = p.splitClosed[1];
        // open three + open three or closed four
        if (b0 == 3 && b3 == 0 && ((b1 == 3 && b4 == 0) || (b1 == 4 && b4 == 1)))
            return true;
        // closed four + closed four or open three
        if (b0 == 4 && b3 == 1 && ((b1 == 4 && b4 == 1) || (b1 == 3 && b4 == 0)))
            return true;
        // jump four + second jump
        if (b6 >= 3 && (b7 >= 3 || (b7 == 2 && b9 == 0)))
            return true;
        // two open jump threes
        if (b6 == 2 && b8 == 0 && b7 == 2 && b9 == 0)
            return true;
        // open split three + another open three or a closed four
        if (b10 == 2 && b12 == 0 &&
            ((b11 == 2 && b13 == 0) || (b0 == 3 && b3 == 0) || (b1 == 3 && b4 == 0) || (b0 == 4 && b3 == 1)))
            return true;
        // split four + second split
        return b10 == 3 && (b11 == 3 || (b11 == 2 && b13 == 0));
    });
}

bool listComboThreatFields(const CBoard& b, Side s, FieldList& list) {
    return scanRegion(b, s, list, [](const PatternRecord& p) {
        const bool jumpPart = (p.jump[0] == 2 && p.jumpClosed[0] == 0) || p.jump[0] == 3;
        const bool straightPart = (p.run[0] == 3 && p.runClosed[0] == 0) || p.run[0] == 4;
        const bool splitPart = (p.split[0] == 2 && p.splitClosed[0] == 0) || p.split[0] == 3;
        return jumpPart && (straightPart || splitPart);
    });
}

bool listAttackFields(const CBoard& b, Side s, FieldList& list) {
    return scanRegion(b, s, list, [](const PatternRecord& p) {
        return (p.run[0] == 3 && p.runClosed[0] == 0) || p.run[0] >= 4 || (p.jump[0] == 2 && p.jumpClosed[0] == 0) ||
               p.jump[0] >= 3 || (p.split[0] == 2 && p.splitClosed[0] == 0) || p.split[0] >= 3;
    });
}

int threatCount(const CBoard& b, Side s) {
    const bool extensive = b.patternMode == 1;
    int n = 0;
    const FieldRect& r = b.region[s];
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            if (b.cells[x][y] != EMPTY)
                continue;
            const PatternRecord& p = b.patterns[x][y][s];
            n += extensive ? strongFeaturesMode1(p) : strongFeaturesMode0(p);
        }
    return n;
}

bool listThreatClass(const CBoard& b, int bit, Side s, FieldList& list) {
    return scanRegion(b, s, list, [bit](const PatternRecord& p) { return (p.threats & bit) != 0; });
}

bool listDefences(const CBoard& b, Side s, Field f, int threatClass, FieldList& list) {
    list.count = 0;
    if (b.cells[f.x][f.y] != EMPTY)
        return false;
    const bool wantFour = threatClass == THREAT_WINNING || threatClass == THREAT_FOUR_THREE;
    const bool wantThree = threatClass == THREAT_FOUR_THREE || threatClass == THREAT_THREE_THREE;
    Entry e[6];
    entriesOf(b.patterns[f.x][f.y][s], e);
    int mask = 0;
    for (const Entry& entry : e)
        if ((wantFour && isFour(entry)) || (wantThree && isOpenThree(entry)))
            mask |= lineOf(entry.value);
    if (mask == 0)
        return false;
    list.append(f);
    for (const LineWalk& line : LINE_WALKS) {
        if ((mask & line.tag) == 0)
            continue;
        walkDefences(b, s, f, line.dx, line.dy, list);
        walkDefences(b, s, f, -line.dx, -line.dy, list);
    }
    return true;
}

Field mostValuableField(const CBoard& b, Side s) {
    Field best;
    int bestScore = -1;
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            if (b.cell(x, y) != EMPTY) continue;
            const int worth = b.pattern(x, y, s).worth + b.pattern(x, y, otherSide(s)).worth;
            const int score = worth * 64 + 36 - std::abs(x - 10) - std::abs(y - 10);
            if (score > bestScore) {
                bestScore = score;
                best = Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)};
            }
        }
    return best;
}

} // namespace quintrel
