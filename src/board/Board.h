#pragma once
// CBoard: the one board of the program. A plain value (copied whole with one
// byte copy) that carries the stones, the regions of interest of both sides,
// a pattern record for every field and side, kept current move by move, and
// the pointers of an optional journal through which a search takes its trial
// moves back.
//
// Invariant after every public operation: the record of an occupied field is
// all zero, and the record of every empty field equals what a full
// recomputePatterns() would give in the current pattern mode.

#include "board/Types.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace quintrel {

// Grid geometry: 19 x 19 playing fields inside a one-cell border ring.
constexpr int GRID_SIZE = 21;

// The most journal entries a single move can need: the two records of the
// placed field, 2 per direction on the mover's side and 4 per direction on
// the other side (2 + 8 * 2 + 8 * 4).
constexpr int MAX_FLAGS_IN_MOVE = 50;

// Pattern modes.
constexpr int PATTERN_MODE_NORMAL = 0;
constexpr int PATTERN_MODE_EXTENSIVE = 1;

// Line tags in the high nibble of the count bytes (extensive mode).
constexpr std::uint8_t LINE_TAG_Y = 0x10;    // (0, +1), (0, -1)
constexpr std::uint8_t LINE_TAG_ANTI = 0x20; // (+1, -1), (-1, +1)
constexpr std::uint8_t LINE_TAG_X = 0x40;    // (+1, 0), (-1, 0)
constexpr std::uint8_t LINE_TAG_DIAG = 0x80; // (+1, +1), (-1, -1)

// Threat bits of byte b15 (extensive mode).
constexpr std::uint8_t THREAT_WINNING = 0x10;     // an open four or two fours
constexpr std::uint8_t THREAT_FOUR_THREE = 0x08;  // a four and an open three on another line
constexpr std::uint8_t THREAT_THREE_THREE = 0x04; // two open threes on different lines
constexpr std::uint8_t THREAT_FOUR = 0x02;        // some four
constexpr std::uint8_t THREAT_OPEN_THREE = 0x01;  // some open three

// The eight directions in their fixed order; every tie broken by the first
// direction found follows this order.
struct Direction {
    int dx;
    int dy;
};
constexpr Direction DIRECTIONS[8] = {{0, +1}, {0, -1}, {+1, 0}, {-1, 0}, {+1, +1}, {-1, -1}, {+1, -1}, {-1, +1}};

// What one side would own through one field if it played there. The byte
// layout b0..b15 is fixed: searches read the bytes directly.
struct PatternRecord {
    std::uint8_t run[3];         // b0..b2: the three best straight lines, longest first
    std::uint8_t runClosed[3];   // b3..b5
    std::uint8_t jump[2];        // b6, b7: the two best jumps across one empty field
    std::uint8_t jumpClosed[2];  // b8, b9
    std::uint8_t split[2];       // b10, b11: the two best split lines
    std::uint8_t splitClosed[2]; // b12, b13
    std::uint8_t worth;          // b14
    std::uint8_t threats;        // b15: threat bits, extensive mode only

    std::uint8_t byte(int i) const { return reinterpret_cast<const std::uint8_t*>(this)[i]; }
    friend bool operator==(const PatternRecord& a, const PatternRecord& b) {
        return std::memcmp(&a, &b, sizeof(PatternRecord)) == 0;
    }
};
static_assert(sizeof(PatternRecord) == 16);
static_assert(offsetof(PatternRecord, worth) == 14 && offsetof(PatternRecord, threats) == 15);

// One saved record: field, side and the 16 record bytes as they were (7 ints).
struct JournalEntry {
    int x;
    int y;
    int side;
    PatternRecord record;
};
static_assert(sizeof(JournalEntry) == 7 * sizeof(int));

// Everything one journalled place() changed, so takeBack() can restore it.
// Entry 0 is the placed field for the placing side, entry 1 the same field
// for the other side.
struct MoveRecord {
    int side;
    FieldRect oldRegion;
    FieldRect oldStoneBounds;
    int count;
    JournalEntry entries[MAX_FLAGS_IN_MOVE];
};
static_assert(sizeof(MoveRecord) == (10 + 7 * MAX_FLAGS_IN_MOVE) * sizeof(int));

// Journal overflow cannot happen (MAX_FLAGS_IN_MOVE is the exact bound); should
// it ever, the board calls this handler with the text and caption to show.
// The UI installs one that beeps and shows an error box; it may be called on
// a search thread. Null means: ignore.
using JournalOverflowHandler = void (*)(const char* text, const char* caption);
inline constexpr const char* JOURNAL_OVERFLOW_TEXT = "Increase the MAX_FLAGS_IN_MOVE !!!";
inline constexpr const char* JOURNAL_OVERFLOW_CAPTION = "Internal test failed";
inline std::atomic<JournalOverflowHandler> journalOverflowHandler{nullptr};

class CBoard {
public:
    // Data, in this order. cells[x][y]: 0 O, 1 X, 2 empty; x or y of 0 or 20
    // is the border: whatever reads it first sets it (setBorder) to the
    // opponent of the side it looks at; its value between uses means nothing.
    // Change cells through place/remove/clear; after writing them directly,
    // call recomputePatterns() before anything else.
    int cells[GRID_SIZE][GRID_SIZE];
    FieldRect region[2];   // each side's stones widened by 2, clipped to 1..19
    FieldRect stoneBounds; // all stones, not widened
    PatternRecord patterns[20][20][2]; // [x][y][side], x and y 1..19
    MoveRecord* journalBase;
    MoveRecord* journalCurrent;
    MoveRecord* journalEnd;
    int patternMode;
    // Derived from cells for the pattern tables: for every field and each of
    // the eight directions, the five cells beyond it, 2 bits each, nearest
    // lowest (0 O, 1 X, 2 empty, 3 off the board). Kept by every operation
    // that changes a cell; recomputePatterns rebuilds it.
    std::uint16_t lineCodes[GRID_SIZE][GRID_SIZE][8];

    // Construction and reset. clear() must run before the first move.
    CBoard();
    void clear();
    void setPatternMode(int mode);
    void recomputePatterns();

    // Stones. The field must be on the board; place() needs it empty,
    // remove() needs a stone there. remove() is for boards without a journal.
    void place(Field f, Side s);
    void remove(Field f);
    void takeBack();

    // Journal: a buffer of n move records supplied (and owned) by the caller.
    bool attachJournal(MoveRecord* buffer, int n);
    bool detachJournal(MoveRecord* buffer);
    bool hasJournal() const { return journalBase != nullptr; }
    int journalDepth() const { return static_cast<int>(journalCurrent - journalBase); }

    // Tests. findFive writes the border, otherwise they only read.
    bool findFive(Side s, int ends[4]);
    bool noFivePossible() const;
    bool isIsolated(int x, int y) const;
    bool isQuietSquare(int x, int y) const;
    void setBorder(int value);

    // Read access.
    int cell(int x, int y) const { return cells[x][y]; }
    int cell(Field f) const { return cells[f.x][f.y]; }
    bool isEmpty(Field f) const { return cells[f.x][f.y] == EMPTY; }
    const PatternRecord& pattern(int x, int y, Side s) const { return patterns[x][y][s]; }
    const PatternRecord& pattern(Field f, Side s) const { return patterns[f.x][f.y][s]; }
    const FieldRect& regionOf(Side s) const { return region[s]; }
    int mode() const { return patternMode; }

private:
    void recomputeRegions();
    void rebuildLineCodes();
    void flipLineCodes(int x, int y, Side s);
    template <int Mode>
    void placeStone(int x, int y, Side s);
    template <int Mode>
    void removeStone(int x, int y);
    template <int Mode>
    void recomputeAll();
    void resetEmptyRecords();
};

static_assert(std::is_trivially_copyable_v<CBoard>);
static_assert(std::is_standard_layout_v<CBoard>);

} // namespace quintrel
