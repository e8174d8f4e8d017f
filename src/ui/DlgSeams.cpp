#include "ui/DlgSeams.h"

#include "game/PlayerSelection.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/DlgSettingsEditors.h"
#include "ui/EditPlayersDialog.h"

namespace quintrel {

void installDialogSeams(CPlayerDatabase& database)
{
    installSettingsEditors();
    installEditPlayersDialog(database);
}

bool runEditPlayersDialog(CPlayerDatabase& database, PlayerSelection& players)
{
    return database.editPlayers(players.firstIndex, players.secondIndex, players.firstPlayer.get(),
                                players.secondPlayer.get());
}

} // namespace quintrel
