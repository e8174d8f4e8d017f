#include "catalogue/PlayerKindCatalogue.h"

#include "players/EnginePlayer.h"
#include "players/EngineSettings.h"
#include "players/HumanPlayer.h"
#include "players/LightPlayer.h"
#include "players/LightSettings.h"
#include "players/MasterSettings.h"
#include "players/MediumPlayer.h"
#include "players/MediumSettings.h"
#include "players/RandomPlayer.h"
#include "players/TreeSettings.h"
#include "search/AlphaBetaPlayer.h"
#include "search/ExtensivePlayer.h"
#include "search/MasterPlayer.h"
#include "search/MiniMaxPlayer.h"

#include <map>

namespace quintrel {

namespace {

// The factories of the kinds, all in this one place. A kind whose
// player is not built yet answers null, and the database then makes none.
std::unique_ptr<CPlayer> createHuman() {
    return std::make_unique<CHumanPlayer>();
}
std::unique_ptr<CPlayer> createRandom() {
    return std::make_unique<CRandomPlayer>();
}
std::unique_ptr<CPlayer> createLight() {
    return std::make_unique<CLightPlayer>();
}
std::unique_ptr<CPlayer> createMedium() {
    return std::make_unique<CMediumPlayer>();
}
std::unique_ptr<CPlayer> createMiniMax() {
    return std::make_unique<CMiniMaxPlayer>();
}
std::unique_ptr<CPlayer> createAlphaBeta() {
    return std::make_unique<CAlphaBetaPlayer>();
}
std::unique_ptr<CPlayer> createExtensive() {
    return std::make_unique<CExtensivePlayer>();
}
std::unique_ptr<CPlayer> createMaster() {
    return std::make_unique<CMasterPlayer>();
}
std::unique_ptr<CPlayer> createEngine() {
    return std::make_unique<CEnginePlayer>();
}

const PlayerKind KINDS[PlayerKindCatalogue::KIND_COUNT] = {
    {HumanSettings::CLASS_NAME, HumanSettings::SIZE, createHuman},
    {CRandomPlayer::CLASS_NAME, 0, createRandom},
    {LightSettings::CLASS_NAME, LightSettings::SIZE, createLight},
    {MediumSettings::CLASS_NAME, MediumSettings::SIZE, createMedium},
    {TreeSettings::MINIMAX_CLASS, TreeSettings::SIZE, createMiniMax},
    {TreeSettings::ALPHABETA_CLASS, TreeSettings::SIZE, createAlphaBeta},
    {TreeSettings::EXTENSIVE_CLASS, TreeSettings::EXTENSIVE_SIZE, createExtensive},
    {MasterSettings::CLASS_NAME, MasterSettings::SIZE, createMaster},
    {EngineSettings::CLASS_NAME, EngineSettings::MIN_SIZE, createEngine},
};

PlayerDefinition makeEntry(const PlayerKind& kind, const char* name, const char* description,
                           ValidateSettingsFn validate, InitDefaultSettingsFn init,
                           EditSettingsFn edit) {
    PlayerDefinition d;
    d.kind = &kind;
    d.name = name;
    d.description = description;
    d.settings.set(kind.className, nullptr, 0);
    d.validateSettings = validate;
    d.initDefaultSettings = init;
    d.editSettings = edit;
    d.hasSettingsDialog = validate && init && edit ? 1 : 0;
    if (init) init(d.settings, kind.className);
    return d;
}

std::vector<PlayerDefinition> buildCatalogue() {
    using C = PlayerKindCatalogue;
    std::vector<PlayerDefinition> list;
    list.push_back(makeEntry(KINDS[C::HUMAN], "Human", "Player using keyboard or mouse",
                             validateHumanSettings, initHumanSettings, runSettingsEditor));
    list.push_back(makeEntry(KINDS[C::CHAOTIC], "Chaotic", "Randomly playing player", nullptr,
                             nullptr, nullptr));
    list.push_back(makeEntry(KINDS[C::LIGHT], "Light", "Staticaly playing player",
                             validateLightSettings, initLightSettings, runSettingsEditor));
    list.push_back(makeEntry(KINDS[C::MEDIUM], "Medium", "Advanced static player",
                             validateMediumSettings, initMediumSettings, runSettingsEditor));
    list.push_back(makeEntry(KINDS[C::MINIMAX], "MiniMax", "Player using the minimax algorithm",
                             validateTreeSettings, initMiniMaxSettings, runSettingsEditor));
    list.push_back(makeEntry(KINDS[C::ALPHABETA], "AlphaBeta",
                             "Player using the alpha-beta algorithm", validateTreeSettings,
                             initAlphaBetaSettings, runSettingsEditor));
    list.push_back(makeEntry(KINDS[C::EXTENSIVE], "Extensive",
                             "Alpha-beta with extensive heuristic", validateExtensiveSettings,
                             initExtensiveSettings, runSettingsEditor));
    list.push_back(makeEntry(KINDS[C::MASTER], "Master", "Threat search with time control",
                             validateMasterSettings, initMasterSettings, runSettingsEditor));
    list.push_back(makeEntry(KINDS[C::ENGINE], "Engine", CEnginePlayer::DESCRIPTION,
                             validateEngineSettings, initEngineSettings, runSettingsEditor));
    return list;
}

std::map<std::string, PlayerKindCatalogue::SettingsEditor>& editors() {
    static std::map<std::string, PlayerKindCatalogue::SettingsEditor> map;
    return map;
}

} // namespace

const std::vector<PlayerDefinition>& PlayerKindCatalogue::entries() {
    static const std::vector<PlayerDefinition> catalogue = buildCatalogue();
    return catalogue;
}

const PlayerDefinition* PlayerKindCatalogue::findKind(const std::string& className) {
    for (const auto& entry : entries())
        if (entry.className() == className) return &entry;
    return nullptr;
}

void PlayerKindCatalogue::setSettingsEditor(const std::string& className, SettingsEditor editor) {
    editors()[className] = std::move(editor);
}

bool runSettingsEditor(PlayerSettings& block, const std::string& playerName,
                       const std::string& className) {
    auto it = editors().find(className);
    if (it == editors().end() || !it->second) return false;
    return it->second(block, playerName, className);
}

} // namespace quintrel
