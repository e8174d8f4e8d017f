#include "ui/DlgNumberField.h"

#include "ui/UiHooks.h"

#include <QLineEdit>

#include <algorithm>

namespace quintrel {

CDlgNumberField::CDlgNumberField(QWidget* parent) : QAbstractSpinBox(parent)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
}

void CDlgNumberField::setSpinRange(int lowValue, int highValue)
{
    low = lowValue;
    high = highValue;
}

void CDlgNumberField::setNumber(int value)
{
    lineEdit()->setText(QString::number(value));
}

QString CDlgNumberField::currentText() const
{
    return text();
}

void CDlgNumberField::stepBy(int steps)
{
    bool ok = false;
    int value = text().trimmed().toInt(&ok);
    if (!ok)
        value = low;
    else
        value = std::clamp(value + steps, low, high);
    setNumber(value);
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled CDlgNumberField::stepEnabled() const
{
    if (!isEnabled())
        return StepNone;
    bool ok = false;
    const int value = text().trimmed().toInt(&ok);
    if (!ok)
        return StepUpEnabled | StepDownEnabled;
    StepEnabled flags = StepNone;
    if (value < high)
        flags |= StepUpEnabled;
    if (value > low)
        flags |= StepDownEnabled;
    return flags;
}

bool readDlgNumber(QWidget* dialog, CDlgNumberField* field, int low, int high, int& value)
{
    bool ok = false;
    const int read = field->currentText().trimmed().toInt(&ok);
    QString message;
    if (!ok)
        message = QStringLiteral("Please enter an integer.");
    else if (read < low || read > high)
        message = QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high);
    if (!message.isEmpty()) {
        ui::showMessage(dialog, message, QString::fromLatin1(DLG_APP_CAPTION),
                       QMessageBox::Warning);
        field->setFocus();
        field->selectAll();
        return false;
    }
    value = read;
    return true;
}

CDlgNumberField* makeDlgNumberField(QWidget* parent, const char* name, int low, int high, int value)
{
    auto* field = new CDlgNumberField(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setSpinRange(low, high);
    field->setNumber(value);
    return field;
}

} // namespace quintrel
