#include "search/NodeFacts.h"

#include "search/PositionScan.h"

namespace quintrel {

NodeFacts::Facts NodeFacts::judge(const PatternRecord& p) {
    Facts f{static_cast<std::int16_t>(p.worth > 3 ? p.worth : 0), 0, 0};
    if (scan::isQuiet(p)) return f;
    f.features = static_cast<std::uint8_t>(scan::strongFeatures(p));
    f.threats = static_cast<std::uint8_t>(scan::threatsOf(p));
    return f;
}

void NodeFacts::reset(const CBoard& b) {
    sums[SIDE_O] = Sums{};
    sums[SIDE_X] = Sums{};
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            for (Side s = SIDE_O; s <= SIDE_X; ++s) {
                field[x][y][s] = judge(b.patterns[x][y][s]);
                apply(s, field[x][y][s], +1);
            }
    top = 0;
    plies = 0;
    ok = true;
}

void NodeFacts::afterPlace(const CBoard& b) {
    const MoveRecord& move = b.journalCurrent[-1];
    if (!ok || plies == MAX_PLIES) {
        ok = false;
        return;
    }
    savedSums[plies][SIDE_O] = sums[SIDE_O];
    savedSums[plies][SIDE_X] = sums[SIDE_X];
    ++plies;
    for (int i = 0; i < move.count; ++i) {
        const JournalEntry& e = move.entries[i];
        Facts& f = field[e.x][e.y][e.side];
        saved[top++] = f;
        const PatternRecord& now = b.patterns[e.x][e.y][e.side];
        if (now == e.record) continue; // saved but left as it was
        const Facts was = f;
        f = judge(now);
        Sums& sum = sums[e.side];
        sum.worth += f.worth - was.worth;
        sum.features += f.features - was.features;
        sum.counts += facts_detail::COUNT_UNITS[f.threats] - facts_detail::COUNT_UNITS[was.threats];
    }
}

void NodeFacts::beforeTakeBack(const CBoard& b) {
    if (!ok) return;
    const MoveRecord& move = b.journalCurrent[-1];
    for (int i = move.count - 1; i >= 0; --i) {
        const JournalEntry& e = move.entries[i];
        field[e.x][e.y][e.side] = saved[--top];
    }
    --plies;
    sums[SIDE_O] = savedSums[plies][SIDE_O];
    sums[SIDE_X] = savedSums[plies][SIDE_X];
}

unsigned NodeFacts::threats(Side s) const {
    unsigned m = 0;
    for (int i = 0; i < 4; ++i)
        if ((sums[s].counts >> (16 * i)) & 0xFFFF) m |= 1u << i;
    return m;
}

int NodeFacts::evaluation(Side s, bool attack) const {
    const Sums& own = sums[s];
    const Sums& opp = sums[otherSide(s)];
    int score = 1 + own.worth - opp.worth;
    if (attack) score += own.features - opp.features;
    return score;
}

bool NodeFacts::sameSums(const NodeFacts& other) const {
    for (Side s = SIDE_O; s <= SIDE_X; ++s) {
        const Sums& a = sums[s];
        const Sums& b = other.sums[s];
        if (a.worth != b.worth || a.features != b.features || a.counts != b.counts) return false;
    }
    return true;
}

} // namespace quintrel
