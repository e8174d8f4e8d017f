#include "search/TreePlayer.h"

#include "board/BoardQueries.h"
#include "board/Random.h"
#include "players/PlayerDefinition.h"
#include "search/PositionScan.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <new>

namespace quintrel {

namespace {

std::atomic<CTreePlayer::MemoryWarningHandler> memoryWarningHandler{nullptr};

std::uint32_t tickMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

Field fieldAt(int x, int y) { return Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; }

} // namespace

void SearchSettings::assign(const TreeSettings& s) {
    maxDepth = s.maxDepth;
    maxBranch = s.maxBranch;
    ordering = s.ordering;
    reduction.store(s.reduction);
    quality.store(s.quality);
    aging = s.aging != 0;
    attack = s.attack != 0;
    fullDepth = s.fullDepth;
    weighted = s.weighted != 0;
}

// ---------------------------------------------------------------------------
// Life cycle and the worker

CTreePlayer::CTreePlayer() {
    priority = 1;
    board.clear();
    journalBuffer = allocateJournal(5);
    journalDepth = journalBuffer ? 4 : 0;
}

CTreePlayer::~CTreePlayer() { worker.finish(); }

void CTreePlayer::reset() { worker.finish(); }

void CTreePlayer::stopThinking() { worker.finish(); }

bool CTreePlayer::prepareSearch(const CBoard& gameBoard, Side side) {
    // The previous worker (if any) ends and delivers before anything changes.
    worker.finish();
    board = gameBoard;
    board.journalBase = board.journalCurrent = board.journalEnd = nullptr;
    sideToMove = side;
    refreshSettings();
    prepareJournal();
    return journalBuffer != nullptr; // without even the smallest journal nothing is searched
}

int CTreePlayer::requestMove(const CBoard& gameBoard, Side side) {
    if (!prepareSearch(gameBoard, side)) return 0;
    searchWindow = window;
    return worker.start([this] { threadProcedure(); }, priority) ? 1 : 0;
}

void CTreePlayer::threadProcedure() {
    rng::seedWithTime();
    const int score = runSearch();
    bestMove.side = sideToMove;
    // The line is composed before the move goes out: once the move is posted
    // the game may reset this player at once, and a stop that comes after the
    // search has ended must not mark its line "Interrupted...".
    PortMessage line;
    line.id = MSG_LOG;
    line.text = composeLogLine(score);
    PortMessage move;
    move.id = MSG_MOVE;
    move.lParam = bestMove.packed();
    postMessage(searchWindow, std::move(move));
    postMessage(searchWindow, std::move(line));
}

int CTreePlayer::think(const CBoard& gameBoard, Side side) {
    if (!prepareSearch(gameBoard, side)) return 0;
    const int score = runSearch();
    bestMove.side = sideToMove;
    return score;
}

int CTreePlayer::runSearch() {
    board.attachJournal(journalBuffer.get(), static_cast<int>(journalDepth) + 1);
    if (statisticsOn) stats.clear();
    depth = 0;
    const std::uint32_t start = tickMs();
    factsReady = board.patternMode == PATTERN_MODE_NORMAL;
    if (factsReady) facts.reset(board);
    for (auto& c : columns) c = 0;
    for (int x = 1; x <= BOARD_SIZE; ++x)
        for (int y = 1; y <= BOARD_SIZE; ++y)
            if (board.cells[x][y] != EMPTY) columns[x + COLUMN_OFFSET] |= 1u << y;
    occupancyReady = true;
    const int score = search(sideToMove);
    factsReady = false;
    occupancyReady = false;
    stats.timeMs = tickMs() - start;
    board.detachJournal(journalBuffer.get());
    return score;
}

TreeSettings CTreePlayer::loadSettings() const {
    if (definition) return TreeSettings::fromBlock(definition->settings);
    return TreeSettings::defaultsFor(className());
}

void CTreePlayer::setMemoryWarningHandler(MemoryWarningHandler handler) { memoryWarningHandler.store(handler); }

std::unique_ptr<MoveRecord[]> CTreePlayer::allocateJournal(std::size_t plies) {
    return std::unique_ptr<MoveRecord[]>(new (std::nothrow) MoveRecord[plies]);
}

void CTreePlayer::prepareJournal() {
    unsigned d = current.maxDepth;
    if (journalDepth == d && journalBuffer) return;
    if (auto buffer = allocateJournal(d + 1)) {
        journalBuffer = std::move(buffer);
        journalDepth = d;
        return;
    }
    while (d > 1) {
        --d;
        // The lowered depth stays in the definition, so the dialog shows it
        // and the store keeps it. The list belongs to the database, which
        // lends the player a read-only link; this is the one write through it.
        if (definition && definition->settings.size() >= 4) {
            auto& data = const_cast<PlayerDefinition*>(definition)->settings.data;
            for (int i = 0; i < 4; ++i) data[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(d >> (8 * i));
        }
        current.maxDepth = d;
        if (journalDepth == d) break;
        if (auto buffer = allocateJournal(d + 1)) {
            journalBuffer = std::move(buffer);
            journalDepth = d;
            break;
        }
    }
    if (auto handler = memoryWarningHandler.load()) handler(name() + ": Not enough memory!", MEMORY_WARNING_TEXT);
}

// ---------------------------------------------------------------------------
// Reporting

void CTreePlayer::reportRootMove(int i, int n, Field f) { postRootProgress(searchWindow, i, n, f); }

std::string CTreePlayer::composeLogLine(int score) {
    std::string text;
    if (interrupted()) {
        text = "Interrupted...";
        remark.clear();
    } else if (!remark.empty()) {
        text = std::move(remark);
        remark.clear();
    } else if (score > SCORE_WON) {
        text = "Probably winning";
    } else if (score < -SCORE_WON) {
        text = "Probably loosing";
    }
    return stats.logLine(journalDepth, score, text);
}

// ---------------------------------------------------------------------------
// Search helpers

int CTreePlayer::playOpening() {
    const int r = rng::next();
    const int r2 = rng::next();
    bestMove.field = fieldAt(8 + r % 5, 8 + r2 % 5);
    bestMove.side = sideToMove;
    return 0;
}

FieldRect CTreePlayer::searchRectangle() const {
    const FieldRect& a = board.region[SIDE_O];
    const FieldRect& b = board.region[SIDE_X];
    return FieldRect{std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
                     std::max(a.maxY, b.maxY)};
}

int CTreePlayer::age(int score) const {
    if (!current.aging) return score;
    if (score > SCORE_WON) return score - 1;
    if (score < -SCORE_WON) return score + 1;
    return score;
}

int CTreePlayer::ageBound(int bound) const {
    if (!current.aging || bound == 0 || bound == SCORE_INFINITY || bound == -SCORE_INFINITY) return bound;
    if (bound >= SCORE_WON) return bound + 1;
    if (bound <= -SCORE_WON) return bound - 1;
    return bound;
}

int CTreePlayer::verdict(Side s) {
    if (board.patternMode != PATTERN_MODE_NORMAL) return verdictByQueries(s);
    // One pass per side finds which kinds of threat exist; a list is built
    // only for the kind that decides, and picked from as the queries would.
    const bool kept = usesFacts();
    const unsigned mine = kept ? facts.threats(s) : scan::threatsOfSide(board, s, true);
    FieldList list;
    list.side = s;
    if (mine & scan::FIVE) {
        listFiveFields(board, s, list);
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_FIVE;
    }
    const unsigned theirs = kept ? facts.threats(otherSide(s)) : scan::threatsOfSide(board, otherSide(s), true);
    if (theirs & scan::FIVE) return 0;
    if (mine & scan::OPEN_FOUR) {
        listOpenFourFields(board, s, list);
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_OPEN_FOUR;
    }
    if (theirs & scan::OPEN_FOUR) return 0;
    if (mine & scan::DOUBLE) {
        listDoubleThreatFields(board, s, list);
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_DOUBLE_THREAT;
    }
    if (theirs & scan::DOUBLE) return 0;
    if (mine & scan::COMBO) {
        listComboThreatFields(board, s, list);
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_DOUBLE_THREAT;
    }
    return 0;
}

int CTreePlayer::verdictByQueries(Side s) {
    const Side o = otherSide(s);
    FieldList list;
    list.side = s;
    if (listFiveFields(board, s, list)) {
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_FIVE;
    }
    if (listFiveFields(board, o, list)) return 0;
    if (listOpenFourFields(board, s, list)) {
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_OPEN_FOUR;
    }
    if (listOpenFourFields(board, o, list)) return 0;
    if (listDoubleThreatFields(board, s, list)) {
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_DOUBLE_THREAT;
    }
    if (listDoubleThreatFields(board, o, list)) return 0;
    if (listComboThreatFields(board, s, list)) {
        pickBestOwnWorth(list, board, bestMove);
        return SCORE_DOUBLE_THREAT;
    }
    return 0;
}

int CTreePlayer::evaluate(Side s) {
    if (usesFacts()) return facts.evaluation(s, current.attack);
    if (board.patternMode == PATTERN_MODE_NORMAL) return scan::evaluation(board, searchRectangle(), s, current.attack);
    return evaluateByQueries(s);
}

int CTreePlayer::evaluateByQueries(Side s) {
    const Side o = otherSide(s);
    int score = 1;
    const FieldRect r = searchRectangle();
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y) {
            if (board.cells[x][y] != EMPTY) continue;
            const int own = board.patterns[x][y][s].worth;
            const int opp = board.patterns[x][y][o].worth;
            if (own > 3) score += own;
            if (opp > 3) score -= opp;
        }
    if (current.attack) score += threatCount(board, s) - threatCount(board, o);
    return score;
}

bool CTreePlayer::passesReduction(const CBoard& on, int x, int y, int reduction, unsigned quality) const {
    switch (reduction) {
    case TreeSettings::WIDE_CONTURE: return !on.isQuietSquare(x, y);
    case TreeSettings::CONTURE: return !on.isIsolated(x, y);
    case TreeSettings::QUALITY:
        return on.patterns[x][y][SIDE_O].worth >= quality || on.patterns[x][y][SIDE_X].worth >= quality;
    default: return true;
    }
}

void CTreePlayer::scanCandidates(FieldList& list, Side s) {
    list.count = 0;
    list.side = s;
    const int reduction = current.reduction.load(std::memory_order_relaxed);
    const unsigned quality = current.quality.load(std::memory_order_relaxed);
    const FieldRect r = reduction == TreeSettings::NO_REDUCTION ? FieldRect{1, 1, BOARD_SIZE, BOARD_SIZE}
                                                                : searchRectangle();
    if (occupancyReady && (reduction == TreeSettings::CONTURE || reduction == TreeSettings::WIDE_CONTURE)) {
        scanNearStones(list, r, reduction == TreeSettings::CONTURE);
        return;
    }
    for (int x = r.minX; x <= r.maxX; ++x)
        for (int y = r.minY; y <= r.maxY; ++y)
            if (board.cells[x][y] == EMPTY && passesReduction(board, x, y, reduction, quality))
                list.append(fieldAt(x, y));
}

// The stone tests of "Conture" and "Wide conture" on whole columns at once.
// Bit y of a column is the field (x, y); off-board columns and bits stay 0,
// which is what both tests do with fields off the board.
//   Conture: a stone at distance 1 or 2 along one of the 8 directions
//     . . x . .      x: the fields looked at
//     . x x x .
//     x x F x x
//     . x x x .
//     . . x . .   (and the four diagonal fields at distance 2)
//   Wide conture: a stone anywhere in the 5 x 5 square around the field.
void CTreePlayer::scanNearStones(FieldList& list, const FieldRect& r, bool contureOnly) {
    if (r.isEmpty()) return;
    const std::uint32_t rows = ((2u << r.maxY) - 1u) & ~((1u << r.minY) - 1u);
    const auto col = [this](int x) { return columns[x + COLUMN_OFFSET]; };
    for (int x = r.minX; x <= r.maxX; ++x) {
        std::uint32_t near;
        if (contureOnly) {
            const std::uint32_t c0 = col(x), c1 = col(x - 1) | col(x + 1), c2 = col(x - 2) | col(x + 2);
            near = (c0 << 1) | (c0 >> 1) | (c0 << 2) | (c0 >> 2) | c1 | (c1 << 1) | (c1 >> 1) | c2 | (c2 << 2) |
                   (c2 >> 2);
        } else {
            const std::uint32_t c = col(x - 2) | col(x - 1) | col(x) | col(x + 1) | col(x + 2);
            near = c | (c << 1) | (c >> 1) | (c << 2) | (c >> 2);
        }
        for (std::uint32_t bits = near & ~col(x) & rows; bits != 0; bits &= bits - 1)
            list.append(fieldAt(x, std::countr_zero(bits)));
    }
}

void CTreePlayer::generateCandidates(FieldList& list, Side s, bool relax) {
    scanCandidates(list, s);
    if (!relax || list.count > 0) return;
    // The root widens its choice until it finds a move; the settings are
    // restored afterwards, so the next node sees them unchanged.
    if (current.reduction.load() == TreeSettings::QUALITY) {
        const unsigned quality = current.quality.load();
        while (list.count == 0 && current.quality.load() > 2) {
            current.quality.store(current.quality.load() - 1);
            scanCandidates(list, s);
        }
        current.quality.store(quality);
    }
    const int reduction = current.reduction.load();
    while (list.count == 0 && current.reduction.load() > 0) {
        current.reduction.store(current.reduction.load() - 1);
        scanCandidates(list, s);
    }
    current.reduction.store(reduction);
}

bool CTreePlayer::nextMove(FieldList& list, GameMove& move) {
    switch (current.ordering) {
    case TreeSettings::ABSOLUTE_BEST: return scan::pickAbsoluteBest(list, board, move, current.attack);
    case TreeSettings::OPPONENTS_BEST: return pickBestOpponentWorth(list, board, move);
    case TreeSettings::MY_BEST: return pickBestOwnWorth(list, board, move);
    default:
        if (list.count == 0) return false;
        move.field = list.fields[list.count - 1];
        move.side = list.side;
        --list.count;
        return true;
    }
}

bool CTreePlayer::isCandidate(const CBoard& on, Field f) const {
    if (!f.onBoard() || on.cells[f.x][f.y] != EMPTY) return false;
    int reduction;
    unsigned quality;
    if (isThinking()) {
        // The search may be relaxing these right now. Once it has ended (its
        // thread may still wait to be joined) the player's settings rule.
        reduction = current.reduction.load();
        quality = current.quality.load();
    } else {
        const TreeSettings s = loadSettings();
        reduction = s.reduction;
        quality = s.quality;
    }
    if (reduction == TreeSettings::RECTANGULAR) {
        const FieldRect& a = on.region[SIDE_O];
        const FieldRect& b = on.region[SIDE_X];
        return f.x >= std::min(a.minX, b.minX) && f.x <= std::max(a.maxX, b.maxX) &&
               f.y >= std::min(a.minY, b.minY) && f.y <= std::max(a.maxY, b.maxY);
    }
    return passesReduction(on, f.x, f.y, reduction, quality);
}

} // namespace quintrel
