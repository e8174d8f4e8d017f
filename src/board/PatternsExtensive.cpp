// Worth and threat bits of the extensive pattern mode.
#include "board/Patterns.h"

namespace quintrel::patterns {

namespace {

// The six entries of a record that threats are read from.
enum Entry { R0, R1, J0, J1, S0, S1, ENTRY_COUNT };

struct EntryView {
    int count;
    int closed;
    int line;
    bool four() const { return count >= 4; }
    bool openThree() const { return count == 3 && closed == 0; }
};

EntryView view(std::uint8_t countByte, std::uint8_t closedByte) {
    return EntryView{countByte & 0x0F, closedByte, countByte >> 4};
}

bool fourWithFour(const EntryView* e, int a, int b) { return e[a].four() && e[b].four(); }
bool fourWithThreeApart(const EntryView* e, int a, int b) {
    return e[a].four() && e[b].openThree() && e[a].line != e[b].line;
}

std::uint8_t threatBits(const EntryView* e) {
    std::uint8_t bits = 0;
    if (e[R0].four() || e[J0].four() || e[S0].four())
        bits |= THREAT_FOUR;
    for (int i = 0; i < ENTRY_COUNT; ++i)
        if (e[i].openThree())
            bits |= THREAT_OPEN_THREE;

    // Winning threat: an open four, or two fours. Same-kind pairs of jumps
    // and splits count even on one line (X _ X F X _ X is two threats).
    bool winning = (e[R0].four() && e[R0].closed == 0) || fourWithFour(e, R0, R1) || fourWithFour(e, J0, J1) ||
                   fourWithFour(e, S0, S1) || fourWithFour(e, J0, S0);
    for (int a = R0; a <= R1 && !winning; ++a)
        for (int b = J0; b <= S1 && !winning; ++b)
            winning = fourWithFour(e, a, b) && e[a].line != e[b].line;
    if (winning)
        bits |= THREAT_WINNING;

    // A four and an open three.
    bool fourThree = (e[R0].four() && e[R1].openThree()) || (e[S0].four() && e[S1].openThree());
    for (int a = R0; a <= R1; ++a)
        for (int b = J0; b <= S1; ++b)
            fourThree = fourThree || fourWithThreeApart(e, a, b);
    for (int a = J0; a <= J1; ++a)
        for (int b : {R0, R1, S0, S1})
            fourThree = fourThree || fourWithThreeApart(e, a, b);
    fourThree = fourThree || fourWithThreeApart(e, J0, J1);
    for (int a = S0; a <= S1; ++a)
        for (int b = R0; b <= J1; ++b)
            fourThree = fourThree || fourWithThreeApart(e, a, b);
    if (fourThree)
        bits |= THREAT_FOUR_THREE;

    // Two open threes; the run pair and the split pair need no line test.
    bool threeThree = false;
    for (int a = 0; a < ENTRY_COUNT && !threeThree; ++a) {
        for (int b = a + 1; b < ENTRY_COUNT && !threeThree; ++b) {
            if (!e[a].openThree() || !e[b].openThree())
                continue;
            const bool sameKindPair = (a == R0 && b == R1) || (a == S0 && b == S1);
            threeThree = sameKindPair || e[a].line != e[b].line;
        }
    }
    if (threeThree)
        bits |= THREAT_THREE_THREE;
    return bits;
}

} // namespace

void computeWorthExtensive(PatternRecord& r) {
    // Line values indexed by tag >> 4 (1, 2, 4, 8); slot 0 collects untagged entries.
    int value[9] = {};
    for (int i = 0; i < 3; ++i) {
        const int v = (r.run[i] & 0x0F) - r.runClosed[i];
        if (v > 1)
            value[r.run[i] >> 4] = v;
    }
    auto fold = [&value](std::uint8_t countByte, std::uint8_t closedByte) {
        const int v = (countByte & 0x0F) - (closedByte + 1);
        int& slot = value[countByte >> 4];
        if (v > slot)
            slot = v;
    };
    fold(r.jump[0], r.jumpClosed[0]);
    fold(r.jump[1], r.jumpClosed[1]);
    fold(r.split[0], r.splitClosed[0]);
    fold(r.split[1], r.splitClosed[1]);
    r.worth = static_cast<std::uint8_t>(value[1] + value[2] + value[4] + value[8]);

    const EntryView entries[ENTRY_COUNT] = {view(r.run[0], r.runClosed[0]),     view(r.run[1], r.runClosed[1]),
                                            view(r.jump[0], r.jumpClosed[0]),   view(r.jump[1], r.jumpClosed[1]),
                                            view(r.split[0], r.splitClosed[0]), view(r.split[1], r.splitClosed[1])};
    r.threats = threatBits(entries);
}

} // namespace quintrel::patterns
