#pragma once
// "Who Plays": chooses the defined player for side O and for side X. Its
// "Settings..." buttons tune the database's definitions directly, so those
// changes stay even when the dialog is cancelled.

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace quintrel {

class CPlayer;
class CPlayerDatabase;
class PlayerSelection;

class CWhoPlaysDialog : public QDialog {
    Q_OBJECT
public:
    // indexO/indexX: the list positions shown first; -1 for none.
    CWhoPlaysDialog(CPlayerDatabase& database, int indexO, int indexX, QWidget* parent = nullptr);

    int indexO() const { return chosenO; }
    int indexX() const { return chosenX; }

private:
    void readSelections();
    void refresh();
    void editSettings(int index);
    bool insideList(int index) const;

    CPlayerDatabase& database;
    int chosenO;
    int chosenX;
    QComboBox* comboO = nullptr;
    QComboBox* comboX = nullptr;
    QLabel* typeO = nullptr;
    QLabel* typeX = nullptr;
    QLabel* descriptionO = nullptr;
    QLabel* descriptionX = nullptr;
    QPushButton* settingsO = nullptr;
    QPushButton* settingsX = nullptr;
};

// The list position of each side's player in the selection (-1 when it is
// none of the selection's or the database's own players).
int whoPlaysPosition(const PlayerSelection& players, const CPlayer* player);

} // namespace quintrel
