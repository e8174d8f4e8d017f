#include "ui/PlayerPropertiesDialog.h"

#include "ui/DlgButtons.h"

#include <QVBoxLayout>

namespace quintrel {

CPlayerPropertiesDialog::CPlayerPropertiesDialog(int device, const QString& playerName,
                                                 QWidget* parent)
    : QDialog(parent), deviceValue(device)
{
    setObjectName(QStringLiteral("PlayerPropertiesDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeDlgRadioGroup(
        this, QStringLiteral("Input device"),
        {QStringLiteral("&Keyboard"), QStringLiteral("&Mouse"), QStringLiteral("&Both")},
        QStringLiteral("device"), deviceGroup));
    addDlgOkCancel(this, layout, QStringLiteral("OK"), QStringLiteral("Cancel"));
    checkDlgRadio(deviceGroup, deviceValue);
    setWindowTitle(QStringLiteral("Settings of ") + playerName);
}

void CPlayerPropertiesDialog::accept()
{
    if (deviceGroup->checkedId() >= 0)
        deviceValue = deviceGroup->checkedId();
    QDialog::accept();
}

} // namespace quintrel
