#pragma once
// CAlphaBetaPlayer ("AlphaBeta"): the minimax tree searched with alpha-beta
// cut-offs in negamax form, fail-hard. Bounds handed to a child are widened
// by aging so that the child's aged answer compares correctly. Of equally
// good root moves the first examined is played. The extensive player derives
// from it and reuses its root loop.

#include "search/TreePlayer.h"

namespace quintrel {

class CAlphaBetaPlayer : public CTreePlayer {
public:
    CAlphaBetaPlayer() = default;
    ~CAlphaBetaPlayer() override;

    const char* className() const override { return TreeSettings::ALPHABETA_CLASS; }

protected:
    int search(Side s) override;

    // The root loop over `list` (already counted): progress and examined
    // field per move, each child searched by childNode with the window
    // (-infinity, -ageBound(best)); the first best move is kept. Answers
    // best, with the chosen field in bestMove, or plays the opening field and
    // answers 0 when no move was examined.
    int searchRoot(Side s, FieldList& list);
    // The child search of the root loop; this class's node procedure.
    virtual int childNode(Side s, int alpha, int beta) { return node(s, alpha, beta); }

    int node(Side s, int alpha, int beta);
};

} // namespace quintrel
