#include "game/PositionText.h"

#include <cctype>

namespace quintrel {

std::string moveString(const std::vector<Field>& moves) {
    std::string text;
    for (const Field f : moves)
        text += static_cast<char>('a' + f.x - 1) + std::to_string(BOARD_SIZE + 1 - f.y);
    return text;
}

std::string gomocupList(const std::vector<Field>& moves) {
    std::string text;
    for (const Field f : moves)
        text += (text.empty() ? "" : " ") + std::to_string(f.x - 1) + "," + std::to_string(f.y - 1);
    return text;
}

namespace {
bool isGap(char c) { return std::isspace(static_cast<unsigned char>(c)) || c == ',' || c == ';'; }

// The number at text[i], advancing i; -1 when there is none or it is long.
int number(const std::string& text, std::size_t& i) {
    int n = 0, digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && digits < 3) {
        n = n * 10 + (text[i++] - '0');
        ++digits;
    }
    return digits == 0 || (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ? -1 : n;
}
} // namespace

PositionRead readPosition(const std::string& text) {
    PositionRead read;
    bool taken[BOARD_SIZE + 1][BOARD_SIZE + 1] = {};
    const bool gomocup = text.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos;
    std::size_t i = 0;
    const auto fail = [&](const std::string& why) {
        read.moves.clear();
        read.error = why;
        return read;
    };
    for (;;) {
        while (i < text.size() && isGap(text[i])) ++i;
        if (i == text.size()) break;
        const std::size_t at = i;
        int x, y;
        if (gomocup) {
            x = number(text, i);
            if (x < 0 || i == text.size() || text[i] != ',') return fail("a move is not x,y at \"" + text.substr(at, 8) + "\"");
            ++i;
            y = number(text, i);
            if (y < 0) return fail("a move is not x,y at \"" + text.substr(at, 8) + "\"");
            ++x;
            ++y;
        } else {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
            if (c < 'a' || c > 'z') return fail("a move is not a column letter and a row at \"" + text.substr(at, 8) + "\"");
            ++i;
            x = c - 'a' + 1;
            const int row = number(text, i);
            if (row < 0) return fail("a move is not a column letter and a row at \"" + text.substr(at, 8) + "\"");
            y = BOARD_SIZE + 1 - row;
        }
        if (x < 1 || x > BOARD_SIZE || y < 1 || y > BOARD_SIZE) return fail("\"" + text.substr(at, i - at) + "\" is off the board");
        if (taken[x][y]) return fail("\"" + text.substr(at, i - at) + "\" is named twice");
        taken[x][y] = true;
        read.moves.push_back(Field{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)});
    }
    if (read.moves.empty()) return fail("it names no move");
    return read;
}

} // namespace quintrel
