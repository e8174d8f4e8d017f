#include "players/EngineSettings.h"

namespace quintrel {

namespace {

std::string trimmed(const std::string& s) {
    const std::size_t from = s.find_first_not_of(" \t");
    if (from == std::string::npos) return {};
    return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t to = std::min(text.find('\n', from), text.size());
        out.push_back(text.substr(from, to - from));
        from = to + 1;
    }
    return out;
}

// The record a block holds, when its lengths fit its size.
std::optional<EngineSettings> record(const PlayerSettings& block) {
    if (block.size() < EngineSettings::MIN_SIZE) return std::nullopt;
    EngineSettings s;
    s.turnMs = block.int32At(4);
    s.matchMs = block.int32At(8);
    const std::uint32_t c = block.uint32At(12);
    if (c > EngineSettings::MAX_COMMAND || block.size() < EngineSettings::MIN_SIZE + c)
        return std::nullopt;
    const std::uint32_t i = block.uint32At(16 + c);
    if (i > EngineSettings::MAX_INFO || block.size() != EngineSettings::MIN_SIZE + c + i)
        return std::nullopt;
    const auto* bytes = reinterpret_cast<const char*>(block.data.data());
    s.command.assign(bytes + 16, c);
    s.info.assign(bytes + 20 + c, i);
    return s;
}

} // namespace

std::optional<std::string> EngineSettings::problem() const {
    if (turnMs < MIN_TURN_MS || turnMs > MAX_TURN_MS)
        return "The time per move must be between 100 and 600000 ms.";
    if (matchMs < 0 || matchMs > MAX_MATCH_MS)
        return "The time for the match must be between 0 and 86400000 ms.";
    if (command.size() > MAX_COMMAND || command.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return "The command line must be one line of at most 4096 characters.";
    if (info.size() > MAX_INFO || info.find_first_of(std::string("\r\0", 2)) != std::string::npos)
        return "The INFO lines must hold at most 16384 characters.";
    return std::nullopt;
}

bool EngineSettings::isValid() const { return !problem(); }

std::vector<std::string> EngineSettings::infoLines() const {
    std::vector<std::string> out;
    for (const auto& line : lines(info)) {
        std::string t = trimmed(line);
        if (t.empty()) continue;
        // "key value": one blank between, as the protocol has it.
        const std::size_t gap = t.find_first_of(" \t");
        if (gap != std::string::npos) t = t.substr(0, gap) + " " + trimmed(t.substr(gap));
        out.push_back(std::move(t));
    }
    return out;
}

PlayerSettings EngineSettings::toBlock() const {
    PlayerSettings block;
    block.tag = CLASS_NAME;
    for (std::int32_t v : {VERSION, turnMs, matchMs, static_cast<std::int32_t>(command.size())})
        appendInt32(block.data, v);
    block.data.insert(block.data.end(), command.begin(), command.end());
    appendInt32(block.data, static_cast<std::int32_t>(info.size()));
    block.data.insert(block.data.end(), info.begin(), info.end());
    return block;
}

EngineSettings EngineSettings::fromBlock(const PlayerSettings& block) {
    if (!validateEngineSettings(block, CLASS_NAME)) return EngineSettings{};
    return *record(block);
}

bool validateEngineSettings(const PlayerSettings& block, const std::string& className) {
    if (block.tag != className || block.size() < EngineSettings::MIN_SIZE ||
        block.int32At(0) != EngineSettings::VERSION)
        return false;
    const auto s = record(block);
    return s && s->isValid();
}

void initEngineSettings(PlayerSettings& block, const std::string& className) {
    block = EngineSettings{}.toBlock();
    block.tag = className;
}

} // namespace quintrel
