#pragma once
// "Edit Players": adds, renames, re-describes, retunes and removes defined
// players on a working copy of the list. Removals keep three indices valid:
// the game's two chosen definitions and the Expert. The dialog adjusts its
// own copies of them; the caller adopts list and indices only on OK, so a
// cancelled run leaves the game pointing at the definitions it had.

#include "players/PlayerDefinition.h"

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdint>
#include <vector>

namespace quintrel {

class CPlayerDatabase;

// Shown when a removal would take a player out of the running game (the
// closing double quote is part of the text).
inline constexpr const char* TEXT_IN_CURRENT_GAME =
    "Cannot delete selected player,\nbecause he is taking part in\ncurrent game.\n\n"
    "Invoke the Who Plays window\nand assign a different player\nto the game, before deleting\n"
    "this one.\"";
inline constexpr const char* TEXT_USED_AS_EXPERT =
    "Cannot delete selected player,\nbecause he is used like Expert.\n\n"
    "Invoke the Options window\nand select a different player\nas Expert, before deleting\n"
    "this one.";
inline constexpr const char* TEXT_NAME_NEEDED = "Please enter a non-empty and unique player's name.";

class CEditPlayersDialog : public QDialog {
    Q_OBJECT
public:
    CEditPlayersDialog(const std::vector<PlayerDefinition>& list, int firstIndex, int secondIndex,
                       std::uint32_t expertIndex, QWidget* parent = nullptr);

    // False when another entry than the one at skip carries exactly this name.
    bool isNameUnique(const std::string& name, int skip) const;
    // The class names of the kinds: the seven built-in ones in list order,
    // then the later kinds in catalogue order.
    QStringList kindClassNames() const;

    const std::vector<PlayerDefinition>& workingList() const { return working; }
    int firstIndex() const { return first; }
    int secondIndex() const { return second; }
    std::uint32_t expertIndex() const { return expert; }
    int selection() const { return selected; }

    void accept() override;

private:
    bool readFields();
    PlayerDefinition kindTemplate(int classIndex) const;
    void showFields();
    void onSelectionChanged(int row);
    void addNew();
    void removeSelected();
    void editSettings();
    void selectRow(int row);

    std::vector<PlayerDefinition> working;
    int first;
    int second;
    std::uint32_t expert;
    int selected = 0;

    QListWidget* listBox = nullptr;
    QPushButton* addButton = nullptr;
    QPushButton* removeButton = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLineEdit* classEdit = nullptr;
    QPlainTextEdit* descriptionEdit = nullptr;
    QPushButton* settingsButton = nullptr;
};

// Lets the database run this dialog from its editPlayers operation.
void installEditPlayersDialog(CPlayerDatabase& database);

} // namespace quintrel
