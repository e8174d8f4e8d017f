#include "players/PlayerDefinition.h"

#include "app/RegistryKey.h"
#include "players/Player.h"

#include <cstdio>

namespace quintrel {

std::string PlayerDefinition::className() const {
    return kind ? kind->className : std::string();
}

bool PlayerDefinition::adoptSettings(const PlayerSettings& block) {
    const std::string expected = kind ? className() : block.tag;
    if (block.tag.empty()) return false;
    if (validateSettings && !validateSettings(block, expected)) return false;
    settings = block;
    return true;
}

void PlayerDefinition::resetSettingsToDefaults() {
    settings.set(className(), nullptr, 0);
    if (initDefaultSettings) initDefaultSettings(settings, className());
}

bool PlayerDefinition::runSettingsDialog() {
    return editSettings && editSettings(settings, name, className());
}

std::unique_ptr<CPlayer> PlayerDefinition::createPlayer() const {
    if (!kind || !kind->create) return nullptr;
    auto player = kind->create();
    if (player) player->definition = this;
    return player;
}

bool PlayerDefinition::read(CRegistryKey& key, const std::string& prefix, const KindLookup& findKind,
                            const std::function<void()>& beforeRewrite) {
    std::string newName, newDescription, newClass;
    if (!key.readText(prefix + "Name", newName) ||
        !key.readText(prefix + "Description", newDescription) ||
        !key.readText(prefix + "Class", newClass))
        return false;
    const PlayerDefinition* entry = findKind(newClass);
    if (!entry) return false;
    std::vector<std::uint8_t> value;
    PlayerSettings block;
    if (!key.readBytesAlloc(prefix + "Settings", value) || !block.decode(value)) return false;

    name = std::move(newName);
    description = std::move(newDescription);
    kind = entry->kind;
    hasSettingsDialog = entry->hasSettingsDialog;
    validateSettings = entry->validateSettings;
    initDefaultSettings = entry->initDefaultSettings;
    editSettings = entry->editSettings;
    if (!adoptSettings(block)) {
        resetSettingsToDefaults();
        if (beforeRewrite) beforeRewrite();
        auto bytes = settings.encode();
        key.writeBytes(prefix + "Settings", bytes.data(), bytes.size());
    }
    return true;
}

bool PlayerDefinition::write(CRegistryKey& key, const std::string& prefix) const {
    auto bytes = settings.encode();
    return key.writeText(prefix + "Name", name) &&
           key.writeText(prefix + "Description", description) &&
           key.writeText(prefix + "Class", className()) &&
           key.writeBytes(prefix + "Settings", bytes.data(), bytes.size());
}

bool PlayerDefinition::erase(CRegistryKey& key, const std::string& prefix) {
    bool any = false;
    for (const char* suffix : {"Name", "Description", "Class", "Settings"})
        any = key.deleteValue(prefix + suffix) || any;
    return any;
}

std::string playerPrefix(std::size_t index) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Player%.2zu_", index);
    return buffer;
}

} // namespace quintrel
