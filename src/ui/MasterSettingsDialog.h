#pragma once
// "Settings of <name>" for a Master player: its time per move, maximum depth,
// threads and hash memory. The thread field's top is the machine's cores.

#include <QDialog>

#include <array>

namespace quintrel {

class CDlgNumberField;

class CMasterSettingsDialog : public QDialog {
    Q_OBJECT
public:
    struct Record {
        int timeMs = 1000;
        int maxDepth = 99;
        int threads = 1;
        int hashMb = 64;
    };
    // The inclusive range of each field, in the order OK reads them.
    struct Range {
        const char* objectName;
        int low;
        int high;
    };
    static std::array<Range, 4> ranges();

    CMasterSettingsDialog(const Record& record, const QString& playerName, QWidget* parent = nullptr);

    // The record as confirmed; only meaningful after OK.
    Record record() const { return values; }

    void accept() override;

private:
    Record values;
    CDlgNumberField* fields[4] = {};
};

} // namespace quintrel
