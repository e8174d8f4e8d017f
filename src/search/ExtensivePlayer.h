#pragma once
// CExtensivePlayer ("Extensive"): alpha-beta on a board in the extensive
// pattern mode, where every empty field carries threat-class bits for both
// sides. Each node first classifies the position by threats: decisive classes
// end the branch with a score that says in how many own moves the game is won
// or lost, forcing classes restrict the node to the threat moves (or, when the
// node is already lost, to the defences). Up to `fullDepth` plies the search
// is full width with the threat moves first; beyond it, down to the total
// depth, only threat moves are followed and quiet positions are evaluated.
//
// Decisive scores: 1600 five now, 1598 in two own moves, 1596 in three; the
// negatives for the side that loses (-1599: the opponent has two fives).

#include "search/AlphaBetaPlayer.h"

namespace quintrel {

class CExtensivePlayer : public CAlphaBetaPlayer {
public:
    // Classification codes (scores when decisive).
    static constexpr int FIVE_NOW = 1600;
    static constexpr int WIN_IN_TWO = 1598;
    static constexpr int WIN_IN_THREE = 1596;
    static constexpr int LOST = -1599;
    static constexpr int FORCED_BLOCK = -1;
    static constexpr int DEFEND = -2;
    static constexpr int QUIET = 0;
    static constexpr int DOUBLE_AGAINST_FOURS = 2;
    static constexpr int FOURS = 3;
    static constexpr int OPEN_THREES = 4;

    CExtensivePlayer() = default;
    ~CExtensivePlayer() override;

    const char* className() const override { return TreeSettings::EXTENSIVE_CLASS; }

protected:
    int search(Side s) override;
    int childNode(Side s, int alpha, int beta) override { return extensiveNode(s, alpha, beta); }

    // The threat class of the position for s, with the fields that go with it
    // in `list` (which carries s). `resume` is the code of the previous pass
    // of the same node (0 for the first) and starts the scan after the
    // classes that pass already tried; `defend` admits the defence classes.
    int classify(Side s, FieldList& list, int resume, bool defend);
    // Whether one of s's four-three fields wins although the opponent has
    // fours: the opponent cannot block the five with a stone that makes a four.
    bool fourThreatHolds(Side s, const FieldList& list);
    int extensiveNode(Side s, int alpha, int beta);
    // Evaluation that weighs the worth of each field instead of adding it.
    int weightedEvaluate(Side s);

    int fullDepth = 0;
    FieldList rootThreats;

private:
    // What s's region offers: the union of the threat bits and how many five
    // fields there are (counted up to 2). One pass instead of a query per class.
    struct ThreatSummary {
        unsigned bits = 0;
        int fives = 0;
    };
    ThreatSummary summarize(Side s) const;
    // The defences against the last of the opponent's fields of `threatClass`.
    void listDefencesAgainst(Side o, int threatClass, FieldList& list);
    int staticScore(Side s);
};

} // namespace quintrel
