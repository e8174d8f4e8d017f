#include "ui/NewPlayerDialog.h"

#include "ui/DlgButtons.h"
#include "ui/EditPlayersDialog.h"
#include "ui/UiHooks.h"

#include <QFormLayout>
#include <QVBoxLayout>

namespace quintrel {

CNewPlayerDialog::CNewPlayerDialog(const CEditPlayersDialog& editPlayers, int classIndex,
                                   QWidget* parent)
    : QDialog(parent), owner(editPlayers), chosenClass(classIndex)
{
    setObjectName(QStringLiteral("NewPlayerDialog"));
    setWindowTitle(QStringLiteral("New Player"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    classCombo = new QComboBox(this);
    classCombo->setObjectName(QStringLiteral("1018"));
    classCombo->addItems(owner.kindClassNames());
    form->addRow(QStringLiteral("Class"), classCombo);
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("1014"));
    form->addRow(QStringLiteral("Name"), nameEdit);
    layout->addLayout(form);
    addDlgOkCancel(this, layout, QStringLiteral("OK"), QStringLiteral("Cancel"));

    classCombo->setCurrentIndex(chosenClass);
    nameEdit->setFocus();
}

void CNewPlayerDialog::accept()
{
    const QString name = nameEdit->text();
    if (name.isEmpty() || !owner.isNameUnique(name.toStdString(), -1)) {
        ui::showMessage(this, QString::fromLatin1(TEXT_NAME_NEEDED), QStringLiteral("New Player"),
                        QMessageBox::Warning);
        nameEdit->setFocus();
        return;
    }
    if (classCombo->currentIndex() < 0) {
        ui::showMessage(this, QStringLiteral("Please choose a class first."),
                        QStringLiteral("New Player"), QMessageBox::Warning);
        classCombo->setFocus();
        return;
    }
    chosenName = name;
    chosenClass = classCombo->currentIndex();
    QDialog::accept();
}

} // namespace quintrel
