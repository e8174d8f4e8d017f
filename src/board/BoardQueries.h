#pragma once
// Board queries: the fields of one side's region whose pattern record has a
// given kind of feature. Each query empties the list first, scans the side's
// region with x ascending and y ascending within, reads one record per field
// and appends in scan order; the list's `side` is left to the caller. They run
// at every search node, so they never allocate and never leave the region.

#include "board/FieldList.h"
#include "board/Types.h"

namespace quintrel {

class CBoard;

// Fields of the highest worth for s; returns that worth, 0 when the region has
// no empty field. Serves both pattern modes.
int listBestWorthFields(const CBoard& b, Side s, FieldList& list);

// The empty field of most worth for both sides together, nearer the centre
// on ties: a move that is never wasted when no better one is known.
Field mostValuableField(const CBoard& b, Side s);

// Mode-0 queries, all true when the list is not empty.
bool listFiveFields(const CBoard& b, Side s, FieldList& list);       // also mode 1
bool listOpenFourFields(const CBoard& b, Side s, FieldList& list);
bool listDoubleThreatFields(const CBoard& b, Side s, FieldList& list);
bool listComboThreatFields(const CBoard& b, Side s, FieldList& list);
bool listAttackFields(const CBoard& b, Side s, FieldList& list);

// Strong line features (open threes and fours, counted per record entry) of s
// over the empty fields of its region; either mode.
int threatCount(const CBoard& b, Side s);

// Mode 1: the empty fields of s's region whose threat bits (THREAT_* of
// Board.h) contain `bit`.
bool listThreatClass(const CBoard& b, int bit, Side s, FieldList& list);

// Mode 1: for an empty field f where s has a threat of class 0x10, 0x08 or
// 0x04, f itself and then the empty fields along the threatening lines that
// answer it. False with an empty list when f is occupied, the class is another
// value, or no line of f carries such a threat.
bool listDefences(const CBoard& b, Side s, Field f, int threatClass, FieldList& list);

} // namespace quintrel
