#include "ui/MediumSettingsDialog.h"

#include "ui/DlgButtons.h"

#include <QVBoxLayout>

namespace quintrel {

CMediumSettingsDialog::CMediumSettingsDialog(int style, const QString& playerName,
                                             QWidget* parent)
    : QDialog(parent), styleValue(style)
{
    setObjectName(QStringLiteral("MediumSettingsDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeDlgRadioGroup(
        this, QStringLiteral("Playing style"),
        {QStringLiteral("&Defender"), QStringLiteral("&Normal"), QStringLiteral("&Attacker")},
        QStringLiteral("style"), styleGroup));
    addDlgOkCancel(this, layout, QStringLiteral("OK"), QStringLiteral("Cancel"));
    checkDlgRadio(styleGroup, styleValue);
    setWindowTitle(QStringLiteral("Settings of ") + playerName);
}

void CMediumSettingsDialog::accept()
{
    if (styleGroup->checkedId() >= 0)
        styleValue = styleGroup->checkedId();
    QDialog::accept();
}

} // namespace quintrel
