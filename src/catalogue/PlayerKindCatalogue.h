#pragma once
// The player kinds in their fixed order. The first FIXED_KIND_COUNT are part
// of the stored player list (its first seven definitions must be these kinds)
// and the dialogs use their indices. The kinds after them were added later:
// a stored list carries them like user-made players, and load() appends one
// of each that a list lacks. Each entry is a complete default definition:
// copying it gives a player with the kind's default settings.

#include "players/PlayerDefinition.h"

#include <functional>
#include <string>
#include <vector>

namespace quintrel {

class PlayerKindCatalogue {
public:
    enum Index { HUMAN = 0, CHAOTIC, LIGHT, MEDIUM, MINIMAX, ALPHABETA, EXTENSIVE, MASTER, ENGINE, KIND_COUNT };
    // The kinds every stored list begins with, in this order.
    static constexpr int FIXED_KIND_COUNT = MASTER;
    // The kinds with a player in the default list: an Engine player needs
    // the user's brain, so the user makes one with New Player.
    static constexpr int DEFAULT_KIND_COUNT = ENGINE;

    // Built once on first use, in catalogue order.
    static const std::vector<PlayerDefinition>& entries();
    static const PlayerDefinition& entry(int index) {
        return entries().at(static_cast<std::size_t>(index));
    }
    // The first entry whose class name equals className exactly; null when none.
    static const PlayerDefinition* findKind(const std::string& className);

    // The settings dialogs live in the UI, which registers one per class name
    // before the first dialog is needed. Without one, editing cancels.
    using SettingsEditor = std::function<bool(PlayerSettings& block, const std::string& playerName,
                                              const std::string& className)>;
    static void setSettingsEditor(const std::string& className, SettingsEditor editor);
};

// The edit operation every kind with a dialog uses: runs the registered editor.
bool runSettingsEditor(PlayerSettings& block, const std::string& playerName,
                       const std::string& className);

} // namespace quintrel
