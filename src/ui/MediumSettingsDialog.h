#pragma once
// "Player Properties" for a Medium player: the playing style only.

#include <QButtonGroup>
#include <QDialog>

namespace quintrel {

class CMediumSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // style 0 Defender, 1 Normal, 2 Attacker.
    CMediumSettingsDialog(int style, const QString& playerName, QWidget* parent = nullptr);

    int style() const { return styleValue; }

    void accept() override;

private:
    QButtonGroup* styleGroup = nullptr;
    int styleValue;
};

} // namespace quintrel
