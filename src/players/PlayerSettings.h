#pragma once
// A defined player's tuning: an opaque block of bytes tagged with the class
// name of the kind it belongs to. What the bytes mean is the kind's business
// (LightSettings.h, MediumSettings.h, TreeSettings.h, HumanPlayer.h); an
// empty tag marks an unusable block.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quintrel {

struct PlayerSettings {
    std::string tag;
    std::vector<std::uint8_t> data;

    std::uint32_t size() const { return static_cast<std::uint32_t>(data.size()); }
    bool empty() const { return tag.empty(); }

    // Replaces tag and bytes; bytes may be null when size is 0.
    bool set(const std::string& newTag, const void* bytes, std::size_t size);
    void clear();

    // Little-endian 32-bit fields of the kinds' records.
    std::int32_t int32At(std::size_t offset) const;
    std::uint32_t uint32At(std::size_t offset) const {
        return static_cast<std::uint32_t>(int32At(offset));
    }

    // The stored "Settings" value: tag, a zero byte, then the data.
    std::vector<std::uint8_t> encode() const;
    // Splits at the first zero byte; false (block untouched) when there is none.
    bool decode(const std::vector<std::uint8_t>& value);

    friend bool operator==(const PlayerSettings&, const PlayerSettings&) = default;
};

// Builds a record's bytes field by field, little-endian.
void appendInt32(std::vector<std::uint8_t>& out, std::int32_t v);

} // namespace quintrel
