#include "ui/DlgSettingsEditors.h"

#include "players/EngineSettings.h"
#include "players/HumanPlayer.h"
#include "players/LightSettings.h"
#include "players/MasterSettings.h"
#include "players/MediumSettings.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "players/TreeSettings.h"
#include "ui/EngineSettingsDialog.h"
#include "ui/LightSettingsDialog.h"
#include "ui/MasterSettingsDialog.h"
#include "ui/MediumSettingsDialog.h"
#include "ui/PlayerPropertiesDialog.h"
#include "ui/TreeSettingsDialog.h"
#include "ui/UiHooks.h"

#include <QApplication>

namespace quintrel {

namespace {

// The settings dialogs open over whatever modal dialog called them (Who
// Plays, Edit Players) or over the main window.
QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

QString playerCaption(const std::string& name)
{
    return QString::fromStdString(name);
}

bool editHuman(PlayerSettings& block, const std::string& name, const std::string& className)
{
    const int device = block.size() == HumanSettings::SIZE ? block.int32At(0) : HumanSettings::BOTH;
    CPlayerPropertiesDialog dialog(device, playerCaption(name), dialogParent());
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;
    HumanSettings record;
    record.device = dialog.device();
    PlayerSettings edited = record.toBlock();
    return block.set(className, edited.data.data(), edited.data.size());
}

bool editLight(PlayerSettings& block, const std::string& name, const std::string& className)
{
    const LightSettings record = LightSettings::fromBlock(block);
    CLightSettingsDialog dialog(record.style, record.evaluation, playerCaption(name), dialogParent());
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;
    LightSettings edited;
    edited.style = dialog.style();
    edited.evaluation = dialog.evaluation();
    const PlayerSettings bytes = edited.toBlock();
    return block.set(className, bytes.data.data(), bytes.data.size());
}

bool editMedium(PlayerSettings& block, const std::string& name, const std::string& className)
{
    const MediumSettings record = MediumSettings::fromBlock(block);
    CMediumSettingsDialog dialog(record.style, playerCaption(name), dialogParent());
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;
    MediumSettings edited;
    edited.style = dialog.style();
    const PlayerSettings bytes = edited.toBlock();
    return block.set(className, bytes.data.data(), bytes.data.size());
}

bool editTree(PlayerSettings& block, const std::string& name, const std::string& className)
{
    const bool extensive = className == TreeSettings::EXTENSIVE_CLASS;
    TreeSettings record = TreeSettings::fromBlock(block);
    CTreeSettingsDialog::Record values;
    values.maxDepth = static_cast<int>(record.maxDepth);
    values.maxBranch = static_cast<int>(record.maxBranch);
    values.ordering = record.ordering;
    values.reduction = record.reduction;
    values.quality = static_cast<int>(record.quality);
    values.aging = record.aging != 0;
    values.attack = record.attack != 0;
    values.fullDepth = record.fullDepth;
    values.weighted = record.weighted != 0;

    CTreeSettingsDialog dialog(values, extensive, playerCaption(name), dialogParent());
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;
    const CTreeSettingsDialog::Record out = dialog.record();
    record.maxDepth = static_cast<std::uint32_t>(out.maxDepth);
    record.maxBranch = static_cast<std::uint32_t>(out.maxBranch);
    record.ordering = out.ordering;
    record.reduction = out.reduction;
    record.quality = static_cast<std::uint32_t>(out.quality);
    record.aging = out.aging ? 1 : 0;
    record.attack = out.attack ? 1 : 0;
    record.extensive = extensive;
    if (extensive) {
        record.fullDepth = out.fullDepth;
        record.weighted = out.weighted ? 1 : 0;
    }
    const PlayerSettings bytes = record.toBlock(className);
    return block.set(className, bytes.data.data(), bytes.data.size());
}

bool editMaster(PlayerSettings& block, const std::string& name, const std::string& className)
{
    const MasterSettings record = MasterSettings::fromBlock(block);
    CMasterSettingsDialog dialog({record.timeMs, record.maxDepth, record.threads, record.hashMb},
                                 playerCaption(name), dialogParent());
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;
    const CMasterSettingsDialog::Record out = dialog.record();
    const MasterSettings edited{out.timeMs, out.maxDepth, out.threads, out.hashMb};
    const PlayerSettings bytes = edited.toBlock();
    return block.set(className, bytes.data.data(), bytes.data.size());
}

bool editEngine(PlayerSettings& block, const std::string& name, const std::string& className)
{
    CEngineSettingsDialog dialog(EngineSettings::fromBlock(block), playerCaption(name), dialogParent());
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;
    const PlayerSettings bytes = dialog.settings().toBlock();
    return block.set(className, bytes.data.data(), bytes.data.size());
}

} // namespace

void installSettingsEditors()
{
    PlayerKindCatalogue::setSettingsEditor(HumanSettings::CLASS_NAME, editHuman);
    PlayerKindCatalogue::setSettingsEditor(LightSettings::CLASS_NAME, editLight);
    PlayerKindCatalogue::setSettingsEditor(MediumSettings::CLASS_NAME, editMedium);
    PlayerKindCatalogue::setSettingsEditor(TreeSettings::MINIMAX_CLASS, editTree);
    PlayerKindCatalogue::setSettingsEditor(TreeSettings::ALPHABETA_CLASS, editTree);
    PlayerKindCatalogue::setSettingsEditor(TreeSettings::EXTENSIVE_CLASS, editTree);
    PlayerKindCatalogue::setSettingsEditor(MasterSettings::CLASS_NAME, editMaster);
    PlayerKindCatalogue::setSettingsEditor(EngineSettings::CLASS_NAME, editEngine);
}

} // namespace quintrel
