#pragma once
// The ordered list of defined players, the Expert (the default computer
// player) and the two player objects the database owns: the human and the
// Expert. Positions 0 to 6 always hold the seven fixed kinds in catalogue
// order; the later kinds' players and user-made definitions follow. Every live player links to its definition in
// the list, so whenever the list is replaced the players are re-linked.
// Everything here runs on the UI thread.

#include "app/MessagePort.h"
#include "players/Player.h"
#include "players/PlayerDefinition.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quintrel {

class CRegistryKey;
class SettingsBackend;

class CPlayerDatabase {
public:
    static constexpr std::uint32_t NONE = 0xFFFFFFFF;
    static constexpr std::uint32_t DEFAULT_EXPERT = 2; // "Light"

    explicit CPlayerDatabase(SettingsBackend& store);
    ~CPlayerDatabase();
    // Players link into the list; the database is never copied.
    CPlayerDatabase(const CPlayerDatabase&) = delete;
    CPlayerDatabase& operator=(const CPlayerDatabase&) = delete;

    // The list
    const std::vector<PlayerDefinition>& definitions() const { return list_; }
    std::size_t count() const { return list_.size(); }
    // Null when index is not below the count.
    PlayerDefinition* definition(std::uint32_t index);
    const PlayerDefinition* definition(std::uint32_t index) const;
    // The names in list order, without the human's unless includeHuman.
    std::vector<std::string> names(bool includeHuman) const;

    // Storage
    // Reads the list and the Expert; a missing or damaged list becomes the
    // defaults, and a list without a player of a later kind gets one appended.
    void load();
    // Writes the list into key, or into the Players key when key is null.
    bool save(CRegistryKey* key = nullptr);
    // The catalogue entries with their defaults, the Expert "Light"; stored at once.
    void resetToDefaults();
    // Saves the list and destroys the database's two players. Once, at exit.
    void shutdown();
    // Whether load() found stored definitions it could not keep and changed
    // the store; the backup of the settings made before that, if the store
    // keeps one. The user is told of both once, by the program.
    bool listRepaired() const { return repaired_; }
    const std::optional<std::string>& damagedListBackup() const { return backup_; }
    // load() has run: the Expert's index lies inside the list.
    bool isLoaded() const { return expertIndex_ < list_.size(); }

    // Players
    // A new player of definition index with the notify window and the thread
    // priority; null when index is not below the count or the kind makes none.
    std::unique_ptr<CPlayer> createPlayer(std::uint32_t index) const;
    // Makes the Expert from index; false (nothing changed) when that fails.
    // Does not write "iDefaultPlayer".
    bool setExpert(std::uint32_t index);
    // Makes the human player from humanIndex when there is none yet.
    void createHumanPlayer();
    // Points player at the definition at index (when index is inside the list).
    void relink(CPlayer* player, std::uint32_t index) const;

    int humanIndex() const { return humanIndex_; }
    std::uint32_t expertIndex() const { return expertIndex_; }
    CPlayer* humanPlayer() const { return humanPlayer_.get(); }
    CPlayer* expertPlayer() const { return expertPlayer_.get(); }
    int threadPriority() const { return threadPriority_; }
    const WindowHandle& notifyWindow() const { return notifyWindow_; }
    // Stored and passed on to the human player and the Expert; a priority
    // outside -1..2 is ignored.
    void setNotifyWindow(WindowHandle window);
    void setThreadPriority(int priority);
    SettingsBackend& store() const { return store_; }

    // Edit Players. The dialog is the UI's: it edits a working copy of the
    // list and the three indices that removals keep valid, and answers OK.
    using EditPlayersDialog =
        std::function<bool(std::vector<PlayerDefinition>& workingList, int& firstIndex,
                           int& secondIndex, std::uint32_t& expertIndex)>;
    void setEditPlayersDialog(EditPlayersDialog dialog) { editPlayersDialog_ = std::move(dialog); }
    // Runs the dialog; on OK (with at least the seven built-in definitions)
    // adopts the working list and the adjusted indices, writes "iDefaultPlayer"
    // and re-links the human, the Expert and the game's two players. On Cancel
    // nothing changes. Answers whether the dialog ended with OK.
    bool editPlayers(int& firstIndex, int& secondIndex, CPlayer* firstPlayer,
                     CPlayer* secondPlayer);

private:
    void resetToDefaults(CRegistryKey& playersKey);
    void relinkOwnPlayers();
    bool classesMatchCatalogue() const;
    bool appendMissingKinds();
    std::string unusedName(const std::string& base) const;
    void beforeRepair();

    SettingsBackend& store_;
    std::vector<PlayerDefinition> list_;
    int humanIndex_ = 0;
    std::unique_ptr<CPlayer> humanPlayer_;
    std::uint32_t expertIndex_ = NONE;
    std::unique_ptr<CPlayer> expertPlayer_;
    int threadPriority_ = 0;
    WindowHandle notifyWindow_;
    EditPlayersDialog editPlayersDialog_;
    bool repaired_ = false;
    std::optional<std::string> backup_;
};

} // namespace quintrel
