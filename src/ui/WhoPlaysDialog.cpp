#include "ui/WhoPlaysDialog.h"

#include "game/PlayerSelection.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/DlgButtons.h"
#include "ui/DlgSeams.h"
#include "ui/UiHooks.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quintrel {

namespace {

QGroupBox* makeSideBox(QWidget* parent, const QString& title, const char* comboId,
                       const char* typeId, const char* descriptionId, const char* settingsId,
                       QComboBox*& combo, QLabel*& type, QLabel*& description,
                       QPushButton*& settings)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QFormLayout(box);
    combo = new QComboBox(box);
    combo->setObjectName(QString::fromLatin1(comboId));
    layout->addRow(combo);
    type = new QLabel(box);
    type->setObjectName(QString::fromLatin1(typeId));
    layout->addRow(QStringLiteral("Type"), type);
    description = new QLabel(box);
    description->setObjectName(QString::fromLatin1(descriptionId));
    description->setWordWrap(true);
    layout->addRow(QStringLiteral("Description"), description);
    settings = new QPushButton(QStringLiteral("Settings..."), box);
    settings->setObjectName(QString::fromLatin1(settingsId));
    settings->setAutoDefault(false);
    layout->addRow(settings);
    return box;
}

void fillNames(QComboBox* combo, const CPlayerDatabase& database)
{
    combo->clear();
    for (const std::string& name : database.names(true))
        combo->addItem(QString::fromStdString(name));
}

} // namespace

CWhoPlaysDialog::CWhoPlaysDialog(CPlayerDatabase& db, int indexO, int indexX, QWidget* parent)
    : QDialog(parent), database(db), chosenO(indexO), chosenX(indexX)
{
    setObjectName(QStringLiteral("WhoPlaysDialog"));
    setWindowTitle(QStringLiteral("Who Plays"));
    auto* layout = new QVBoxLayout(this);
    auto* sides = new QHBoxLayout;
    sides->addWidget(makeSideBox(this, QStringLiteral("Player O"), "1002", "1005", "1007", "1050",
                                 comboO, typeO, descriptionO, settingsO));
    sides->addWidget(makeSideBox(this, QStringLiteral("Player X"), "1003", "1006", "1008", "1051",
                                 comboX, typeX, descriptionX, settingsX));
    layout->addLayout(sides);

    auto* row = new QHBoxLayout;
    auto* switchSides = new QPushButton(QStringLiteral("&Switch Sides"), this);
    switchSides->setObjectName(QStringLiteral("1004"));
    switchSides->setAutoDefault(false);
    row->addWidget(switchSides);
    layout->addLayout(row);
    addDlgOkCancel(this, layout, QStringLiteral("O&K"), QStringLiteral("&Cancel"));

    fillNames(comboO, database);
    fillNames(comboX, database);
    refresh();

    connect(comboO, &QComboBox::currentIndexChanged, this, [this] { readSelections(); refresh(); });
    connect(comboX, &QComboBox::currentIndexChanged, this, [this] { readSelections(); refresh(); });
    connect(switchSides, &QPushButton::clicked, this, [this] {
        readSelections();
        std::swap(chosenO, chosenX);
        refresh();
    });
    connect(settingsO, &QPushButton::clicked, this, [this] {
        readSelections();
        editSettings(chosenO);
    });
    connect(settingsX, &QPushButton::clicked, this, [this] {
        readSelections();
        editSettings(chosenX);
    });
}

bool CWhoPlaysDialog::insideList(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < database.count();
}

void CWhoPlaysDialog::readSelections()
{
    chosenO = comboO->currentIndex();
    chosenX = comboX->currentIndex();
}

void CWhoPlaysDialog::refresh()
{
    const auto show = [this](int index, QComboBox* combo, QLabel* type, QLabel* description,
                             QPushButton* settings) {
        const PlayerDefinition* d =
            insideList(index) ? database.definition(static_cast<std::uint32_t>(index)) : nullptr;
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(d ? index : -1);
        type->setText(d ? QString::fromStdString(d->className()) : QString());
        description->setText(d ? QString::fromStdString(d->description) : QString());
        settings->setEnabled(d && d->hasSettingsDialog == 1);
    };
    show(chosenO, comboO, typeO, descriptionO, settingsO);
    show(chosenX, comboX, typeX, descriptionX, settingsX);
    // A description may wrap to more lines than the last one: the dialog grows to show it whole.
    QLayout* l = layout();
    if (!l || !isVisible())
        return;
    l->invalidate();
    l->activate();
    const int needed = l->hasHeightForWidth() ? l->totalHeightForWidth(width()) : sizeHint().height();
    if (needed > height())
        resize(width(), needed);
}

void CWhoPlaysDialog::editSettings(int index)
{
    if (!insideList(index))
        return;
    PlayerDefinition* d = database.definition(static_cast<std::uint32_t>(index));
    if (d->hasSettingsDialog == 1 && d->editSettings)
        d->runSettingsDialog();
}

int whoPlaysPosition(const PlayerSelection& players, const CPlayer* player)
{
    if (!player)
        return -1;
    if (player == players.firstPlayer.get())
        return players.firstIndex;
    if (player == players.secondPlayer.get())
        return players.secondIndex;
    const CPlayerDatabase& db = *players.database;
    if (player == db.humanPlayer())
        return db.humanIndex();
    if (player == db.expertPlayer())
        return static_cast<int>(db.expertIndex());
    return -1;
}

bool runWhoPlaysDialog(QWidget* parent, PlayerSelection& players)
{
    CPlayerDatabase& db = *players.database;
    CWhoPlaysDialog dialog(db, whoPlaysPosition(players, players.playerO),
                           whoPlaysPosition(players, players.playerX), parent);
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return false;

    const int c = dialog.indexO();
    const int d = dialog.indexX();
    if (c == players.secondIndex && d == players.firstIndex) {
        std::swap(players.firstPlayer, players.secondPlayer);
        std::swap(players.firstIndex, players.secondIndex);
    } else {
        const auto replace = [&db](int chosen, std::unique_ptr<CPlayer>& player, int& index) {
            if (chosen < 0 || chosen == index || static_cast<std::size_t>(chosen) >= db.count())
                return;
            if (auto made = db.createPlayer(static_cast<std::uint32_t>(chosen))) {
                player = std::move(made);
                index = chosen;
            }
        };
        replace(c, players.firstPlayer, players.firstIndex);
        replace(d, players.secondPlayer, players.secondIndex);
    }
    players.playerO = players.firstPlayer.get();
    players.playerX = players.secondPlayer.get();
    return true;
}

} // namespace quintrel
