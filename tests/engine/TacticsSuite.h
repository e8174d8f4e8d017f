#pragma once
// The forced-win suite shared by the tactics tests: positions where the side
// to move wins by fours and threes, drawn as rows of 'O', 'X' and '.'.

#include "SearchTestUtil.h"

#include <vector>

namespace quintrel::testing {

struct Tactic {
    const char* name;
    Side mover;
    int left; // x of the first column
    int top;  // y of the first row; rows run downwards
    std::vector<const char*> rows;
};

inline CBoard boardOf(const Tactic& t) {
    CBoard b;
    b.clear();
    for (std::size_t i = 0; i < t.rows.size(); ++i)
        for (std::size_t j = 0; t.rows[i][j] != '\0'; ++j) {
            const char c = t.rows[i][j];
            if (c == 'O' || c == 'X')
                b.place(F(t.left + static_cast<int>(j), t.top - static_cast<int>(i)),
                        c == 'O' ? SIDE_O : SIDE_X);
        }
    return b;
}

// clang-format off
inline const std::vector<Tactic>& tactics() {
    static const std::vector<Tactic> list = {
        // Basic shapes, decided by the root's classification.
        {"open three makes an open four", SIDE_O, 5, 12, {
            "...........",
            "....OOO....",
            "...........",
            "..X....X..."}},
        {"split three on a column", SIDE_X, 8, 14, {
            ".....",
            "..X..",
            "..X..",
            ".....",
            "..X..",
            ".....",
            ".O.O."}},
        {"jump three on a diagonal", SIDE_O, 6, 15, {
            ".........",
            "......O..",
            ".....O...",
            ".........",
            "...O.....",
            ".........",
            "X.......X"}},
        {"two closed threes cross: four-four", SIDE_O, 5, 15, {
            ".........",
            ".....X...",
            ".....O...",
            ".....O...",
            ".....O...",
            ".XOOO....",
            "........."}},
        {"closed three and open two: four-three", SIDE_O, 5, 14, {
            ".........",
            ".XOOO....",
            ".........",
            ".....O...",
            ".....O...",
            ".........",
            "...X....."}},
        {"two open twos cross: three-three", SIDE_X, 5, 14, {
            "..........",
            "...X......",
            "...X......",
            "..........",
            ".....XX...",
            "..........",
            "....O..O.."}},
        {"four-three while the defender has a closed three", SIDE_O, 5, 14, {
            "...........",
            ".XOOO......",
            "...........",
            ".....O.....",
            ".....O.....",
            "...........",
            ".......XXXO",
            "..........."}},
        // Found by search: a four whose forced block leaves a four-four.
        {"four, then four-four", SIDE_O, 6, 14, {
            "....X....",
            "....O....",
            "....O....",
            "XOOO.....",
            ".....OOOX",
            ".......X."}},
        // From games between the other players; the winner to move.
        {"game 1", SIDE_O, 9, 12, {
            "XX..",
            ".OX.",
            "..O.",
            ".X.O",
            "..O."}},
        {"game 2", SIDE_O, 7, 15, {
            ".....X",
            "X...O.",
            "XO.OO.",
            ".XOX..",
            ".OXO..",
            "X...O.",
            ".....X"}},
        {"game 3", SIDE_X, 7, 11, {
            ".....XX",
            "....OX.",
            ".O.OX..",
            "..OO...",
            ".O.....",
            "X......"}},
        {"game 4", SIDE_O, 7, 10, {
            "..O.",
            ".X.O",
            "..O.",
            ".OX.",
            "XX.."}},
        {"game 5", SIDE_O, 5, 11, {
            "........O",
            ".......X.",
            "X.....X..",
            "XOOOOX...",
            "..OXX....",
            "...O....."}},
        {"game 6", SIDE_O, 10, 14, {
            ".X.",
            ".OX",
            "XOX",
            "OO."}},
        {"game 7", SIDE_O, 5, 14, {
            ".....O.",
            "....XO.",
            "...XO.O",
            "..X..X.",
            ".X.....",
            "O......"}},
        {"game 8", SIDE_O, 9, 13, {
            ".XX.",
            "OOOX",
            "OX.."}},
        {"game 9", SIDE_X, 8, 12, {
            ".X.",
            "OO.",
            "XOX",
            "XOX",
            "OX.",
            ".OO"}},
        {"game 10", SIDE_O, 7, 12, {
            "..X.X",
            ".X.O.",
            "OXO..",
            ".O..."}},
        {"game 11", SIDE_O, 7, 15, {
            ".O..",
            "OXX.",
            ".O.X",
            "..O.",
            "...X"}},
        {"game 12", SIDE_O, 8, 10, {
            ".O..",
            "O.X.",
            ".O..",
            ".XO.",
            "..XX"}},
        {"game 13", SIDE_O, 5, 15, {
            ".....X...",
            ".O...O...",
            "..X.XO.O.",
            "...XOOX..",
            "..X.X.O..",
            ".X...X.O.",
            "O.....O.X"}},
        {"game 14", SIDE_O, 8, 15, {
            ".....O",
            "....X.",
            "...X..",
            "..X...",
            ".XO...",
            "OXO...",
            ".OO...",
            "..O...",
            "..XX.."}},
        {"game 15", SIDE_O, 8, 12, {
            ".O.X.X",
            "XOOOOX",
            "..XO..",
            ".XO.X.",
            ".OOX..",
            "X....."}},
        {"game 16", SIDE_O, 6, 15, {
            "......X",
            "....XO.",
            "..XXO..",
            "XOOOOX.",
            ".XOOO..",
            ".X..O..",
            "....XX."}},
        {"game 17", SIDE_X, 7, 15, {
            "X.....",
            ".O.O..",
            "..O...",
            "..XOO.",
            "..XXO.",
            ".....X"}},
        {"game 18", SIDE_X, 6, 14, {
            "X.....",
            ".O.O..",
            "..O...",
            "..OO..",
            "...XO.",
            "....XX",
            ".....X"}},
    };
    return list;
}
// clang-format on

} // namespace quintrel::testing
