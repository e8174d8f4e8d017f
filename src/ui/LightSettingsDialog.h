#pragma once
// "Player Properties" for a Light player: evaluation and playing style.
// Keeps out the one forbidden pair, Normal with Fanatic.

#include <QButtonGroup>
#include <QDialog>

namespace quintrel {

class CLightSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // Values as in the Light record: style 0 Defender, 1 Normal, 2 Attacker;
    // evaluation 0 Primitive, 1 Sensible, 2 Fanatic.
    CLightSettingsDialog(int style, int evaluation, const QString& playerName,
                         QWidget* parent = nullptr);

    int style() const { return styleValue; }
    int evaluation() const { return evaluationValue; }

    void accept() override;

private:
    void readButtons();
    void onStyleClicked(int id);

    QButtonGroup* evaluationGroup = nullptr;
    QButtonGroup* styleGroup = nullptr;
    int styleValue;
    int evaluationValue;
};

} // namespace quintrel
