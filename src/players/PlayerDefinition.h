#pragma once
// A defined player: a named, described and tuned instance of one of the
// player kinds. The kind supplies the class name, the factory and up to three
// operations on the settings block; a definition copies them from its
// catalogue entry, so copying an entry yields a complete default definition.
// An empty definition has no kind, no operations and an empty block.

#include "players/PlayerSettings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace quintrel {

class CPlayer;
class CRegistryKey;

// Makes a new, default-constructed player of a kind; null when the kind has
// no player yet.
using PlayerFactory = std::unique_ptr<CPlayer> (*)();

struct PlayerKind {
    const char* className;
    std::uint32_t settingsSize; // bytes of the kind's settings record
    PlayerFactory create;
};

// The three kind operations on a settings block.
using ValidateSettingsFn = bool (*)(const PlayerSettings& block, const std::string& className);
using InitDefaultSettingsFn = void (*)(PlayerSettings& block, const std::string& className);
// Runs the kind's settings dialog captioned with the player's name; on OK sets
// the block to (className, edited bytes) and answers true; Cancel leaves it.
using EditSettingsFn = bool (*)(PlayerSettings& block, const std::string& playerName,
                                const std::string& className);

struct PlayerDefinition {
    const PlayerKind* kind = nullptr;
    PlayerSettings settings;
    int hasSettingsDialog = 0; // 1 when all three operations are present
    ValidateSettingsFn validateSettings = nullptr;
    InitDefaultSettingsFn initDefaultSettings = nullptr;
    EditSettingsFn editSettings = nullptr;
    std::string name;
    std::string description;

    // The kind's class name; empty for an empty definition.
    std::string className() const;

    // Validation: copies block into settings when its tag is not empty and the
    // kind's validateSettings (if any) accepts it for the kind's class name.
    bool adoptSettings(const PlayerSettings& block);
    // The kind's defaults; a kind without initDefaultSettings gets its tag and no bytes.
    void resetSettingsToDefaults();
    // Runs editSettings on this definition's own block; false when there is
    // none or the user cancelled.
    bool runSettingsDialog();

    // A new player of this kind linked to this definition; null when the kind
    // makes none. The caller owns it.
    std::unique_ptr<CPlayer> createPlayer() const;

    // The stored form under one prefix ("Player07_"): Name, Description,
    // Class and Settings. read() leaves the definition untouched on failure;
    // a settings block the kind rejects is replaced by the defaults, which are
    // written back at once, and the read still succeeds.
    // findKind gives the kind's default entry for a stored class name (null
    // for none): the catalogue, which lives above the players. beforeRewrite
    // runs just before that write.
    using KindLookup = std::function<const PlayerDefinition*(const std::string& className)>;
    bool read(CRegistryKey& key, const std::string& prefix, const KindLookup& findKind,
              const std::function<void()>& beforeRewrite = nullptr);
    bool write(CRegistryKey& key, const std::string& prefix) const;
    // Deletes all four values; true when at least one existed.
    static bool erase(CRegistryKey& key, const std::string& prefix);
};

// "Player%.2d_": Player00_ ... Player99_, Player100_ ...
std::string playerPrefix(std::size_t index);

} // namespace quintrel
