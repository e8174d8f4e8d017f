#pragma once
// What the main window needs of the modal dialogs: one call at start-up that
// connects the player catalogue and the database to their dialogs, and one
// function per game command that runs its dialog. Each run function answers
// whether the dialog ended with OK.

class QWidget;

namespace quintrel {

class CPlayerDatabase;
struct OptionValues;
class PlayerSelection;

// The kinds' settings dialogs and the database's Edit Players dialog.
void installDialogSeams(CPlayerDatabase& database);

// "&Who Plays...": on OK the chosen players are installed in the selection.
bool runWhoPlaysDialog(QWidget* parent, PlayerSelection& players);
// "&Edit Players...": the database adopts the edited list and indices on OK only.
bool runEditPlayersDialog(CPlayerDatabase& database, PlayerSelection& players);
// "O&ptions...": on OK options holds the new values and the store has them.
bool runOptionsDialog(QWidget* parent, OptionValues& options, CPlayerDatabase& database);

} // namespace quintrel
