#include "game/GameFile.h"

#include <bitset>
#include <cstring>
#include <utility>

namespace quintrel {

namespace {

constexpr char TAG[] = "GAM ";
constexpr std::size_t TAG_LENGTH = 4;
constexpr std::size_t HEADER_SIZE = 17;
static_assert(MAX_GAME_FILE_SIZE == HEADER_SIZE + 2 * MAX_RECORDED_MOVES);

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::uint32_t getU32(const std::vector<std::uint8_t>& in, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    return v;
}

bool coordinateOk(std::uint8_t c) { return c >= 1 && c <= BOARD_SIZE; }

} // namespace

std::vector<std::uint8_t> encodeGame(const GameMove* moves, int last, int current) {
    std::vector<std::uint8_t> out;
    out.reserve(HEADER_SIZE + 2 * static_cast<std::size_t>(last + 1));
    out.push_back(static_cast<std::uint8_t>(TAG_LENGTH));
    for (std::size_t i = 0; i < TAG_LENGTH; ++i) out.push_back(static_cast<std::uint8_t>(TAG[i]));
    putU32(out, GAME_FILE_VERSION);
    putU32(out, static_cast<std::uint32_t>(last));
    putU32(out, static_cast<std::uint32_t>(current));
    for (int i = 0; i <= last; ++i) {
        out.push_back(moves[i].field.x);
        out.push_back(moves[i].field.y);
    }
    return out;
}

std::optional<LoadedGame> decodeGame(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < HEADER_SIZE) return std::nullopt;
    if (bytes[0] != TAG_LENGTH || std::memcmp(&bytes[1], TAG, TAG_LENGTH) != 0) return std::nullopt;
    if (getU32(bytes, 5) != GAME_FILE_VERSION) return std::nullopt;
    const auto last = static_cast<std::int32_t>(getU32(bytes, 9));
    if (last < 0 || last > MAX_RECORDED_MOVES - 1) return std::nullopt;
    const auto current = static_cast<std::int32_t>(getU32(bytes, 13));
    if (current < 0 || current > MAX_RECORDED_MOVES - 1 || current > last + 1) return std::nullopt;

    LoadedGame game;
    game.last = last;
    game.current = current;
    game.moves.reserve(static_cast<std::size_t>(last + 1));
    std::bitset<(BOARD_SIZE + 1) * (BOARD_SIZE + 1)> taken;
    std::size_t at = HEADER_SIZE;
    for (int i = 0; i <= last; ++i, at += 2) {
        if (at + 2 > bytes.size()) return std::nullopt;
        const Field f{bytes[at], bytes[at + 1]};
        if (!coordinateOk(f.x) || !coordinateOk(f.y)) return std::nullopt;
        const std::size_t key = f.x * (BOARD_SIZE + 1) + f.y;
        if (taken[key]) return std::nullopt;
        taken[key] = true;
        game.moves.push_back(GameMove{f, i % 2});
    }
    return game;
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path) {
    FileRead file = readRegularFile(path, MAX_GAME_FILE_SIZE);
    if (file.status != FileReadStatus::Ok) return std::nullopt;
    return std::move(file.bytes);
}

} // namespace quintrel
