#include "search/MiniMaxPlayer.h"

namespace quintrel {

CMiniMaxPlayer::~CMiniMaxPlayer() { stopThinking(); }

int CMiniMaxPlayer::search(Side s) {
    if (boardIsEmpty()) return playOpening();
    return node(s);
}

int CMiniMaxPlayer::node(Side s) {
    const Side o = otherSide(s);
    const bool root = depth == 0;

    // Step 1: count; a winning threat ends the branch.
    countPosition();
    const int decided = verdict(s);
    if (decided > 0) return decided;
    if (depth >= journalDepth) return evaluate(s);

    // Step 2: candidates, widened only at the root.
    FieldList list;
    generateCandidates(list, s, root);
    const int n = list.count;
    countNode(n);

    // Step 3: every move, full width.
    int best = -SCORE_INFINITY;
    if (root) {
        rootTies.clear();
        rootTies.side = s;
    }
    const unsigned maxBranch = settings().maxBranch;
    unsigned i = 0;
    GameMove m;
    while (nextMove(list, m)) {
        ++i;
        if (root) reportRootMove(static_cast<int>(i), n, m.field);
        play(m.field, s);
        ++depth;
        int v = -node(o);
        --depth;
        v = age(v);
        takeBack();
        if (v > best) {
            best = v;
            if (root) {
                rootTies.clear();
                rootTies.append(m.field);
            }
        } else if (v == best && root) {
            rootTies.append(m.field); // a full list ignores it
        }
        if (interrupted() || (maxBranch != 0 && i >= maxBranch)) break;
    }

    // Step 4: answer.
    if (!root) return best == -SCORE_INFINITY ? evaluate(s) : best;
    pickAbsoluteBest(rootTies, board, bestMove, false);
    return best;
}

} // namespace quintrel
