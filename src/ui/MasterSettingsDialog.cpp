#include "ui/MasterSettingsDialog.h"

#include "players/MasterSettings.h"
#include "ui/DlgButtons.h"
#include "ui/DlgNumberField.h"

#include <QFormLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace quintrel {

std::array<CMasterSettingsDialog::Range, 4> CMasterSettingsDialog::ranges()
{
    using M = MasterSettings;
    return {{{"timeMs", M::MIN_TIME_MS, M::MAX_TIME_MS},
             {"maxDepth", 1, M::MAX_DEPTH},
             {"threads", 1, M::machineCores()},
             {"hashMb", M::MIN_HASH_MB, M::MAX_HASH_MB}}};
}

CMasterSettingsDialog::CMasterSettingsDialog(const Record& record, const QString& playerName,
                                             QWidget* parent)
    : QDialog(parent), values(record)
{
    setObjectName(QStringLiteral("MasterSettingsDialog"));
    const auto limits = ranges();
    // A list made on a machine with more cores shows what this one runs.
    values.threads = std::clamp(values.threads, limits[2].low, limits[2].high);
    const int shown[4] = {values.timeMs, values.maxDepth, values.threads, values.hashMb};
    const QString labels[4] = {QStringLiteral("&Time per move (ms)"), QStringLiteral("Maximal &depth"),
                               QStringLiteral("T&hreads"), QStringLiteral("Hash &memory (MB)")};

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < limits.size(); ++i) {
        fields[i] = makeDlgNumberField(this, limits[i].objectName, limits[i].low, limits[i].high,
                                       shown[i]);
        fields[i]->fitWidthToRange();
        form->addRow(labels[i], fields[i]);
    }
    layout->addLayout(form);
    addDlgOkCancel(this, layout, QStringLiteral("OK"), QStringLiteral("Cancel"));
    setWindowTitle(QStringLiteral("Settings of ") + playerName);
}

void CMasterSettingsDialog::accept()
{
    const auto limits = ranges();
    int read[4] = {};
    for (std::size_t i = 0; i < limits.size(); ++i)
        if (!readDlgNumber(this, fields[i], limits[i].low, limits[i].high, read[i]))
            return;
    values = Record{read[0], read[1], read[2], read[3]};
    QDialog::accept();
}

} // namespace quintrel
