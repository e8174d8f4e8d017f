#pragma once
// CTreePlayer: the common base of the searching players. It owns what every
// searcher shares: its private board copy and journal buffer, the settings in
// use, candidate generation under the five field reductions, the four move
// orderings, aging of decisive scores, the static evaluation, the immediate
// verdict, the statistics with their log line, and the worker thread that
// runs one search per move.
//
// Threads. The user-interface thread calls requestMove, stopThinking, reset,
// isCandidate and the destructor; the worker (a ThinkingThread) runs
// search() on `board`. A started worker is always joined before the player
// is restarted, reset or destroyed, so nothing the worker uses can change or
// vanish under it. The two threads share only the worker's flags, the two
// relaxable settings `reduction` and `quality` (all atomic) and the message
// port.
//
// Every concrete kind must call stopThinking() first thing in its destructor:
// the worker calls the kind's own search(), which must not outlive it.
//
// Scores are from the point of view of the side to move: SCORE_INFINITY and
// its negation are the infinities, above 800 is won, below -800 lost.

#include "board/Board.h"
#include "board/FieldList.h"
#include "players/Player.h"
#include "players/ThinkingThread.h"
#include "players/TreeSettings.h"
#include "search/NodeFacts.h"
#include "search/SearchStatistics.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace quintrel {

// The verdict scores: the mover completes five, makes an open four, or makes
// a double or combined threat.
constexpr int SCORE_FIVE = 1598;
constexpr int SCORE_OPEN_FOUR = 1594;
constexpr int SCORE_DOUBLE_THREAT = 1590;

// Bytes of journal one ply needs.
constexpr std::size_t JOURNAL_PLY_BYTES = sizeof(MoveRecord);
static_assert(JOURNAL_PLY_BYTES == 1440);

// The settings a search runs with: loaded from the definition when a move is
// requested, so the worker never reads the definition's block, which the
// user-interface thread may replace at any time. The root relaxes
// `reduction` and `quality` in place while isCandidate may read them.
struct SearchSettings {
    std::uint32_t maxDepth = 3;
    std::uint32_t maxBranch = 0;
    std::int32_t ordering = TreeSettings::UNSORTED;
    std::atomic<std::int32_t> reduction{TreeSettings::CONTURE};
    std::atomic<std::uint32_t> quality{2};
    bool aging = true;
    bool attack = true;
    std::int32_t fullDepth = 0;
    bool weighted = false;

    void assign(const TreeSettings& s);
};

class CTreePlayer : public CPlayer {
public:
    CTreePlayer();
    ~CTreePlayer() override;

    // The game's requests (user-interface thread)
    void reset() override;
    void stopThinking() override;
    int requestMove(const CBoard& gameBoard, Side side) override;

    // Whether f would be a candidate of this player's current reduction on
    // `on`; the view darkens these as the examined fields.
    bool isCandidate(const CBoard& on, Field f) const;
    bool isCandidate(const CBoard& on, int x, int y) const {
        return isCandidate(on, Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    }
    bool marksExamined() const override { return true; }
    bool isExamined(const CBoard& on, int x, int y) const override { return isCandidate(on, x, y); }

    // One whole search on the calling thread, without posting anything: what
    // the worker does between copying the board and delivering. For tests,
    // tools and benchmarks, which seed the generator first. A running worker
    // is ended first.
    int think(const CBoard& gameBoard, Side side);

    // Results of the last search; read only while no worker runs.
    GameMove chosenMove() const { return bestMove; }
    const SearchStatistics& statistics() const { return stats; }
    unsigned searchDepthLimit() const { return journalDepth; }
    // The statistics text of the last search for its score; consumes `remark`
    // as the worker does.
    std::string composeLogLine(int score);

    bool isThinking() const { return worker.isThinking(); }

    // Shown when the journal could not be had for the configured depth
    // (caption, text); the UI installs one that opens a message box. Called on
    // the user-interface thread from requestMove.
    using MemoryWarningHandler = void (*)(const std::string& caption, const std::string& text);
    static void setMemoryWarningHandler(MemoryWarningHandler handler);
    static constexpr const char* MEMORY_WARNING_TEXT =
        "Value used for maximal depth was to high.\nCould not allocate an appropriate history\nbuffer. "
        "Thus the value has been decreased.";

protected:
    // The searcher: leaves the chosen field in bestMove and answers its score.
    virtual int search(Side s) = 0;
    // Static evaluation of the position for s.
    virtual int evaluate(Side s);
    // 1598, 1594 or 1590 when s has a winning threat (its field put into
    // bestMove), 0 when there is no verdict.
    virtual int verdict(Side s);
    // The same two answers straight from the board queries: the reference the
    // fast single-pass forms are checked against, and the path for boards in
    // the extensive pattern mode.
    int evaluateByQueries(Side s);
    int verdictByQueries(Side s);

    // The settings of the next search; a player without a definition uses its
    // kind's defaults.
    virtual TreeSettings loadSettings() const;
    const SearchSettings& settings() const { return current; }
    // Takes loadSettings() into use; only while no worker runs.
    void refreshSettings() { current.assign(loadSettings()); }

    // Candidates of the current reduction for s, in scan order (x, then y
    // ascending); at the root (relax) an empty list widens the reduction.
    void generateCandidates(FieldList& list, Side s, bool relax);
    // Takes the next move out of the list by the ordering in use.
    bool nextMove(FieldList& list, GameMove& move);

    // Aging: a decisive score loses a point per ply on its way up, and a bound
    // handed down is widened to match.
    int age(int score) const;
    int ageBound(int bound) const;

    // Empty board: a random field with x and y in 8..12, answered with 0.
    int playOpening();
    bool boardIsEmpty() const { return board.stoneBounds.isEmpty(); }
    // The smallest rectangle holding both sides' regions.
    FieldRect searchRectangle() const;

    // Trial moves on the private board, taken back through the journal.
    // Searchers play only through these, which keep `facts` current.
    void play(Field f, Side s) {
        board.place(f, s);
        columns[f.x + COLUMN_OFFSET] |= 1u << f.y;
        if (usesFacts()) facts.afterPlace(board);
    }
    void takeBack() {
        if (usesFacts()) facts.beforeTakeBack(board);
        const JournalEntry& placed = board.journalCurrent[-1].entries[0];
        columns[placed.x + COLUMN_OFFSET] &= ~(1u << placed.y);
        board.takeBack();
    }

    // The facts play() and takeBack() keep while a search runs.
    const NodeFacts& keptFacts() const { return facts; }

    // Statistics hooks
    void countPosition() { stats.countPosition(depth); }
    void countNode(int candidates) { stats.countNode(static_cast<unsigned>(candidates)); }
    void recordCut(int count, int atDepth) { stats.recordCut(count, atDepth); }

    // Root only: "i/n" progress and the examined field.
    void reportRootMove(int i, int n, Field f);
    bool interrupted() const { return worker.aborted(); }

    // Sizes journalBuffer for maxDepth, lowering the depth when memory is short.
    void prepareJournal();
    // The journal allocation; a seam for tests. Null when it fails.
    virtual std::unique_ptr<MoveRecord[]> allocateJournal(std::size_t plies);

    // Data, as the searchers use it.
    CBoard board;
    Side sideToMove = SIDE_O;
    GameMove bestMove;
    unsigned journalDepth = 0;
    unsigned depth = 0; // current ply, 0 at the root
    std::string remark; // Remark column of the next log line
    SearchStatistics stats;

private:
    bool prepareSearch(const CBoard& gameBoard, Side side);
    void threadProcedure();
    int runSearch();
    bool passesReduction(const CBoard& on, int x, int y, int reduction, unsigned quality) const;
    void scanCandidates(FieldList& list, Side s);
    void scanNearStones(FieldList& list, const FieldRect& r, bool contureOnly);

    ThinkingThread worker;
    std::unique_ptr<MoveRecord[]> journalBuffer;
    SearchSettings current;
    // The window as it was when the search started: the worker posts only here.
    WindowHandle searchWindow;
    bool statisticsOn = true;
    // Verdict and evaluation facts of the private board, kept by play() and
    // takeBack() while a search runs on a normal-mode board.
    NodeFacts facts;
    bool factsReady = false;
    // Occupied fields of the private board, one bit per y in a word per x
    // (two empty words on either side), kept by play() and takeBack().
    static constexpr int COLUMN_OFFSET = 2;
    std::uint32_t columns[BOARD_SIZE + 2 * COLUMN_OFFSET + 1] = {};
    bool occupancyReady = false;
    bool usesFacts() const { return factsReady && facts.valid() && board.patternMode == PATTERN_MODE_NORMAL; }
};

} // namespace quintrel
