#include "ui/TreeSettingsDialog.h"

#include "ui/DlgButtons.h"
#include "ui/DlgNumberField.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QVBoxLayout>

namespace quintrel {

namespace {
constexpr int QUALITY_REDUCTION = 4;
} // namespace

CTreeSettingsDialog::CTreeSettingsDialog(const Record& record, bool extensiveLayout,
                                         const QString& playerName, QWidget* parent)
    : QDialog(parent), extensive(extensiveLayout)
{
    setObjectName(QStringLiteral("TreeSettingsDialog"));
    maxDepth = record.maxDepth;
    reduceBranch = record.maxBranch != 0;
    if (record.maxBranch != 0)
        maxBranch = record.maxBranch;
    ordering = record.ordering;
    reduction = record.reduction;
    quality = record.quality;
    aging = record.aging;
    attack = record.attack;
    if (extensive) {
        fullDepth = record.fullDepth;
        weighted = record.weighted;
    }

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;

    auto* space = new QGroupBox(QStringLiteral("Space constraints"), this);
    auto* spaceLayout = new QFormLayout(space);
    maxDepthField = makeDlgNumberField(space, "maxDepth", 1, 40, maxDepth);
    spaceLayout->addRow(extensive ? QStringLiteral("Maximal total depth\nincluding extensive search")
                                  : QStringLiteral("Maximal depth"),
                        maxDepthField);
    if (extensive) {
        fullDepthField = makeDlgNumberField(space, "fullDepth", 1, 40, fullDepth);
        spaceLayout->addRow(QStringLiteral("Maximal full search depth"), fullDepthField);
    }
    reduceBranchBox = new QCheckBox(QStringLiteral("Reduce branch factor"), space);
    reduceBranchBox->setObjectName(QStringLiteral("reduceBranch"));
    reduceBranchBox->setChecked(reduceBranch);
    spaceLayout->addRow(reduceBranchBox);
    maxBranchField = makeDlgNumberField(space, "maxBranch", 2, 100, maxBranch);
    maxBranchLabel = new QLabel(extensive ? QStringLiteral("Maximal branch factor")
                                          : QStringLiteral("Maximal branch"),
                                space);
    maxBranchLabel->setObjectName(QStringLiteral("maxBranchLabel"));
    spaceLayout->addRow(maxBranchLabel, maxBranchField);
    top->addWidget(space);

    auto* switches = new QGroupBox(this);
    auto* switchLayout = new QVBoxLayout(switches);
    agingBox = new QCheckBox(extensive ? QStringLiteral("Aging") : QStringLiteral("Use Aging"),
                             switches);
    agingBox->setObjectName(QStringLiteral("aging"));
    agingBox->setChecked(aging);
    switchLayout->addWidget(agingBox);
    attackBox = new QCheckBox(QStringLiteral("Attack"), switches);
    attackBox->setObjectName(QStringLiteral("attack"));
    attackBox->setChecked(attack);
    switchLayout->addWidget(attackBox);
    if (extensive) {
        weightedBox = new QCheckBox(QStringLiteral("Weighted"), switches);
        weightedBox->setObjectName(QStringLiteral("weighted"));
        weightedBox->setChecked(weighted);
        switchLayout->addWidget(weightedBox);
    }
    top->addWidget(switches);
    layout->addLayout(top);

    auto* bottom = new QHBoxLayout;
    QGroupBox* reductionBox = makeDlgRadioGroup(
        this, QStringLiteral("Type of field reduction"),
        {QStringLiteral("No reduction"), QStringLiteral("Rectangular"),
         QStringLiteral("Wide conture"), QStringLiteral("Conture"), QStringLiteral("Quality >=")},
        QStringLiteral("reduction"), reductionGroup);
    qualityField = makeDlgNumberField(reductionBox, "quality", 2, 6, quality);
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(reductionGroup->button(QUALITY_REDUCTION));
    qualityRow->addWidget(qualityField);
    static_cast<QVBoxLayout*>(reductionBox->layout())->addLayout(qualityRow);
    bottom->addWidget(reductionBox);
    bottom->addWidget(makeDlgRadioGroup(
        this, QStringLiteral("Type of move ordering"),
        {QStringLiteral("Unsorted"), QStringLiteral("Absolute best first"),
         QStringLiteral("Oponent's best first"), QStringLiteral("My best first")},
        QStringLiteral("ordering"), orderingGroup));
    layout->addLayout(bottom);
    addDlgOkCancel(this, layout, QStringLiteral("OK"), QStringLiteral("Cancel"));

    checkDlgRadio(reductionGroup, reduction);
    checkDlgRadio(orderingGroup, ordering);
    enableBranchControls(reduceBranch);
    qualityField->setEnabled(reduction == QUALITY_REDUCTION);

    connect(reduceBranchBox, &QCheckBox::clicked, this,
            &CTreeSettingsDialog::onReduceBranchClicked);
    connect(reductionGroup, &QButtonGroup::idClicked, this,
            [this](int id) { qualityField->setEnabled(id == QUALITY_REDUCTION); });

    setWindowTitle(QStringLiteral("Settings of ") + playerName);
}

void CTreeSettingsDialog::enableBranchControls(bool on)
{
    maxBranchLabel->setEnabled(on);
    maxBranchField->setEnabled(on);
}

// Validates in a fixed order; the branch value is checked even while its
// field is disabled, and the full depth against the total depth just read.
bool CTreeSettingsDialog::readControls()
{
    int branch = 0;
    int depth = 0;
    int full = 0;
    int minQuality = 0;
    if (!readDlgNumber(this, maxBranchField, 2, 100, branch))
        return false;
    if (!readDlgNumber(this, maxDepthField, 1, 40, depth))
        return false;
    if (extensive && !readDlgNumber(this, fullDepthField, 1, depth, full))
        return false;
    if (!readDlgNumber(this, qualityField, 2, 6, minQuality))
        return false;
    maxBranch = branch;
    maxDepth = depth;
    if (extensive) {
        fullDepth = full;
        weighted = weightedBox->isChecked();
    }
    quality = minQuality;
    reduceBranch = reduceBranchBox->isChecked();
    if (reductionGroup->checkedId() >= 0)
        reduction = reductionGroup->checkedId();
    if (orderingGroup->checkedId() >= 0)
        ordering = orderingGroup->checkedId();
    aging = agingBox->isChecked();
    attack = attackBox->isChecked();
    return true;
}

void CTreeSettingsDialog::onReduceBranchClicked()
{
    if (readControls())
        enableBranchControls(reduceBranch);
}

void CTreeSettingsDialog::accept()
{
    if (readControls())
        QDialog::accept();
}

CTreeSettingsDialog::Record CTreeSettingsDialog::record() const
{
    Record r;
    r.maxDepth = maxDepth;
    r.maxBranch = reduceBranch ? maxBranch : 0;
    r.ordering = ordering;
    r.reduction = reduction;
    r.quality = quality;
    r.aging = aging;
    r.attack = attack;
    r.fullDepth = fullDepth;
    r.weighted = weighted;
    return r;
}

} // namespace quintrel
