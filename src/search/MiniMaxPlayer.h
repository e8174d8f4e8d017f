#pragma once
// CMiniMaxPlayer ("MiniMax"): a depth-limited negamax over the candidate
// fields, without cut-offs. All equally good root moves stay candidates and
// the absolute-best rule chooses among them, so the order in which they were
// examined never decides.

#include "search/TreePlayer.h"

namespace quintrel {

class CMiniMaxPlayer : public CTreePlayer {
public:
    CMiniMaxPlayer() = default;
    ~CMiniMaxPlayer() override;

    const char* className() const override { return TreeSettings::MINIMAX_CLASS; }

protected:
    int search(Side s) override;

private:
    // Root and inner nodes share this procedure; the root is depth 0.
    int node(Side s);

    FieldList rootTies; // the root's equally best moves
};

} // namespace quintrel
