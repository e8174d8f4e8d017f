#include "ui/DlgButtons.h"

#include <QDialog>
#include <QVBoxLayout>

namespace quintrel {

void addDlgOkCancel(QDialog* dialog, QBoxLayout* layout, const QString& okText,
                    const QString& cancelText)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(okText, dialog);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* cancel = new QPushButton(cancelText, dialog);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setAutoDefault(false);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

QGroupBox* makeDlgRadioGroup(QWidget* parent, const QString& title, const QStringList& texts,
                             const QString& prefix, QButtonGroup*& group)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    group->setExclusive(true);
    for (int id = 0; id < texts.size(); ++id) {
        auto* button = new QRadioButton(texts[id], box);
        button->setObjectName(prefix + QString::number(id));
        group->addButton(button, id);
        layout->addWidget(button);
    }
    return box;
}

void checkDlgRadio(QButtonGroup* group, int id)
{
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group refuses to uncheck its last button directly.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace quintrel
