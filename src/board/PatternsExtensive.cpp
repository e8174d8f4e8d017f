// Worth and threat bits of the extensive pattern mode.
#include "board/Patterns.h"

#include <array>

namespace quintrel::patterns {

namespace {

// What one entry (count byte, closed byte) contributes, packed in 32 bits:
//   bits 0..23   its line value v as v one-bits ((1 << v) - 1) in its line's
//                6-bit lane, so the best value per line is an OR of entries
//                and the sum of the four lines a popcount;
//   bits 24..27  its line bit when it is a four (count 4 or more);
//   bits 28..31  its line bit when it is an open three (3, no closed end).
// Runs count a value only from 2 up (count - closed); jumps and splits give
// count - (closed + 1). Untagged (dead or absent) entries give nothing.
template <bool Run>
constexpr std::array<std::uint32_t, 1024> buildEntryTable() {
    std::array<std::uint32_t, 1024> table{};
    for (int countByte = 0; countByte < 256; ++countByte) {
        for (int closed = 0; closed < 4; ++closed) {
            const unsigned line = unsigned(countByte) >> 4;
            const int n = countByte & 0x0F;
            if (line == 0 || (line & (line - 1)) != 0)
                continue;
            const int lane = line == 1 ? 0 : line == 2 ? 1 : line == 4 ? 2 : 3;
            int v = Run ? n - closed : n - (closed + 1);
            if (Run && v <= 1)
                v = 0;
            std::uint32_t e = v > 0 ? ((1u << v) - 1) << (6 * lane) : 0;
            if (n >= 4)
                e |= line << 24;
            if (n == 3 && closed == 0)
                e |= line << 28;
            table[countByte * 4 + closed] = e;
        }
    }
    return table;
}
constexpr auto RUN_ENTRY = buildEntryTable<true>();
constexpr auto PAIR_ENTRY = buildEntryTable<false>();

constexpr std::uint32_t VALUE_BITS = 0xFFFFFF;
constexpr unsigned fourLines(std::uint32_t e) { return (e >> 24) & 15; }
constexpr unsigned threeLines(std::uint32_t e) { return e >> 28; }

// Without a popcount instruction in the baseline instruction set the
// library call costs more than this.
constexpr unsigned countBits(std::uint32_t x) {
    x = x - ((x >> 1) & 0x55555555u);
    x = (x & 0x33333333u) + ((x >> 2) & 0x33333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0Fu;
    return (x * 0x01010101u) >> 24;
}

// Line sets are ORs of one-hot line bits.
bool twoLinesOrMore(unsigned lines) { return (lines & (lines - 1)) != 0; }

// Some entry with a line in a and some with a line in b lie on different
// lines: fails only when all of them share one line.
bool apart(unsigned a, unsigned b) { return a != 0 && b != 0 && twoLinesOrMore(a | b); }

} // namespace

void computeWorthExtensive(PatternRecord& r) {
    const std::uint32_t r0 = RUN_ENTRY[r.run[0] * 4 + (r.runClosed[0] & 3)];
    const std::uint32_t r1 = RUN_ENTRY[r.run[1] * 4 + (r.runClosed[1] & 3)];
    const std::uint32_t r2 = RUN_ENTRY[r.run[2] * 4 + (r.runClosed[2] & 3)];
    const std::uint32_t j0 = PAIR_ENTRY[r.jump[0] * 4 + (r.jumpClosed[0] & 3)];
    const std::uint32_t j1 = PAIR_ENTRY[r.jump[1] * 4 + (r.jumpClosed[1] & 3)];
    const std::uint32_t s0 = PAIR_ENTRY[r.split[0] * 4 + (r.splitClosed[0] & 3)];
    const std::uint32_t s1 = PAIR_ENTRY[r.split[1] * 4 + (r.splitClosed[1] & 3)];
    r.worth = static_cast<std::uint8_t>(countBits((r0 | r1 | r2 | j0 | j1 | s0 | s1) & VALUE_BITS));

    // Fours and open threes of R0, R1, J0, J1, S0, S1 as line sets.
    const unsigned fR0 = fourLines(r0), fR1 = fourLines(r1), fJ0 = fourLines(j0), fJ1 = fourLines(j1),
                   fS0 = fourLines(s0), fS1 = fourLines(s1);
    const unsigned tR = threeLines(r0) | threeLines(r1), tJ = threeLines(j0) | threeLines(j1),
                   tS = threeLines(s0) | threeLines(s1);
    const unsigned fR = fR0 | fR1, fJ = fJ0 | fJ1, fS = fS0 | fS1;

    std::uint8_t bits = 0;
    if (fR0 | fJ0 | fS0)
        bits |= THREAT_FOUR;
    if (tR | tJ | tS)
        bits |= THREAT_OPEN_THREE;
    // Winning threat: an open four, or two fours. Same-kind pairs of jumps
    // and splits count even on one line (X _ X F X _ X is two threats).
    if ((fR0 && r.runClosed[0] == 0) || (fR0 && fR1) || (fJ0 && fJ1) || (fS0 && fS1) || (fJ0 && fS0) ||
        apart(fR, fJ | fS))
        bits |= THREAT_WINNING;
    // A four and an open three.
    if ((fR0 && threeLines(r1)) || (fS0 && threeLines(s1)) || apart(fR, tJ | tS) || apart(fJ, tR | tS) ||
        apart(fJ0, threeLines(j1)) || apart(fS, tR | tJ))
        bits |= THREAT_FOUR_THREE;
    // Two open threes; the run pair and the split pair need no line test.
    if ((threeLines(r0) && threeLines(r1)) || (threeLines(s0) && threeLines(s1)) || twoLinesOrMore(tR | tJ | tS))
        bits |= THREAT_THREE_THREE;
    r.threats = bits;
}

} // namespace quintrel::patterns
