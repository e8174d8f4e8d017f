#include "players/PlayerSettings.h"

#include <algorithm>

namespace quintrel {

bool PlayerSettings::set(const std::string& newTag, const void* bytes, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(bytes);
    data.assign(p, p + (p ? size : 0));
    tag = newTag;
    return true;
}

void PlayerSettings::clear() {
    tag.clear();
    data.clear();
}

std::int32_t PlayerSettings::int32At(std::size_t offset) const {
    if (offset + 4 > data.size()) return 0;
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(data[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

std::vector<std::uint8_t> PlayerSettings::encode() const {
    std::vector<std::uint8_t> out(tag.begin(), tag.end());
    out.push_back(0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

bool PlayerSettings::decode(const std::vector<std::uint8_t>& value) {
    auto zero = std::find(value.begin(), value.end(), std::uint8_t{0});
    if (zero == value.end()) return false;
    tag.assign(value.begin(), zero);
    data.assign(zero + 1, value.end());
    return true;
}

void appendInt32(std::vector<std::uint8_t>& out, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}

} // namespace quintrel
