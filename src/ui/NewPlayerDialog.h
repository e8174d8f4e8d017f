#pragma once
// "New Player": the class and the name of a definition to add in Edit
// Players. The name must be non-empty and unique in Edit Players' working
// list; that is checked before the class.

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

namespace quintrel {

class CEditPlayersDialog;

class CNewPlayerDialog : public QDialog {
    Q_OBJECT
public:
    CNewPlayerDialog(const CEditPlayersDialog& owner, int classIndex, QWidget* parent = nullptr);

    QString name() const { return chosenName; }
    int classIndex() const { return chosenClass; }

    void accept() override;

private:
    const CEditPlayersDialog& owner;
    QString chosenName;
    int chosenClass;
    QLineEdit* nameEdit = nullptr;
    QComboBox* classCombo = nullptr;
};

} // namespace quintrel
