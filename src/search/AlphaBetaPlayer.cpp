#include "search/AlphaBetaPlayer.h"

namespace quintrel {

CAlphaBetaPlayer::~CAlphaBetaPlayer() { stopThinking(); }

int CAlphaBetaPlayer::search(Side s) {
    // The root is counted before the opening rule.
    countPosition();
    if (boardIsEmpty()) return playOpening();
    const int decided = verdict(s);
    if (decided > 0) return decided;
    FieldList list;
    generateCandidates(list, s, true);
    countNode(list.count);
    return searchRoot(s, list);
}

int CAlphaBetaPlayer::searchRoot(Side s, FieldList& list) {
    const Side o = otherSide(s);
    const int n = list.count;
    const unsigned maxBranch = settings().maxBranch;
    int best = -SCORE_INFINITY;
    bool chosen = false;
    GameMove choice;
    unsigned i = 0;
    GameMove m;
    while (nextMove(list, m)) {
        ++i;
        reportRootMove(static_cast<int>(i), n, m.field);
        play(m.field, s);
        const int b = ageBound(best);
        ++depth;
        int v = -childNode(o, -SCORE_INFINITY, -b);
        --depth;
        v = age(v);
        takeBack();
        if (v > best) {
            best = v;
            choice = m;
            chosen = true;
        }
        if (interrupted() || (maxBranch != 0 && i >= maxBranch)) break;
    }
    if (!chosen) return playOpening();
    bestMove = choice;
    return best;
}

int CAlphaBetaPlayer::node(Side s, int alpha, int beta) {
    const Side o = otherSide(s);

    // Step 1: count; a winning threat ends the branch; the horizon evaluates.
    countPosition();
    const int decided = verdict(s);
    if (decided > 0) return decided;
    if (depth >= journalDepth) return evaluate(s);

    // Step 2: candidates, never widened below the root.
    FieldList list;
    generateCandidates(list, s, false);
    countNode(list.count);

    // Step 3: moves until one reaches beta.
    const unsigned maxBranch = settings().maxBranch;
    unsigned i = 0;
    GameMove m;
    while (nextMove(list, m)) {
        play(m.field, s);
        const int a2 = ageBound(alpha);
        const int b2 = ageBound(beta);
        ++depth;
        int v = -node(o, -b2, -a2);
        --depth;
        v = age(v);
        takeBack();
        if (v > alpha) {
            alpha = v;
            if (v >= beta) break;
        }
        if (interrupted()) break;
        ++i;
        if (maxBranch != 0 && i >= maxBranch) break;
    }

    // Step 4: what was skipped, for the saved-work estimate; fail-hard answer.
    recordCut(list.count, static_cast<int>(depth));
    return alpha;
}

} // namespace quintrel
