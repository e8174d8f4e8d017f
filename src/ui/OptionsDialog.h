#pragma once
// The "Options" dialog: ask before discarding, the Expert, the thinking
// thread's priority and the replay pause. It edits a copy of the values and
// hands them back only on OK; Cancel leaves the caller's values alone.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QSlider>
#include <QStringList>

namespace quintrel {

class COptionsDialog : public QDialog {
    Q_OBJECT
public:
    struct Values {
        bool ask = true;
        int expertChoice = -1; // combo position: the Expert's list position - 1
        int priority = 0;      // 0 Low .. 3 Agressive
        unsigned pause = 2000; // replay pause in milliseconds
    };

    // expertNames: every defined player except the human, in list order.
    COptionsDialog(const Values& values, const QStringList& expertNames,
                   QWidget* parent = nullptr);

    const Values& values() const { return current; }

    void accept() override;

private:
    void showPause(int position);

    Values current;
    QCheckBox* askBox = nullptr;
    QComboBox* expertCombo = nullptr;
    QButtonGroup* priorityGroup = nullptr;
    QSlider* pauseSlider = nullptr;
    QLabel* pauseLabel = nullptr;
};

} // namespace quintrel
