#pragma once
// Helpers shared by the search tests: boards from stone lists, definitions
// with chosen tree settings, and players that open their protected parts.

#include "board/Board.h"
#include "board/Random.h"
#include "players/PlayerDefinition.h"
#include "players/TreeSettings.h"
#include "search/AlphaBetaPlayer.h"
#include "search/MiniMaxPlayer.h"

#include <initializer_list>
#include <memory>
#include <utility>

namespace quintrel::testing {

inline Field F(int x, int y) { return Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)}; }

// A cleared board with the O stones and the X stones placed.
inline CBoard boardWith(std::initializer_list<std::pair<int, int>> o, std::initializer_list<std::pair<int, int>> x) {
    CBoard b;
    b.clear();
    for (auto [fx, fy] : o) b.place(F(fx, fy), SIDE_O);
    for (auto [fx, fy] : x) b.place(F(fx, fy), SIDE_X);
    return b;
}

// A definition holding the given settings, to link a player to.
inline PlayerDefinition definitionWith(const TreeSettings& s, const char* className) {
    PlayerDefinition d;
    d.name = "Tester";
    d.settings = s.toBlock(className);
    return d;
}

inline TreeSettings treeSettings(unsigned maxDepth, int ordering, int reduction, unsigned maxBranch = 0,
                                 bool aging = true, bool attack = true, unsigned quality = 2) {
    TreeSettings s;
    s.maxDepth = maxDepth;
    s.maxBranch = maxBranch;
    s.ordering = ordering;
    s.reduction = reduction;
    s.quality = quality;
    s.aging = aging ? 1 : 0;
    s.attack = attack ? 1 : 0;
    return s;
}

// Opens the protected framework operations to the tests.
template <class Base>
class Open : public Base {
public:
    using Base::age;
    using Base::ageBound;
    using Base::evaluate;
    using Base::evaluateByQueries;
    using Base::verdictByQueries;
    using Base::generateCandidates;
    using Base::nextMove;
    using Base::verdict;

    // Puts a position on the private board as a search would see it.
    void load(const CBoard& b) {
        this->board = b;
        this->board.journalBase = this->board.journalCurrent = this->board.journalEnd = nullptr;
        this->refreshSettings();
    }
    const SearchSettings& inUse() const { return this->settings(); }
    GameMove best() const { return this->bestMove; }
};

using OpenAlphaBeta = Open<CAlphaBetaPlayer>;
using OpenMiniMax = Open<CMiniMaxPlayer>;

} // namespace quintrel::testing
