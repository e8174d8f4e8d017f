#pragma once
// "Player Settings" for the tree players. Two layouts: MiniMax/AlphaBeta, and
// Extensive, which adds the full search depth and the "Weighted" switch.

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>

namespace quintrel {

class CDlgNumberField;

class CTreeSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The fields of the tree settings record; maxBranch 0 means "all".
    struct Record {
        int maxDepth = 4;
        int maxBranch = 0;
        int ordering = 0;
        int reduction = 0;
        int quality = 2;
        bool aging = false;
        bool attack = false;
        int fullDepth = 4; // Extensive only
        bool weighted = false; // Extensive only
    };

    CTreeSettingsDialog(const Record& record, bool extensive, const QString& playerName,
                        QWidget* parent = nullptr);

    // The record as confirmed; only meaningful after OK.
    Record record() const;

    void accept() override;

private:
    bool readControls();
    void onReduceBranchClicked();
    void enableBranchControls(bool on);

    bool extensive;
    // Dialog members, as the controls exchange them.
    int maxDepth = 4;
    int fullDepth = 4;
    bool reduceBranch = false;
    int maxBranch = 30;
    int reduction = 0;
    int ordering = 0;
    int quality = 2;
    bool aging = false;
    bool attack = false;
    bool weighted = false;

    CDlgNumberField* maxDepthField = nullptr;
    CDlgNumberField* fullDepthField = nullptr;
    QCheckBox* reduceBranchBox = nullptr;
    QLabel* maxBranchLabel = nullptr;
    CDlgNumberField* maxBranchField = nullptr;
    QCheckBox* agingBox = nullptr;
    QCheckBox* attackBox = nullptr;
    QCheckBox* weightedBox = nullptr;
    QButtonGroup* reductionGroup = nullptr;
    CDlgNumberField* qualityField = nullptr;
    QButtonGroup* orderingGroup = nullptr;
};

} // namespace quintrel
