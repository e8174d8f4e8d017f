#pragma once
// "Settings of <player>" for an Engine player: the brain's command line (with
// a Browse... button for the program), its time per move and for the match,
// and extra INFO lines for the brain's own options.

#include "players/EngineSettings.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace quintrel {

class CDlgNumberField;

class CEngineSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CEngineSettingsDialog(const EngineSettings& settings, const QString& playerName,
                          QWidget* parent = nullptr);

    const EngineSettings& settings() const { return record; }

    void accept() override;

private:
    void browse();

    QLineEdit* command = nullptr;
    CDlgNumberField* turnMs = nullptr;
    CDlgNumberField* matchMs = nullptr;
    QPlainTextEdit* info = nullptr;
    EngineSettings record;
};

} // namespace quintrel
