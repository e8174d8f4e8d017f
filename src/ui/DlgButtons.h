#pragma once
// Small builders shared by the modal dialogs: the OK/Cancel row and radio
// groups whose buttons carry their value as the group id.

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

namespace quintrel {

// Adds "okText" (object name "1", the default button) and "cancelText"
// (object name "2") to the layout, wired to accept and reject.
void addDlgOkCancel(QDialog* dialog, QBoxLayout* layout, const QString& okText,
                    const QString& cancelText);

// A titled group of radio buttons, ids 0.. in the order given; each button's
// object name is prefix + its id.
QGroupBox* makeDlgRadioGroup(QWidget* parent, const QString& title, const QStringList& texts,
                             const QString& prefix, QButtonGroup*& group);

// Checks the button with this id, or none when there is no such button.
void checkDlgRadio(QButtonGroup* group, int id);

} // namespace quintrel
