// Placing and removing stones, and keeping every pattern record current:
// the full recomputation and the incremental walk that a search runs at
// every node.
#include "board/Board.h"
#include "board/PatternTables.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quintrel {

using namespace patterns;

namespace {

// Cell-array steps of the direction table, and the matching record-array
// steps (records are declared 20 wide, cells 21).
constexpr int DIR_STEP[8] = {1, -1, GRID_SIZE, -GRID_SIZE, GRID_SIZE + 1, -GRID_SIZE - 1, GRID_SIZE - 1, -GRID_SIZE + 1};
constexpr int RECORD_STEP_X = 20;
constexpr int RECORD_STEP[8] = {1, -1, RECORD_STEP_X, -RECORD_STEP_X, RECORD_STEP_X + 1, -RECORD_STEP_X - 1,
                                RECORD_STEP_X - 1, -RECORD_STEP_X + 1};

void reportOverflow() {
    if (JournalOverflowHandler handler = journalOverflowHandler.load())
        handler(JOURNAL_OVERFLOW_TEXT, JOURNAL_OVERFLOW_CAPTION);
}

// The incremental update around one changed field P. Cell and record
// positions travel as flat indices; field coordinates ride along for the
// journal.
template <int Mode>
class Walk {
public:
    // stone: the side whose stone came to or left P.
    Walk(CBoard& board, int x, int y, int stone, MoveRecord* journal)
        : board_(board), cells_(&board.cells[0][0]), lineCodes_(board.lineCodes[x][y]),
          records_(&board.patterns[0][0]), x_(x), y_(y),
          cell_(x * GRID_SIZE + y), record_(x * RECORD_STEP_X + y), flip_(unsigned(EMPTY ^ stone) & 3),
          journal_(journal) {}

    // The field at distance k from P in direction i (behind P for k < 0),
    // with border standing for off the board: each phase reads the edge as
    // the stone that blocks its side, so the cells' border is never set.
    // Within five fields P's own line codes hold the answer.
    int cellAt(int i, int k, int border) const {
        unsigned code;
        if (k > 0 && k <= 5) {
            code = (lineCodes_[i] >> (2 * (k - 1))) & 3;
        } else if (k < 0 && k >= -5) {
            code = (lineCodes_[i ^ 1] >> (2 * (-k - 1))) & 3;
        } else {
            const int fx = x_ + k * DIRECTIONS[i].dx, fy = y_ + k * DIRECTIONS[i].dy;
            if (fx < 1 || fx > BOARD_SIZE || fy < 1 || fy > BOARD_SIZE)
                return border;
            return cells_[cell_ + k * DIR_STEP[i]];
        }
        return code == 3 ? border : int(code);
    }
    PatternRecord& record(int i, int k, int side) const { return records_[record_ + k * RECORD_STEP[i]][side]; }

    // Appends the record r of the field at distance k in direction i to the
    // journal before it changes.
    void save(int i, int k, int side, const PatternRecord& r) const {
        if (journal_ == nullptr)
            return;
        if (journal_->count >= MAX_FLAGS_IN_MOVE) {
            reportOverflow();
            return;
        }
        JournalEntry& e = journal_->entries[journal_->count++];
        e.x = x_ + k * DIRECTIONS[i].dx;
        e.y = y_ + k * DIRECTIONS[i].dy;
        e.side = side;
        e.record = r;
    }

    // Saves, then recomputes the given parts and the worth, unless the
    // table entry of the line through P came out the same: the record is
    // then what it was.
    void update(int i, int k, int side, unsigned parts) const {
        PatternRecord& r = record(i, k, side);
        save(i, k, side, r);
        const int ci = cell_ + k * DIR_STEP[i];
        const FieldLines lines = fieldLines<Mode>(board_, ci, side);
        if (lineEntryKept<Mode>(board_, lines, ci, side, i ^ 1, k, flip_))
            return;
        computeField<Mode>(board_, lines, ci, side, r, parts);
    }

    void phaseMover(int d) const;
    void phaseOther(int d) const;
    void updateBoundedThree(int i, int e) const;

private:
    CBoard& board_;
    const int* cells_;
    const std::uint16_t* lineCodes_;
    PatternRecord (*records_)[2];
    int x_, y_;
    int cell_, record_;
    unsigned flip_;
    MoveRecord* journal_;
};

// Phase 1, the side d whose stone came or went, along one direction from P:
// its blocked fields are unchanged, so only the fields whose lines run
// through P change: the first free field beyond P's row of stones, and the
// next one or the one after the next row of stones. get(k) reads the field
// k away (the edge as e), emit(k, parts) updates it.
template <class Get, class Emit>
constexpr void moverDirection(const Get& get, int d, const Emit& emit) {
    const int e = 1 - d;
    int n = 1;
    while (get(n) == d)
        ++n;
    if (get(n) == e) // blocked, the edge included
        return;
    const int beyond = get(n + 1);
    const bool jumps = (n == 1 && get(-1) == d) || (beyond == EMPTY && get(n + 2) == d);
    emit(n, RUNS | SPLITS | (jumps ? JUMPS : 0));
    if (beyond == e)
        return;
    if (beyond == EMPTY) {
        emit(n + 1, JUMPS);
        return;
    }
    int m = n + 2;
    while (get(m) == d)
        ++m;
    if (get(m) == EMPTY)
        emit(m, SPLITS);
}

// Phase 2, the other side e, along one direction from P: P turned blocked
// (or free) for it, which shifts stretches and closed ends up to the next
// blocker within five fields. get reads the edge as d. bounded() comes
// first where the extensive mode looks for a bounded three.
template <class Get, class Emit, class Bounded>
constexpr void otherDirection(const Get& get, int d, const Emit& emit, const Bounded& bounded) {
    const int e = 1 - d;
    int k = 1;
    while (k <= 5 && get(k) != d) // d's stones and the edge block e
        ++k;
    if (k <= 5) {
        for (int j = 1; j < k; ++j)
            if (get(j) == EMPTY)
                emit(j, ALL_PARTS);
        return;
    }
    int n = 1;
    while (get(n) == e)
        ++n;
    if (get(n) != EMPTY) // only behind a five of e
        return;
    const int beyond = get(n + 1);
    if (n == 1) {
        bounded();
        unsigned parts = RUNS;
        if (get(-1) == e || (beyond == EMPTY && get(n + 2) == e))
            parts |= JUMPS;
        if (beyond != EMPTY)
            parts |= SPLITS;
        emit(n, parts);
        return;
    }
    // The jumps of Q1 change only when Q2 opens onto a stone of e.
    const bool jumpsAtFirst = beyond == EMPTY && get(n + 2) == e;
    emit(n, RUNS | SPLITS | (jumpsAtFirst ? JUMPS : 0));
    if (beyond == EMPTY) {
        emit(n + 1, JUMPS);
    } else if (beyond == e) {
        int m = n + 2;
        while (get(m) == e)
            ++m;
        if (get(m) == EMPTY)
            emit(m, SPLITS);
    }
}

// What one direction of a phase does, looked up rather than walked: the
// five fields ahead of P as the half-state of the phase's side (which is
// all the walk reads, but for the field behind P, the second index: 1 when
// it holds a stone of that side), and the updates in order. Where the walk
// would read past the five fields, walked says so.
struct DirectionSteps {
    std::uint8_t count;
    bool walked;
    bool bounded; // the extensive mode's bounded-three test comes first
    std::uint8_t distance[4];
    std::uint8_t parts[4];
};

template <bool Mover>
constexpr std::array<std::array<DirectionSteps, 2>, patterns::HALF_STATES> buildDirectionSteps() {
    // As seen by side 0: own 0, blocked 1.
    constexpr int OWN = 0, BLOCKED = 1;
    const int d = Mover ? OWN : BLOCKED;
    std::array<std::array<DirectionSteps, 2>, patterns::HALF_STATES> table{};
    for (int state = 1; state < patterns::HALF_STATES; ++state) {
        int length = 0;
        while ((state >> (length + 1)) != 0)
            ++length;
        for (int behind = 0; behind < 2; ++behind) {
            DirectionSteps steps{};
            auto get = [&](int k) {
                if (k == -1)
                    return behind ? OWN : EMPTY;
                if (k >= 1 && k <= length)
                    return (state >> (k - 1)) & 1 ? OWN : EMPTY;
                if (k == length + 1 && length < 5)
                    return BLOCKED;
                steps.walked = true;
                return 3; // unknown: neither own, blocked nor empty
            };
            auto emit = [&](int k, unsigned parts) {
                if (steps.count < 4) {
                    steps.distance[steps.count] = static_cast<std::uint8_t>(k);
                    steps.parts[steps.count] = static_cast<std::uint8_t>(parts);
                }
                ++steps.count;
            };
            if constexpr (Mover)
                moverDirection(get, d, emit);
            else
                otherDirection(get, d, emit, [&] { steps.bounded = true; });
            if (steps.walked || steps.count > 4)
                steps = DirectionSteps{0, true, false, {}, {}};
            table[state][behind] = steps;
        }
    }
    return table;
}
constexpr auto MOVER_STEPS = buildDirectionSteps<true>();
constexpr auto OTHER_STEPS = buildDirectionSteps<false>();

template <int Mode>
void Walk<Mode>::phaseMover(int d) const {
    const int e = 1 - d;
    const std::uint8_t* canon = CANON[d].data();
    for (int i = 0; i < 8; ++i) {
        const DirectionSteps& steps = MOVER_STEPS[canon[lineCodes_[i]]][(lineCodes_[i ^ 1] & 3) == unsigned(d)];
        if (steps.walked) [[unlikely]] {
            moverDirection([this, i, e](int k) { return cellAt(i, k, e); }, d,
                           [this, i, d](int k, unsigned parts) { update(i, k, d, parts); });
            continue;
        }
        for (int u = 0; u < steps.count; ++u)
            update(i, steps.distance[u], d, steps.parts[u]);
    }
}

// Extensive mode only. With the next blocker at distance 6 the stretch
// between P and it is exactly 5 fields, and P's change turns an open three
// in there into one that can only become a closed four, or back:
//   P _ F X X _ d    P _ X F X _ d    P _ X X F _ d
// Its field F lies beyond the first free field, out of the walk's reach, so
// its runs are brought up to date here. At most one such field exists.
template <int Mode>
void Walk<Mode>::updateBoundedThree(int i, int e) const {
    const int d = 1 - e;
    if (cellAt(i, 6, d) != d || cellAt(i, 1, d) != EMPTY || cellAt(i, 5, d) != EMPTY)
        return;
    int free = 0, own = 0;
    for (int k = 2; k <= 4; ++k) {
        const int v = cellAt(i, k, d);
        if (v == EMPTY)
            free = k;
        else if (v == e)
            ++own;
    }
    if (own == 2 && free != 0)
        update(i, free, e, RUNS);
}

template <int Mode>
void Walk<Mode>::phaseOther(int d) const {
    const int e = 1 - d;
    const std::uint8_t* canon = CANON[e].data();
    for (int i = 0; i < 8; ++i) {
        const DirectionSteps& steps = OTHER_STEPS[canon[lineCodes_[i]]][(lineCodes_[i ^ 1] & 3) == unsigned(e)];
        if (steps.walked) [[unlikely]] {
            otherDirection([this, i, d](int k) { return cellAt(i, k, d); }, d,
                           [this, i, e](int k, unsigned parts) { update(i, k, e, parts); },
                           [this, i, e] {
                               if constexpr (Mode == 1)
                                   updateBoundedThree(i, e);
                           });
            continue;
        }
        if constexpr (Mode == 1)
            if (steps.bounded)
                updateBoundedThree(i, e);
        for (int u = 0; u < steps.count; ++u)
            update(i, steps.distance[u], e, steps.parts[u]);
    }
}

void appendEntry(MoveRecord& move, int x, int y, int side, const PatternRecord& record) {
    if (move.count >= MAX_FLAGS_IN_MOVE) {
        reportOverflow();
        return;
    }
    JournalEntry& e = move.entries[move.count++];
    e.x = x;
    e.y = y;
    e.side = side;
    e.record = record;
}

} // namespace

template <int Mode>
void CBoard::placeStone(int x, int y, Side s) {
    MoveRecord* move = journalCurrent;
    cells[x][y] = s;
    flipLineCodes(x, y, s);
    if (move != nullptr) {
        appendEntry(*move, x, y, s, patterns[x][y][s]);
        appendEntry(*move, x, y, 1 - s, patterns[x][y][1 - s]);
        move->oldRegion = region[s];
        move->oldStoneBounds = stoneBounds;
    }
    FieldRect& r = region[s];
    r.minX = std::min(r.minX, std::max(x - 2, 1));
    r.maxX = std::max(r.maxX, std::min(x + 2, BOARD_SIZE));
    r.minY = std::min(r.minY, std::max(y - 2, 1));
    r.maxY = std::max(r.maxY, std::min(y + 2, BOARD_SIZE));
    stoneBounds.minX = std::min(stoneBounds.minX, x);
    stoneBounds.maxX = std::max(stoneBounds.maxX, x);
    stoneBounds.minY = std::min(stoneBounds.minY, y);
    stoneBounds.maxY = std::max(stoneBounds.maxY, y);
    patterns[x][y][SIDE_O] = PatternRecord{};
    patterns[x][y][SIDE_X] = PatternRecord{};

    const Walk<Mode> walk(*this, x, y, s, move);
    walk.phaseMover(s);
    walk.phaseOther(s);

    if (move != nullptr) {
        move->side = s;
        ++journalCurrent;
        if (journalCurrent < journalEnd)
            journalCurrent->count = 0;
    }
}

template <int Mode>
void CBoard::removeStone(int x, int y) {
    const int d = cells[x][y];
    const int e = 1 - d;
    cells[x][y] = EMPTY;
    flipLineCodes(x, y, d);
    recomputeRegions();

    const Walk<Mode> walk(*this, x, y, d, nullptr);
    computeField<Mode>(*this, x * GRID_SIZE + y, d, patterns[x][y][d], ALL_PARTS);
    walk.phaseMover(d);
    computeField<Mode>(*this, x * GRID_SIZE + y, e, patterns[x][y][e], ALL_PARTS);
    walk.phaseOther(d);
}

template <int Mode>
void CBoard::recomputeAll() {
    rebuildLineCodes();
    recomputeRegions();
    for (Side s = SIDE_O; s <= SIDE_X; ++s) {
        setBorder(1 - s);
        for (int x = 1; x <= BOARD_SIZE; ++x) {
            for (int y = 1; y <= BOARD_SIZE; ++y) {
                PatternRecord& r = patterns[x][y][s];
                if (cells[x][y] != EMPTY) {
                    r = PatternRecord{};
                    continue;
                }
                computeField<Mode>(*this, x * GRID_SIZE + y, s, r, ALL_PARTS);
                if constexpr (Mode != 1)
                    r.threats = 0;
            }
        }
    }
}

// How many fields (at most 5) lie on the board behind each field against
// each direction: those that see it ahead in that direction.
constexpr auto buildWatchers() {
    std::array<std::array<std::array<std::uint8_t, 8>, GRID_SIZE>, GRID_SIZE> watchers{};
    for (int x = 1; x <= BOARD_SIZE; ++x) {
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            for (int i = 0; i < 8; ++i) {
                int k = 0;
                while (k < 5) {
                    const int qx = x - (k + 1) * DIRECTIONS[i].dx, qy = y - (k + 1) * DIRECTIONS[i].dy;
                    if (qx < 1 || qx > BOARD_SIZE || qy < 1 || qy > BOARD_SIZE)
                        break;
                    ++k;
                }
                watchers[x][y][i] = static_cast<std::uint8_t>(k);
            }
        }
    }
    return watchers;
}
constexpr auto WATCHERS = buildWatchers();

// A cell between empty and a stone of s: every field that sees it k steps
// ahead in direction i has the code bits of distance k toggled.
void CBoard::flipLineCodes(int x, int y, Side s) {
    const unsigned flip = unsigned(EMPTY ^ s) & 3;
    std::uint16_t* codes = &lineCodes[0][0][0];
    const int at = x * GRID_SIZE + y;
    // Branch-free: a watcher beyond the board is served by a local sink.
    std::uint16_t sink = 0;
    for (int i = 0; i < 8; ++i) {
        const int n = WATCHERS[x][y][i];
        const int back = -(DIRECTIONS[i].dx * GRID_SIZE + DIRECTIONS[i].dy) * 8;
        const int first = at * 8 + i;
        for (int k = 1; k <= 5; ++k) {
            std::uint16_t* target = k <= n ? codes + (first + k * back) : &sink;
            *target ^= static_cast<std::uint16_t>(flip << (2 * (k - 1)));
        }
    }
}

void CBoard::rebuildLineCodes() {
    std::memset(lineCodes, 0, sizeof lineCodes); // border fields keep 0: nothing reads them
    for (int x = 1; x <= BOARD_SIZE; ++x) {
        for (int y = 1; y <= BOARD_SIZE; ++y) {
            for (int i = 0; i < 8; ++i) {
                unsigned code = 0;
                for (int k = 5; k >= 1; --k) {
                    const int fx = x + k * DIRECTIONS[i].dx, fy = y + k * DIRECTIONS[i].dy;
                    const bool on = fx >= 1 && fx <= BOARD_SIZE && fy >= 1 && fy <= BOARD_SIZE;
                    code = code << 2 | unsigned(on ? cells[fx][fy] & 3 : 3);
                }
                lineCodes[x][y][i] = static_cast<std::uint16_t>(code);
            }
        }
    }
}

void CBoard::recomputePatterns() {
    if (patternMode == PATTERN_MODE_EXTENSIVE)
        recomputeAll<1>();
    else
        recomputeAll<0>();
}

void CBoard::place(Field f, Side s) {
    if (patternMode == PATTERN_MODE_EXTENSIVE)
        placeStone<1>(f.x, f.y, s);
    else
        placeStone<0>(f.x, f.y, s);
}

void CBoard::remove(Field f) {
    // Not a stone on the board: nothing to take off (the walk would index by side).
    if (!f.onBoard() || (cells[f.x][f.y] != SIDE_O && cells[f.x][f.y] != SIDE_X))
        return;
    if (patternMode == PATTERN_MODE_EXTENSIVE)
        removeStone<1>(f.x, f.y);
    else
        removeStone<0>(f.x, f.y);
}

} // namespace quintrel
