#include "ui/OptionsDialog.h"

#include "app/OptionValues.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/DlgButtons.h"
#include "ui/DlgSeams.h"
#include "ui/UiHooks.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quintrel {

namespace {
constexpr int PAUSE_MIN = 100;
constexpr int PAUSE_MAX = 5000;
constexpr int FIRST_PRIORITY_ID = 1004;
} // namespace

COptionsDialog::COptionsDialog(const Values& values, const QStringList& expertNames,
                               QWidget* parent)
    : QDialog(parent), current(values)
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    auto* layout = new QVBoxLayout(this);

    auto* general = new QGroupBox(QStringLiteral("General settings"), this);
    auto* generalLayout = new QVBoxLayout(general);
    askBox = new QCheckBox(QStringLiteral("&Ask, before closing an unsaved game"), general);
    askBox->setObjectName(QStringLiteral("1001"));
    generalLayout->addWidget(askBox);
    auto* expertLabel = new QLabel(QStringLiteral("Default computer player (&Expert)"), general);
    generalLayout->addWidget(expertLabel);
    expertCombo = new QComboBox(general);
    expertCombo->setObjectName(QStringLiteral("1000"));
    expertLabel->setBuddy(expertCombo);
    generalLayout->addWidget(expertCombo);
    layout->addWidget(general);

    auto* priorityBox = new QGroupBox(QStringLiteral("Thinking thread &priority"), this);
    auto* priorityLayout = new QHBoxLayout(priorityBox);
    priorityGroup = new QButtonGroup(priorityBox);
    const QStringList priorities = {QStringLiteral("Low"), QStringLiteral("Middle"),
                                    QStringLiteral("High"), QStringLiteral("Agressive")};
    for (int i = 0; i < priorities.size(); ++i) {
        auto* button = new QRadioButton(priorities[i], priorityBox);
        button->setObjectName(QString::number(FIRST_PRIORITY_ID + i));
        priorityGroup->addButton(button, i);
        priorityLayout->addWidget(button);
    }
    layout->addWidget(priorityBox);

    auto* pauseBox = new QGroupBox(QStringLiteral("Pause for &replaying"), this);
    auto* pauseLayout = new QGridLayout(pauseBox);
    pauseLayout->addWidget(new QLabel(QStringLiteral("Min"), pauseBox), 0, 0);
    pauseSlider = new QSlider(Qt::Horizontal, pauseBox);
    pauseSlider->setObjectName(QStringLiteral("1002"));
    pauseLayout->addWidget(pauseSlider, 0, 1);
    pauseLayout->addWidget(new QLabel(QStringLiteral("Max"), pauseBox), 0, 2);
    pauseLabel = new QLabel(QStringLiteral("2.0 sec."), pauseBox);
    pauseLabel->setObjectName(QStringLiteral("1003"));
    pauseLabel->setAlignment(Qt::AlignCenter);
    pauseLayout->addWidget(pauseLabel, 1, 1);
    layout->addWidget(pauseBox);

    addDlgOkCancel(this, layout, QStringLiteral("O&K"), QStringLiteral("Cancel"));

    pauseSlider->setRange(PAUSE_MIN, PAUSE_MAX);
    pauseSlider->setTickPosition(QSlider::TicksBelow);
    pauseSlider->setTickInterval(1000);
    pauseSlider->setSingleStep(100);
    pauseSlider->setPageStep(500);

    expertCombo->addItems(expertNames);
    askBox->setChecked(current.ask);
    expertCombo->setCurrentIndex(current.expertChoice);
    checkDlgRadio(priorityGroup, current.priority);
    pauseSlider->setValue(static_cast<int>(std::min<unsigned>(current.pause, PAUSE_MAX)));
    showPause(pauseSlider->value());
    connect(pauseSlider, &QSlider::valueChanged, this, &COptionsDialog::showPause);
}

void COptionsDialog::showPause(int position)
{
    pauseLabel->setText(QString::asprintf("%.1f sec.", position * 0.001));
}

void COptionsDialog::accept()
{
    current.ask = askBox->isChecked();
    current.expertChoice = expertCombo->currentIndex();
    current.priority = priorityGroup->checkedId();
    current.pause = static_cast<unsigned>(pauseSlider->value());
    QDialog::accept();
}

bool runOptionsDialog(QWidget* parent, OptionValues& options, CPlayerDatabase& database)
{
    COptionsDialog::Values values;
    values.ask = options.ask != 0;
    values.expertChoice = static_cast<int>(database.expertIndex()) - 1;
    values.priority = options.priority;
    values.pause = options.pause;
    QStringList names;
    for (const std::string& name : database.names(false))
        names << QString::fromStdString(name);

    COptionsDialog dialog(values, names, parent);
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;
    options.ask = dialog.values().ask ? 1 : 0;
    options.expertChoice = dialog.values().expertChoice;
    options.priority = dialog.values().priority;
    options.pause = dialog.values().pause;
    options.save(database.store());
    return true;
}

} // namespace quintrel
