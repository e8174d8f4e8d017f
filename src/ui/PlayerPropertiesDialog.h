#pragma once
// "Player Properties" for the human player: which input device it uses.

#include <QButtonGroup>
#include <QDialog>

namespace quintrel {

class CPlayerPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // device 0 keyboard, 1 mouse, 2 both.
    CPlayerPropertiesDialog(int device, const QString& playerName, QWidget* parent = nullptr);

    int device() const { return deviceValue; }

    void accept() override;

private:
    QButtonGroup* deviceGroup = nullptr;
    int deviceValue;
};

} // namespace quintrel
