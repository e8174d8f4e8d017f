#include "ui/LightSettingsDialog.h"

#include "ui/DlgButtons.h"

#include <QVBoxLayout>

namespace quintrel {

namespace {
constexpr int NORMAL = 1;
constexpr int SENSIBLE = 1;
constexpr int FANATIC = 2;
} // namespace

CLightSettingsDialog::CLightSettingsDialog(int style, int evaluation, const QString& playerName,
                                           QWidget* parent)
    : QDialog(parent), styleValue(style), evaluationValue(evaluation)
{
    setObjectName(QStringLiteral("LightSettingsDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* groups = new QHBoxLayout;
    groups->addWidget(makeDlgRadioGroup(
        this, QStringLiteral("Evaluation"),
        {QStringLiteral("&Primitive"), QStringLiteral("&Sensible"), QStringLiteral("&Fanatic")},
        QStringLiteral("evaluation"), evaluationGroup));
    groups->addWidget(makeDlgRadioGroup(
        this, QStringLiteral("Playing style"),
        {QStringLiteral("&Defender"), QStringLiteral("&Normal"), QStringLiteral("&Attacker")},
        QStringLiteral("style"), styleGroup));
    layout->addLayout(groups);
    addDlgOkCancel(this, layout, QStringLiteral("O&K"), QStringLiteral("Cancel"));

    if (styleValue == NORMAL && evaluationValue == FANATIC)
        evaluationValue = SENSIBLE;
    checkDlgRadio(evaluationGroup, evaluationValue);
    checkDlgRadio(styleGroup, styleValue);
    evaluationGroup->button(FANATIC)->setEnabled(styleValue != NORMAL);
    connect(styleGroup, &QButtonGroup::idClicked, this, &CLightSettingsDialog::onStyleClicked);

    setWindowTitle(QStringLiteral("Settings of ") + playerName);
}

void CLightSettingsDialog::readButtons()
{
    if (styleGroup->checkedId() >= 0)
        styleValue = styleGroup->checkedId();
    if (evaluationGroup->checkedId() >= 0)
        evaluationValue = evaluationGroup->checkedId();
}

void CLightSettingsDialog::onStyleClicked(int id)
{
    if (id == NORMAL) {
        readButtons();
        if (evaluationValue == FANATIC) {
            evaluationValue = SENSIBLE;
            checkDlgRadio(evaluationGroup, evaluationValue);
        }
        evaluationGroup->button(FANATIC)->setEnabled(false);
    } else {
        evaluationGroup->button(FANATIC)->setEnabled(true);
    }
}

void CLightSettingsDialog::accept()
{
    readButtons();
    QDialog::accept();
}

} // namespace quintrel
