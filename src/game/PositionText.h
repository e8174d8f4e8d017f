#pragma once
// A position as text, for the clipboard: the stones in the order they were
// played, the first by O (black).
//   move string: "j10k11i9", columns a-s from the left, rows 1-19 counted
//                from the bottom, as in renju notation;
//   Gomocup list: "9,9 10,8 8,10", 0-based x,y from the top left, as the
//                 brains' BOARD blocks give them (one pair a line is read too).
// Reading takes either, with any spaces, commas or line ends between moves,
// and refuses a text with anything else in it, a field off the board or
// one named twice.

#include "board/Types.h"

#include <optional>
#include <string>
#include <vector>

namespace quintrel {

std::string moveString(const std::vector<Field>& moves);
std::string gomocupList(const std::vector<Field>& moves);

struct PositionRead {
    std::vector<Field> moves; // valid when `error` is empty
    std::string error;        // why the text is no position
};
PositionRead readPosition(const std::string& text);

} // namespace quintrel
