#include "ui/EngineSettingsDialog.h"

#include "ui/DlgButtons.h"
#include "ui/DlgNumberField.h"
#include "ui/UiHooks.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quintrel {

CEngineSettingsDialog::CEngineSettingsDialog(const EngineSettings& settings,
                                             const QString& playerName, QWidget* parent)
    : QDialog(parent), record(settings)
{
    setObjectName(QStringLiteral("EngineSettingsDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;

    command = new QLineEdit(QString::fromStdString(settings.command), this);
    command->setObjectName(QStringLiteral("command"));
    command->setMinimumWidth(360);
    auto* browseButton = new QPushButton(QStringLiteral("Browse..."), this);
    browseButton->setObjectName(QStringLiteral("browse"));
    connect(browseButton, &QPushButton::clicked, this, &CEngineSettingsDialog::browse);
    auto* commandRow = new QHBoxLayout;
    commandRow->addWidget(command);
    commandRow->addWidget(browseButton);
    form->addRow(QStringLiteral("&Command line:"), commandRow);

    turnMs = makeDlgNumberField(this, "turnMs", EngineSettings::MIN_TURN_MS, EngineSettings::MAX_TURN_MS,
                         settings.turnMs);
    form->addRow(QStringLiteral("Time per &move (ms):"), turnMs);
    matchMs = makeDlgNumberField(this, "matchMs", 0, EngineSettings::MAX_MATCH_MS, settings.matchMs);
    form->addRow(QStringLiteral("Time for the &whole match (ms, 0 = none):"), matchMs);

    info = new QPlainTextEdit(QString::fromStdString(settings.info), this);
    info->setObjectName(QStringLiteral("info"));
    info->setTabChangesFocus(true);
    info->setFixedHeight(90);
    form->addRow(QStringLiteral("Extra &INFO lines (key value):"), info);

    layout->addLayout(form);
    addDlgOkCancel(this, layout, QStringLiteral("OK"), QStringLiteral("Cancel"));
    setWindowTitle(QStringLiteral("Settings of ") + playerName);
}

void CEngineSettingsDialog::browse()
{
    const QString program = QFileDialog::getOpenFileName(this, QStringLiteral("Choose the brain"));
    if (program.isEmpty())
        return;
    // A path with blanks is quoted so that it stays one word of the command line.
    command->setText(program.contains(QLatin1Char(' ')) ? QLatin1Char('"') + program + QLatin1Char('"')
                                                         : program);
}

void CEngineSettingsDialog::accept()
{
    EngineSettings edited;
    if (!readDlgNumber(this, turnMs, EngineSettings::MIN_TURN_MS, EngineSettings::MAX_TURN_MS,
                       edited.turnMs) ||
        !readDlgNumber(this, matchMs, 0, EngineSettings::MAX_MATCH_MS, edited.matchMs))
        return;
    edited.command = command->text().trimmed().toStdString();
    edited.info = info->toPlainText().toStdString();
    std::optional<std::string> problem = edited.problem();
    if (!problem && edited.command.empty())
        problem = "Please enter the command line of the brain.";
    if (problem) {
        ui::showMessage(this, QString::fromStdString(*problem), QString::fromLatin1(DLG_APP_CAPTION),
                        QMessageBox::Warning);
        command->setFocus();
        return;
    }
    record = edited;
    QDialog::accept();
}

} // namespace quintrel
