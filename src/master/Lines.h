#pragma once
// The rules the strong engine plays and the line tables built from them.
//
// Every empty cell keeps, for each of its four lines, a 20-bit code of the
// ten cells around it (2 bits each: 0 empty, 1 the first player's, 2 the
// second's, 3 off the board). The low 16 bits are the eight nearest cells,
// the top four the two cells five away, which only the exact-five rules
// read: they tell a five from an overline. One table lookup turns a code
// into the class a stone there would make on that line. The tables are
// built once per rule and shared by every search.

#include <cstdint>

namespace quintrel::master {

// Numbered as the Gomocup protocol numbers its rules.
enum class Rule : std::uint8_t {
    FREESTYLE = 0, // five or more wins
    STANDARD = 1,  // exactly five wins, for both sides
    RENJU = 4,     // black (the first player) wins with exactly five only and
                   // may not make an overline, a double four or a double three
};

// What one more stone of a side on an empty cell makes on one line, weakest
// first. "Flex" shapes are open (they threaten two ways), "block" shapes one way:
//   FIVE   X X X X [X]        a five that wins under the rule
//   F4     _ X X X [X] _      two ways to five: open four (or two fours on the line)
//   B4     O X X X [X] _      one way to five
//   F3     _ X X [X] _ _      one more stone makes F4; B3 makes only B4
//   F2/B2, F1/B1              one more stone makes F3/B3, F2/B2
//   NONE   alive, nothing yet; DEAD: no winning five can ever pass here on this line
enum LinePattern : std::uint8_t { DEAD, NONE, B1, F1, B2, F2, B3, F3, B4, F4, FIVE, LINE_PATTERNS };

// What black's stone makes on one line under renju, for the forbidden test.
struct RenjuLine {
    // Offsets -5..5 (bit k + 5) where one more stone makes a straight four
    // through this stone: a three, if one of them is not forbidden itself.
    std::uint16_t straightFourAt : 11;
    std::uint16_t five : 1;     // exactly five
    std::uint16_t overline : 1; // six or more
    std::uint16_t fours : 2;    // fours made on the line: a straight four is one
};

struct RuleTables {
    // pattern[s][code & mask[s]]: the class for side s (0 moves first).
    const std::uint8_t* pattern[2];
    std::uint32_t mask[2];
    const RenjuLine* renju; // indexed by the full code; renju only
};

const RuleTables& tablesFor(Rule rule);

// Whether a rule value from the protocol is one we play; renju is also sent as 2.
bool ruleFromProtocol(long long value, Rule& rule);

// The slot of a neighbour k cells away (k < 0 behind, |k| <= 5) in a line code.
constexpr int slotOf(int k) { return k == -5 ? 8 : k == 5 ? 9 : k < 0 ? -k - 1 : 3 + k; }

} // namespace quintrel::master
