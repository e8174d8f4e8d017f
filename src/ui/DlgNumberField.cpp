#include "ui/DlgNumberField.h"

#include "ui/UiHooks.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

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
    updateGeometry();
}

void CDlgNumberField::fitWidthToRange()
{
    const QFontMetrics metrics = fontMetrics();
    const int text = std::max(metrics.horizontalAdvance(QString::number(low)),
                              metrics.horizontalAdvance(QString::number(high)));
    // The line edit's cursor and margins, as QSpinBox allows for them.
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize content(text + 2 + 2 * metrics.averageCharWidth(), metrics.height());
    setMinimumWidth(style()->sizeFromContents(QStyle::CT_SpinBox, &option, content, this).width());
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

QSize CDlgNumberField::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(font());
    int width = 0;
    for (int value : {low, high})
        width = std::max(width, metrics.horizontalAdvance(QString::number(value) + QLatin1Char(' ')));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize text(width + 2, lineEdit()->sizeHint().height()); // 2: room for the cursor
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

QSize CDlgNumberField::minimumSizeHint() const
{
    return sizeHint();
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

CDlgNumberField* makeDlgNumberField(QWidget* parent, const char* objectName, int low, int high,
                                    int value)
{
    auto* field = new CDlgNumberField(parent);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setSpinRange(low, high);
    field->setNumber(value);
    return field;
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

} // namespace quintrel
