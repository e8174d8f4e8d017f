#pragma once
// A fixed-size list of fields that board queries fill and the picks empty.
// It lives on the caller's stack (a search keeps one per node), so it never
// allocates: appends beyond the 361 fields of the board are ignored, and
// removal moves the last entry into the gap instead of shifting.

#include "board/Types.h"

namespace quintrel {

class CBoard;

struct FieldList {
    static constexpr int CAPACITY = BOARD_SIZE * BOARD_SIZE;

    int count = 0;
    Field fields[CAPACITY];
    int side = SIDE_O;  // set by the caller; the picks hand it out with the field

    void append(Field f) {
        if (count < CAPACITY)
            fields[count++] = f;
    }
    // Takes the last entry into position i, so the order of the rest changes.
    void removeAt(int i) {
        if (i != count - 1)
            fields[i] = fields[count - 1];
        --count;
    }
    bool contains(Field f) const;
    void clear() { count = 0; }
    bool empty() const { return count == 0; }
    int size() const { return count; }
    Field operator[](int i) const { return fields[i]; }
};

// Picks: each takes one entry out of the list and returns it as a move of the
// list's side. All return false and leave the list and the generator alone
// when the list is empty. Equal candidates are drawn at random from the first
// MAX_TIES met, in list order.
constexpr int MAX_TIES = 180;

// The entry at (draw mod count).
bool pickRandom(FieldList& list, GameMove& move);
// The highest worth for the list's side, random among ties.
bool pickBestOwnWorth(FieldList& list, const CBoard& board, GameMove& move);
// The highest worth for the other side, random among ties; the move still
// carries the list's side.
bool pickBestOpponentWorth(FieldList& list, const CBoard& board, GameMove& move);
// Plays on the list side's best fields unless the opponent's best worth is
// higher; with `attack` only a lead of 2 or more, or an opponent worth above 5,
// turns it to defence. Within the chosen set the field worth most to the other
// side wins, starting from a random member so that ties go to it.
bool pickAbsoluteBest(FieldList& list, const CBoard& board, GameMove& move, bool attack);

// Appends, in order, each field of `other` not yet in `list`, while there is room.
void mergeInto(FieldList& list, const FieldList& other);
bool contains(const FieldList& list, Field f);

} // namespace quintrel
