// Positions as clipboard text: both notations read the same stones, with any
// gaps and either case; anything else is refused with its reason.

#include "game/PositionText.h"

#include <gtest/gtest.h>

namespace quintrel {
namespace {

TEST(PositionText, BothNotationsAndTheirFaults) {
    const std::vector<Field> moves = {{10, 10}, {11, 9}, {1, 19}, {19, 1}};
    EXPECT_EQ(moveString(moves), "j10k11a1s19");
    EXPECT_EQ(gomocupList(moves), "9,9 10,8 0,18 18,0");
    for (const char* text : {"j10k11a1s19", " J10, K11\na1;S19 ", "9,9 10,8 0,18 18,0", "9,9\n10,8\n0,18\n18,0\n"}) {
        const PositionRead read = readPosition(text);
        EXPECT_EQ(read.error, "") << text;
        EXPECT_EQ(read.moves, moves) << text;
    }
    const std::pair<const char*, const char*> faults[] = {
        {"", "it names no move"},
        {"j10 j10", "\"j10\" is named twice"},
        {"t1", "\"t1\" is off the board"},
        {"a20", "\"a20\" is off the board"},
        {"j0100", "a move is not a column letter and a row at \"j0100\""},
        {"9,9 19,0", "\"19,0\" is off the board"},
        {"9,9 9", "a move is not x,y at \"9\""},
        {"9;9", "a move is not x,y at \"9;9\""},
    };
    for (const auto& [text, why] : faults) {
        const PositionRead read = readPosition(text);
        EXPECT_EQ(read.error, why) << text;
        EXPECT_TRUE(read.moves.empty()) << text;
    }
}

} // namespace
} // namespace quintrel
