#pragma once
// A number field with spin buttons for the modal dialogs, and the reading
// rule that refuses bad input with the standard messages.

#include <QAbstractSpinBox>
#include <QString>

namespace quintrel {

// Caption of the standard number-field messages.
inline constexpr const char* DLG_APP_CAPTION = "Quintrel++";

// A number field with spin buttons. Unlike QSpinBox it keeps whatever the
// user typed, so that reading it can refuse an out-of-range or non-numeric
// value with the standard message instead of silently clamping it.
class CDlgNumberField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit CDlgNumberField(QWidget* parent = nullptr);

    void setSpinRange(int low, int high);
    void setNumber(int value);
    QString currentText() const;

    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;

private:
    int low = 0;
    int high = 0;
};

// A field named `name` for low..high showing value.
CDlgNumberField* makeDlgNumberField(QWidget* parent, const char* name, int low, int high, int value);

// Reads an integer in low..high from the field. On failure shows "Please enter
// an integer." or "Please enter an integer between %1 and %2.", puts the focus
// back on the field and answers false.
bool readDlgNumber(QWidget* dialog, CDlgNumberField* field, int low, int high, int& value);

} // namespace quintrel
