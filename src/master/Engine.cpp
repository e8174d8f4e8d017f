#include "master/Engine.h"

#include "master/Evaluation.h"
#include "master/Table.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>
#include <vector>

namespace quintrel::master {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int MAX_PLY = 120;
constexpr int INF = 32000;
constexpr int WON = WIN_SCORE - 1000; // beyond this a score is a proved result
constexpr int LEAF_VCF_PLIES = 11;    // continuous fours looked for below the horizon
constexpr int ROOT_VCF_PLIES = 41;
constexpr int BEAM_BASE = 6;
// The opponent's answers to a root move get a wider look: a quiet answer the
// beam cut there is the surprise that loses games.
constexpr int REPLY_BEAM_EXTRA = 10;
// In the opening a quiet move must touch a stone: one two away leaves the
// opponent's shape to grow, and the evaluation cannot yet tell that from
// space of our own. Our threes and fours go anywhere, and so do the stops
// of theirs. Under freestyle a far stop of their three-to-be is too loose
// for the fitted evaluation; the other rules keep it (renju lost 1-9 without
// it, where it won 6-4 with it).
constexpr int OPENING_STONES = 12;
constexpr std::int64_t LEAF_VCF_BUDGET = 50; // nodes: a wider search there costs more depth than it finds
constexpr int ROOT_VCT_PLIES = 21;
constexpr std::int64_t ROOT_VCT_BUDGET = 30000;
constexpr std::int64_t DEFENCE_VCT_BUDGET = 4000;
constexpr int DEFENCE_CANDIDATES = 25; // the best by shape; the rest rarely defend
// Their search from each defence left, as deep as it proves wins on its own
// that ours at the root misses at ply one (the 13-ply ladder test needs 6).
constexpr int VERIFY_DEPTH = 6;
constexpr std::uint64_t SIDE_KEY = 0x5D2E1F0A9B3C4D6Full;

bool isProved(int v) { return v >= WON || v <= -WON; }

// Proved scores are stored relative to the node, so a transposition met at
// another ply reads the same distance to the five.
int toTable(int v, int ply) { return v >= WON ? v + ply : v <= -WON ? v - ply : v; }
int fromTable(int v, int ply) { return v >= WON ? v - ply : v <= -WON ? v + ply : v; }

struct Move {
    int cell;
    int score;
};

// What the threads share: the table, the clock and the stop.
struct Shared {
    TransTable table;
    const std::atomic<int>* stop = nullptr;
    std::atomic<bool> abort{false};
    Clock::time_point start;
    Clock::time_point hardDeadline;
    Clock::time_point threatDeadline;
};

int bestLine(const Position& pos, int s, int c) {
    int best = 0;
    for (int d = 0; d < 4; ++d)
        best = std::max<int>(best, pos.pattern(s, c, d));
    return best;
}

// One searching thread: its own position and move-ordering memory.
class Worker {
public:
    Worker(Shared& shared, bool isMain) : shared(shared), isMain(isMain) {}

    void setUp(const Setup& setup) {
        pos.setUp(setup);
        weights = &weightsFor(setup.rule);
        for (auto& k : killers)
            k[0] = k[1] = -1;
        for (auto& h : history)
            std::fill(std::begin(h), std::end(h), 0);
    }

    int search(int alpha, int beta, int depth, int ply, bool pvNode);
    // Plies to a five by continuous fours for the side to move, 0 when none
    // is found within `plies` and `budget` nodes.
    int vcf(int plies, std::int64_t budget) {
        vcfLeft = budget;
        return vcfStep(plies);
    }
    // Plies to a five by fours and open threes for the side to move, 0 when
    // none is found within `plies` and the node budget; firstMove is its move.
    int vct(int plies, std::int64_t budget, int* firstMove);
    int evaluate() const { return master::evaluate(pos, *weights); }
    // Cells of s's class p (on any line) among the candidates.
    int collect(int s, LinePattern p, int* out, int max) const;
    bool legal(int s, int c) { return !pos.forbidden(s, c); }
    // Whether s's four on c wins on the next move: an open four, or two fours
    // where s may make them (black's double four is forbidden, and so is an
    // open four beside another four or two threes).
    bool winningFour(int s, int c) {
        return (bestLine(pos, s, c) == F4 || (!pos.restricted(s) && pos.fourLineCount(s, c) >= 2)) && legal(s, c);
    }
    // The first of s's fours that wins so, -1 when none.
    int fourThatWins(int s);
    // Whether s has an open four to make: all the opponent's moves then
    // answer it.
    bool threatensOpenFour(int s) { return pos.restricted(s) ? fourThatWins(s) >= 0 : pos.hasPattern(s, F4); }

    Position pos;
    const Weights* weights = &HAND_WEIGHTS;
    Shared& shared;
    bool isMain;
    Progress progress;
    std::uint64_t nodes = 0, expanded = 0, branchSum = 0, cuts = 0;
    int selDepth = 0;
    int rootBest = -1;
    int rootDepth = 0;
    int killers[MAX_PLY + 1][2];
    int history[2][CELLS];

private:
    int generate(Move* out, bool defendOnly);
public:
    // Every candidate of the side to move, under the same restriction as the
    // search, best shape first.
    int generateAll(Move* out) {
        const int n = generate(out, threatensOpenFour(1 - pos.toMove()));
        std::sort(out, out + n, [](const Move& a, const Move& b) { return a.score > b.score; });
        return n;
    }
    // When not empty, the only root moves searched.
    std::vector<int> rootMoves;
    // Root moves left out: the best ones already found, for the next best.
    std::vector<int> excluded;
    // The line the table holds from the root move `first`, at most `length` moves.
    std::vector<Point> principalLine(int first, int length);
    // Whether the side to move wins by a search of at most `maxDepth` plies
    // taken from here as its root, where every move is looked at.
    bool winsBySearch(int maxDepth);

private:
    int vctAttack(int plies, int* firstMove);
    void checkThreatTime();
    int vcfStep(int plies);
    std::int64_t vcfLeft = 0;
    int vctDefend(int plies);
    std::int64_t vctLeft = 0;
    void checkTime() {
        if ((nodes & 127) != 0 || !isMain) return;
        if (shared.stop->load(std::memory_order_relaxed) != 0 || Clock::now() >= shared.hardDeadline)
            shared.abort.store(true, std::memory_order_relaxed);
    }
    bool aborted() const { return shared.abort.load(std::memory_order_relaxed); }
};

// Calls f(c) for every candidate cell, row by row: the order ties are broken in.
template <class F>
void forEachCandidate(const Position& pos, F&& f) {
    for (int y = std::max(0, pos.minY - 2); y <= std::min(pos.height() - 1, pos.maxY + 2); ++y)
        for (int x = std::max(0, pos.minX - 2); x <= std::min(pos.width() - 1, pos.maxX + 2); ++x)
            if (const int c = cellOf(x, y); pos.isCandidate(c)) f(c);
}

int Worker::fourThatWins(int s) {
    for (int i = 0; i < pos.fourPoints(s).size(); ++i)
        if (const int c = pos.fourPoints(s)[i]; winningFour(s, c)) return c;
    return -1;
}

int Worker::collect(int s, LinePattern p, int* out, int max) const {
    int n = 0;
    forEachCandidate(pos, [&](int c) {
        for (int d = 0; d < 4; ++d)
            if (pos.pattern(s, c, d) == p) {
                if (n < max) out[n] = c;
                ++n;
                return;
            }
    });
    return n;
}

// Candidates near the stones, scored for ordering by what they make for the
// mover and what they take from the opponent. Against an open three only
// our fours and the cells that stop it are worth a look.
int Worker::generate(Move* out, bool defendOnly) {
    const int me = pos.toMove(), opp = 1 - me;
    const bool opening = pos.stoneCount() < OPENING_STONES;
    const int farStop = pos.rule() == Rule::FREESTYLE ? B4 : F3;
    int n = 0;
    forEachCandidate(pos, [&](int c) {
        if (defendOnly && bestLine(pos, me, c) < B4 && bestLine(pos, opp, c) < B4) return;
        if (opening && !pos.touchesStone(c) && bestLine(pos, me, c) < F3 && bestLine(pos, opp, c) < farStop) return;
        if (!legal(me, c)) return;
        out[n++] = Move{c, pos.value(me, c) * 2 + pos.value(opp, c) + (history[me][c] >> 4)};
    });
    return n;
}

int Worker::vcfStep(int plies) {
    ++nodes;
    checkTime();
    if (--vcfLeft < 0) return 0;
    const int me = pos.toMove(), opp = 1 - me;
    if (pos.fivePoints(me).size()) return 1;
    int fours[MAX_MOVES];
    int n;
    if (const int theirs = pos.fivePoints(opp).size()) {
        // Their four must be stopped; it goes on only if the stop is a four of ours.
        const int block = pos.fivePoints(opp)[0];
        if (theirs > 1 || pos.fourLineCount(me, block) == 0 || !legal(me, block)) return 0;
        fours[0] = block;
        n = 1;
    } else {
        if (threatensOpenFour(me)) return 3;
        const bool restricted = pos.restricted(me);
        n = 0;
        for (int i = 0; i < pos.fourPoints(me).size(); ++i) {
            const int c = pos.fourPoints(me)[i];
            if (!restricted && pos.fourLineCount(me, c) >= 2) return 3;
            if (legal(me, c)) fours[n++] = c;
        }
    }
    if (plies < 3 || aborted()) return 0;
    for (int i = 0; i < n; ++i) {
        pos.play(fours[i]);
        int result = 0;
        if (pos.fivePoints(opp).size() == 0 && pos.fivePoints(me).size() == 1) {
            const int block = pos.fivePoints(me)[0];
            // Under renju white wins by a four black may not stop.
            if (!legal(opp, block)) {
                result = 3;
            } else {
                pos.play(block);
                if (const int r = vcfStep(plies - 2)) result = r + 2;
                pos.undo();
            }
        }
        pos.undo();
        if (result) return result;
    }
    return 0;
}

int Worker::vct(int plies, std::int64_t budget, int* firstMove) {
    vctLeft = budget;
    return vctAttack(plies, firstMove);
}

// The threat searches at the root get a share of the time, not all of it.
void Worker::checkThreatTime() {
    if ((nodes & 127) == 0 && Clock::now() >= shared.threatDeadline) vctLeft = 0;
}

// The attacker's turn: a four or an open three, each answered by every
// defence; a five to stop first, and it goes on only if it can.
int Worker::vctAttack(int plies, int* firstMove) {
    ++nodes;
    checkTime();
    checkThreatTime();
    if (--vctLeft < 0 || aborted()) return 0;
    const int me = pos.toMove(), opp = 1 - me;
    if (pos.fivePoints(me).size()) {
        if (firstMove) *firstMove = pos.fivePoints(me)[0];
        return 1;
    }
    const int theirs = pos.fivePoints(opp).size();
    if (theirs > 1) return 0;
    int threats[MAX_MOVES];
    int n = 0;
    if (theirs == 1) {
        threats[n++] = pos.fivePoints(opp)[0];
        if (!legal(me, threats[0])) return 0;
    } else {
        for (int i = 0; i < pos.fourPoints(me).size(); ++i) {
            const int c = pos.fourPoints(me)[i];
            if (winningFour(me, c)) {
                if (firstMove) *firstMove = c;
                return 3;
            }
            if (legal(me, c)) threats[n++] = c;
        }
        if (plies < 3) return 0;
        // With an open three of theirs on the board only fours keep the initiative.
        if (!threatensOpenFour(opp)) {
            const int fours = n;
            forEachCandidate(pos, [&](int c) {
                if (bestLine(pos, me, c) == F3 && legal(me, c)) threats[n++] = c;
            });
            std::sort(threats + fours, threats + n,
                      [&](int a, int b) { return pos.value(me, a) > pos.value(me, b); });
        }
    }
    for (int i = 0; i < n; ++i) {
        pos.play(threats[i]);
        const int r = vctDefend(plies - 1);
        pos.undo();
        if (r) {
            if (firstMove) *firstMove = threats[i];
            return r + 1;
        }
    }
    return 0;
}

// The defender's turn: every move that stops the threat, and every four of
// their own; the attack holds only if it wins against each.
int Worker::vctDefend(int plies) {
    ++nodes;
    const int me = pos.toMove(), opp = 1 - me; // opp attacks
    if (pos.fivePoints(me).size()) return 0;
    const int fives = pos.fivePoints(opp).size();
    if (fives > 1) return 2;
    int replies[2 * MAX_MOVES];
    int n = 0;
    if (fives == 1) {
        replies[n++] = pos.fivePoints(opp)[0];
        if (!legal(me, replies[0])) return 2; // black may not stop it
    } else if (threatensOpenFour(opp)) {
        for (int i = 0; i < pos.fourPoints(opp).size(); ++i)
            if (const int c = pos.fourPoints(opp)[i]; legal(me, c)) replies[n++] = c;
        for (int i = 0; i < pos.fourPoints(me).size(); ++i) {
            const int c = pos.fourPoints(me)[i];
            if (pos.fourLineCount(opp, c) == 0 && legal(me, c)) replies[n++] = c;
        }
        if (n == 0) return 4;
    } else {
        return 0; // no threat left: the defender is free
    }
    int longest = 0;
    for (int i = 0; i < n; ++i) {
        pos.play(replies[i]);
        const int r = vctAttack(plies - 1, nullptr);
        pos.undo();
        if (!r) return 0;
        longest = std::max(longest, r);
    }
    return longest + 1;
}

// Step 1. Decided positions: a five to make, a five to stop, an open four.
// Step 2. The horizon: continuous fours, else the value. Step 3. The table.
// Step 4. Moves: ordered by the table's, the killers, history and shape.
// Step 5. Principal-variation search with late moves reduced.
int Worker::search(int alpha, int beta, int depth, int ply, bool pvNode) {
    ++nodes;
    checkTime();
    if (aborted()) return 0;
    if (ply > selDepth) selDepth = ply;
    const int me = pos.toMove(), opp = 1 - me;

    // Step 1
    if (pos.hasPattern(me, FIVE)) return WIN_SCORE - (ply + 1);
    if (ply >= MAX_PLY) return evaluate();
    Move moves[MAX_MOVES];
    int n = 0;
    bool forced = false;
    if (const int theirs = pos.fivePoints(opp).size()) {
        if (theirs > 1 || !legal(me, pos.fivePoints(opp)[0])) return -(WIN_SCORE - (ply + 2));
        moves[0] = Move{pos.fivePoints(opp)[0], 0};
        n = 1;
        forced = true;
    } else if (threatensOpenFour(me)) {
        return WIN_SCORE - (ply + 3);
    }

    // Step 2
    if (!forced && depth <= 0) {
        if (const int r = vcf(LEAF_VCF_PLIES, LEAF_VCF_BUDGET)) return WIN_SCORE - (ply + r);
        return evaluate();
    }

    // Step 3
    const std::uint64_t key = pos.hash() ^ (me ? SIDE_KEY : 0);
    TableHit hit;
    int ttMove = -1;
    if (shared.table.probe(key, hit)) {
        ttMove = hit.move;
        const int v = fromTable(hit.score, ply);
        if (!pvNode && ply > 0 && hit.depth >= depth &&
            (hit.bound == BOUND_EXACT || (hit.bound == BOUND_LOWER && v >= beta) ||
             (hit.bound == BOUND_UPPER && v <= alpha)))
            return v;
    }

    // Step 4
    if (!forced) {
        n = generate(moves, threatensOpenFour(opp));
        if (ply == 0 && (!rootMoves.empty() || !excluded.empty()))
            n = static_cast<int>(std::remove_if(moves, moves + n, [&](const Move& m) {
                    return (!rootMoves.empty() &&
                            std::find(rootMoves.begin(), rootMoves.end(), m.cell) == rootMoves.end()) ||
                           std::find(excluded.begin(), excluded.end(), m.cell) != excluded.end();
                }) - moves);
        if (n == 0) return evaluate();
        if (!pos.restricted(me))
            for (int i = 0; i < pos.fourPoints(me).size(); ++i)
                if (pos.fourLineCount(me, pos.fourPoints(me)[i]) >= 2) return WIN_SCORE - (ply + 3);
        for (int i = 0; i < n; ++i) {
            const int c = moves[i].cell;
            if (c == ttMove) moves[i].score += 1 << 24;
            else if (c == killers[ply][0]) moves[i].score += 1 << 20;
            else if (c == killers[ply][1]) moves[i].score += 1 << 19;
        }
        // Beyond the best few the shapes say little: the search stays narrow
        // and deep. (Searching the rest when all of those lose, to keep
        // losses proved, cost more games than it saved.)
        const int kept =
            ply > 0 ? std::min(n, BEAM_BASE + std::max(depth, 0) + (ply == 1 ? REPLY_BEAM_EXTRA : 0)) : n;
        std::partial_sort(moves, moves + kept, moves + n,
                          [](const Move& a, const Move& b) { return a.score > b.score; });
        n = kept;
        ++expanded;
        branchSum += static_cast<std::uint64_t>(n);
    }

    // Step 5
    const int alphaIn = alpha;
    int best = -INF, bestMove = -1;
    for (int i = 0; i < n; ++i) {
        const int c = moves[i].cell;
        if (ply == 0 && progress) progress(i + 1, n, pointOf(c));
        const int shape = bestLine(pos, me, c);
        const bool threat = shape >= F3 || bestLine(pos, opp, c) >= B4;
        pos.play(c);
        // An open three forces the answer as a four does: searched a ply deeper,
        // so threat sequences reach past the horizon (bounded by the root's depth).
        const bool extend = forced || (shape == F3 && ply < 2 * rootDepth);
        const int newDepth = extend ? depth : depth - 1;
        int v;
        if (i == 0) {
            v = -search(-beta, -alpha, newDepth, ply + 1, pvNode);
        } else {
            const int r = (!threat && depth >= 3 && i >= 3) ? 1 + (i >= 10) : 0;
            v = -search(-alpha - 1, -alpha, newDepth - r, ply + 1, false);
            if (v > alpha && r) v = -search(-alpha - 1, -alpha, newDepth, ply + 1, false);
            if (v > alpha && v < beta && pvNode) v = -search(-beta, -alpha, newDepth, ply + 1, true);
        }
        pos.undo();
        if (aborted()) return 0;
        if (v > best) {
            best = v;
            bestMove = c;
            if (ply == 0 && v > alpha) rootBest = c;
            if (v > alpha) {
                alpha = v;
                if (v >= beta) {
                    cuts += static_cast<std::uint64_t>(n - i - 1);
                    if (!forced && c != killers[ply][0]) {
                        killers[ply][1] = killers[ply][0];
                        killers[ply][0] = c;
                    }
                    history[me][c] += depth * depth;
                    break;
                }
            }
        }
    }
    const Bound bound = best >= beta ? BOUND_LOWER : best > alphaIn ? BOUND_EXACT : BOUND_UPPER;
    // A root searched without its best moves is not the root's value.
    if (ply > 0 || excluded.empty()) shared.table.store(key, bestMove, toTable(best, ply), depth, bound);
    return best;
}

bool Worker::winsBySearch(int maxDepth) {
    const Progress saved = std::exchange(progress, nullptr);
    bool won = false;
    for (int d = 1; d <= maxDepth && !won && !aborted(); ++d) {
        rootDepth = d;
        won = search(WON - 1, WON, d, 0, false) >= WON && !aborted();
    }
    progress = saved;
    return won;
}

std::vector<Point> Worker::principalLine(int first, int length) {
    std::vector<Point> line;
    int played = 0;
    for (int c = first; c >= 0 && static_cast<int>(line.size()) < length;) {
        const int me = pos.toMove();
        const Point p = pointOf(c);
        if (p.x < 0 || p.y < 0 || p.x >= pos.width() || p.y >= pos.height() || !pos.empty(c) || !legal(me, c))
            break;
        const bool five = bestLine(pos, me, c) == FIVE;
        line.push_back(p);
        pos.play(c);
        ++played;
        if (five) break;
        TableHit hit;
        c = shared.table.probe(pos.hash() ^ (pos.toMove() ? SIDE_KEY : 0), hit) ? hit.move : -1;
    }
    while (played-- > 0) pos.undo();
    return line;
}

} // namespace

struct Engine::Impl {
    Shared shared;
    // The table's scores belong to one board and rule; a new table is empty.
    int width = 19, height = 19;
    Rule rule = Rule::FREESTYLE;
};

Engine::Engine() : impl(std::make_unique<Impl>()) {
    // The freestyle tables are built once, here, so that no search pays for
    // them; another rule's are built by the first search under it.
    (void)tablesFor(Rule::FREESTYLE);
}
Engine::~Engine() = default;

void Engine::prepare(int hashMb) { impl->shared.table.resize(hashMb); }

Result Engine::search(const Setup& setup, const Limits& limits, const std::atomic<int>& stop,
                      const Progress& progress, const Report& report) {
    Shared& shared = impl->shared;
    shared.start = Clock::now();
    // The answer travels after the search: a small margin keeps it inside the time.
    // Without a time the search ends by the stop or the depth alone.
    const bool timed = limits.timeMs > 0;
    // Wide enough for the fractions of it taken below when there is no time.
    const std::int64_t budget =
        timed ? std::max(1, limits.timeMs - std::clamp(limits.timeMs / 20, 5, 50)) : std::int64_t{1} << 30;
    shared.hardDeadline = timed ? shared.start + std::chrono::milliseconds(budget) : Clock::time_point::max();
    shared.threatDeadline = shared.start + std::chrono::milliseconds(budget / 10);
    shared.stop = &stop;
    shared.abort.store(false);

    auto main = std::make_unique<Worker>(shared, true);
    main->setUp(setup);
    main->progress = progress;
    Position& pos = main->pos;
    const int me = setup.toMove, opp = 1 - me;
    Result result;

    // A move that needs no search: the centre of an empty board, a five, a
    // five to stop, an open four or two fours.
    auto forcedMove = [&](int c, int proved) {
        result.move = pointOf(c);
        result.forced = true;
        result.proved = proved;
        result.score = proved > 0 ? WIN_SCORE - proved : proved < 0 ? -(WIN_SCORE + proved) : 0;
        result.nodes = 1;
        result.lines = {Line{result.move, result.score, proved, {result.move}}};
        if (report) report(result);
        return result;
    };
    if (pos.stoneCount() == 0) return forcedMove(cellOf(setup.width / 2, setup.height / 2), 0);
    if (pos.fivePoints(me).size()) return forcedMove(pos.fivePoints(me)[0], 1);
    // A four black may not stop is searched like any lost position, for a legal move.
    if (const int theirs = pos.fivePoints(opp).size(); theirs && main->legal(me, pos.fivePoints(opp)[0]))
        return forcedMove(pos.fivePoints(opp)[0], theirs > 1 ? -2 : 0);
    if (pos.fivePoints(opp).size() == 0)
        if (const int c = main->fourThatWins(me); c >= 0) return forcedMove(c, 3);

    // The table is sized (and its memory touched) only when a search needs it.
    shared.table.resize(limits.hashMb);
    if (impl->width != setup.width || impl->height != setup.height || impl->rule != setup.rule) {
        shared.table.clear();
        impl->width = setup.width;
        impl->height = setup.height;
        impl->rule = setup.rule;
    }

    // Continuous fours from the root: the first four of a proved win.
    if (const int r = main->vcf(ROOT_VCF_PLIES, ROOT_VCT_BUDGET)) {
        int fours[MAX_MOVES];
        const int n = main->collect(me, B4, fours, MAX_MOVES);
        for (int i = 0; i < n; ++i) {
            if (!main->legal(me, fours[i])) continue;
            pos.play(fours[i]);
            const bool ok = pos.fivePoints(me).size() == 1;
            int rest = 0;
            if (ok) {
                pos.play(pos.fivePoints(me)[0]);
                rest = main->vcf(r - 2, ROOT_VCT_BUDGET);
                pos.undo();
            }
            pos.undo();
            if (ok && rest) return forcedMove(fours[i], rest + 2);
        }
    }

    // Fours and threes from the root: a win the search may not reach in time.
    int first = -1;
    if (const int r = main->vct(ROOT_VCT_PLIES, ROOT_VCT_BUDGET, &first); r && first >= 0)
        return forcedMove(first, r);
    // Their threats: if they could win by fours and threes were it their move,
    // only the moves after which they cannot are searched. Fours alone reach
    // further than the threes' search, so they are looked for apart.
    const auto opponentWins = [&](std::int64_t nodeBudget) {
        return main->vcf(ROOT_VCF_PLIES, nodeBudget) != 0 ||
               main->vct(ROOT_VCT_PLIES, nodeBudget, nullptr) != 0;
    };
    shared.threatDeadline = shared.start + std::chrono::milliseconds(budget / 5);
    pos.pass();
    const bool threatened = opponentWins(ROOT_VCT_BUDGET);
    pos.pass();
    if (threatened) {
        shared.threatDeadline = shared.start + std::chrono::milliseconds(budget * 2 / 5);
        Move moves[MAX_MOVES];
        const int n = std::min(main->generateAll(moves), DEFENCE_CANDIDATES);
        for (int i = 0; i < n && !shared.abort.load(); ++i) {
            pos.play(moves[i].cell);
            if (!opponentWins(DEFENCE_VCT_BUDGET)) main->rootMoves.push_back(moves[i].cell);
            pos.undo();
        }
    }
    // A quiet move in their attack is beyond fours and threes: their own
    // search from each defence left finds it, and fills the table for ours.
    // Cut short by the clock, the defences not yet refuted all stay.
    if (main->rootMoves.size() > 1) {
        const auto hard = shared.hardDeadline;
        shared.hardDeadline = std::min(hard, shared.start + std::chrono::milliseconds(budget * 3 / 5));
        std::vector<int> safe, defences = std::exchange(main->rootMoves, {});
        for (const int c : defences) {
            pos.play(c);
            if (!main->winsBySearch(VERIFY_DEPTH)) safe.push_back(c);
            pos.undo();
        }
        shared.hardDeadline = hard;
        if (stop.load() == 0 && Clock::now() < hard) shared.abort.store(false);
        main->rootMoves = safe.empty() ? defences : safe;
    }

    // Helpers search the same tree a ply apart, filling the shared table.
    std::vector<std::unique_ptr<Worker>> helpers;
    std::vector<std::thread> threads;
    for (int t = 1; t < limits.threads; ++t) {
        helpers.push_back(std::make_unique<Worker>(shared, false));
        helpers.back()->setUp(setup);
    }
    for (std::size_t t = 0; t < helpers.size(); ++t)
        threads.emplace_back([&shared, w = helpers[t].get(), t, maxDepth = limits.maxDepth] {
            for (int d = 2 + static_cast<int>(t % 2); d <= maxDepth && !shared.abort.load(); ++d) {
                w->rootDepth = d;
                w->search(-INF, INF, d, 0, true);
            }
        });

    int score = 0;
    int bestCell = -1;
    auto iterationStart = Clock::now();
    for (int depth = 1; depth <= limits.maxDepth; ++depth) {
        main->rootBest = -1;
        main->rootDepth = depth;
        int alpha = -INF, beta = INF;
        if (depth >= 4 && !isProved(score)) {
            alpha = score - 60;
            beta = score + 60;
        }
        int v = main->search(alpha, beta, depth, 0, true);
        if (!shared.abort.load() && (v <= alpha || v >= beta)) {
            main->rootBest = -1;
            v = main->search(-INF, INF, depth, 0, true);
        }
        if (shared.abort.load()) {
            // A move that beat the others at this depth before the clock
            // stopped it is the better choice.
            if (main->rootBest >= 0) bestCell = main->rootBest;
            break;
        }
        score = v;
        bestCell = main->rootBest;
        result.depth = depth;
        if (report || limits.multiPv > 1) {
            // The next best moves, each searched without those before it.
            const auto lineOf = [&](int cell, int value) {
                const int proved = value >= WON ? WIN_SCORE - value : value <= -WON ? -(WIN_SCORE + value) : 0;
                return Line{pointOf(cell), value, proved, main->principalLine(cell, depth + 4)};
            };
            std::vector<Line> lines;
            if (bestCell >= 0) lines.push_back(lineOf(bestCell, score));
            for (int k = 1; k < limits.multiPv && !lines.empty(); ++k) {
                main->excluded.push_back(cellOf(lines.back().move.x, lines.back().move.y));
                main->rootBest = -1;
                const int other = main->search(-INF, INF, depth, 0, true);
                if (shared.abort.load() || main->rootBest < 0) break;
                lines.push_back(lineOf(main->rootBest, other));
            }
            main->excluded.clear();
            // Each was searched apart, so a later one may score higher: the
            // best of them is the answer.
            std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.score > b.score; });
            if (!lines.empty()) {
                bestCell = cellOf(lines.front().move.x, lines.front().move.y);
                score = lines.front().score;
            }
            // Cut short by the clock: the last iteration's others fill the list.
            for (const Line& old : result.lines)
                if (static_cast<int>(lines.size()) < limits.multiPv &&
                    std::none_of(lines.begin(), lines.end(), [&](const Line& l) { return l.move == old.move; }))
                    lines.push_back(old);
            result.lines = std::move(lines);
            if (report) {
                result.move = pointOf(bestCell);
                result.score = score;
                result.proved = result.lines.empty() ? 0 : result.lines.front().proved;
                result.nodes = main->nodes;
                result.selDepth = main->selDepth;
                report(result);
            }
            if (shared.abort.load()) break;
        }
        // A proved win is played at once; a loss is searched on, for the
        // defence that holds out longest.
        if (score >= WON) break;
        // The next iteration takes longer than this one: start it only if it
        // can end. One stopped by the clock still offers its first moves.
        const auto now = Clock::now();
        const auto last = now - iterationStart;
        iterationStart = now;
        if (timed && (now - shared.start) + last > std::chrono::milliseconds(budget)) break;
    }
    shared.abort.store(true);
    for (auto& t : threads)
        t.join();

    if (bestCell < 0 && !main->rootMoves.empty()) bestCell = main->rootMoves.front();
    if (bestCell < 0) {
        // No iteration finished: the most valuable empty field, near the stones if any is.
        int bestValue = -1;
        for (int y = 0; y < setup.height; ++y)
            for (int x = 0; x < setup.width; ++x) {
                const int c = cellOf(x, y);
                const int value = pos.empty(c) && main->legal(me, c)
                                      ? pos.value(me, c) + pos.value(opp, c) + 1000 * pos.isCandidate(c)
                                      : -1;
                if (value > bestValue) {
                    bestValue = value;
                    bestCell = c;
                }
            }
    }
    result.move = bestCell < 0 ? Point{} : pointOf(bestCell);
    result.score = score;
    result.proved = score >= WON ? WIN_SCORE - score : score <= -WON ? -(WIN_SCORE + score) : 0;
    if (result.lines.empty() && bestCell >= 0)
        result.lines = {Line{result.move, score, result.proved, main->principalLine(bestCell, result.depth + 4)}};
    result.selDepth = main->selDepth;
    result.nodes = main->nodes;
    result.expanded = main->expanded;
    result.branchSum = main->branchSum;
    result.cuts = main->cuts;
    for (auto& h : helpers)
        result.nodes += h->nodes;
    return result;
}

} // namespace quintrel::master
