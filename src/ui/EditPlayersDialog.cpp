#include "ui/EditPlayersDialog.h"

#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "ui/DlgButtons.h"
#include "ui/NewPlayerDialog.h"
#include "ui/UiHooks.h"

#include <QApplication>
#include <QFormLayout>
#include <QGroupBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace quintrel {

namespace {
constexpr int LAST_BUILT_IN = PlayerKindCatalogue::FIXED_KIND_COUNT - 1;
} // namespace

CEditPlayersDialog::CEditPlayersDialog(const std::vector<PlayerDefinition>& list, int firstIndex,
                                       int secondIndex, std::uint32_t expertIndex,
                                       QWidget* parent)
    : QDialog(parent), working(list), first(firstIndex), second(secondIndex), expert(expertIndex)
{
    setObjectName(QStringLiteral("EditPlayersDialog"));
    setWindowTitle(QStringLiteral("Edit Players"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;

    auto* available = new QGroupBox(QStringLiteral("Available players"), this);
    auto* availableLayout = new QVBoxLayout(available);
    listBox = new QListWidget(available);
    listBox->setObjectName(QStringLiteral("1009"));
    availableLayout->addWidget(listBox);
    auto* listButtons = new QHBoxLayout;
    addButton = new QPushButton(QStringLiteral("&Add New..."), available);
    addButton->setObjectName(QStringLiteral("1011"));
    addButton->setAutoDefault(false);
    removeButton = new QPushButton(QStringLiteral("&Remove"), available);
    removeButton->setObjectName(QStringLiteral("1012"));
    removeButton->setAutoDefault(false);
    listButtons->addWidget(addButton);
    listButtons->addWidget(removeButton);
    availableLayout->addLayout(listButtons);
    columns->addWidget(available);

    auto* properties = new QGroupBox(QStringLiteral("Properties"), this);
    auto* form = new QFormLayout(properties);
    nameEdit = new QLineEdit(properties);
    nameEdit->setObjectName(QStringLiteral("1014"));
    form->addRow(QStringLiteral("Name"), nameEdit);
    classEdit = new QLineEdit(properties);
    classEdit->setObjectName(QStringLiteral("1013"));
    classEdit->setReadOnly(true);
    form->addRow(QStringLiteral("Class"), classEdit);
    descriptionEdit = new QPlainTextEdit(properties);
    descriptionEdit->setObjectName(QStringLiteral("1010"));
    form->addRow(QStringLiteral("Description"), descriptionEdit);
    settingsButton = new QPushButton(QStringLiteral("&Settings..."), properties);
    settingsButton->setObjectName(QStringLiteral("1015"));
    settingsButton->setAutoDefault(false);
    form->addRow(settingsButton);
    columns->addWidget(properties);
    layout->addLayout(columns);
    addDlgOkCancel(this, layout, QStringLiteral("O&K"), QStringLiteral("Cancel"));

    for (const PlayerDefinition& d : working)
        listBox->addItem(QString::fromStdString(d.name));
    selectRow(selected);
    showFields();

    connect(listBox, &QListWidget::currentRowChanged, this,
            &CEditPlayersDialog::onSelectionChanged);
    connect(addButton, &QPushButton::clicked, this, &CEditPlayersDialog::addNew);
    connect(removeButton, &QPushButton::clicked, this, &CEditPlayersDialog::removeSelected);
    connect(settingsButton, &QPushButton::clicked, this, &CEditPlayersDialog::editSettings);
}

bool CEditPlayersDialog::isNameUnique(const std::string& name, int skip) const
{
    for (std::size_t i = 0; i < working.size(); ++i)
        if (static_cast<int>(i) != skip && working[i].name == name)
            return false;
    return true;
}

QStringList CEditPlayersDialog::kindClassNames() const
{
    QStringList names;
    for (std::size_t i = 0; i <= LAST_BUILT_IN && i < working.size(); ++i)
        names << QString::fromStdString(working[i].className());
    for (int k = PlayerKindCatalogue::FIXED_KIND_COUNT; k < PlayerKindCatalogue::KIND_COUNT; ++k)
        names << QString::fromStdString(PlayerKindCatalogue::entry(k).className());
    return names;
}

// A fixed kind is copied from its place in the list, as the user tuned it; a
// later kind from its first player in the list, else from the catalogue.
PlayerDefinition CEditPlayersDialog::kindTemplate(int classIndex) const
{
    if (classIndex <= LAST_BUILT_IN)
        return working[static_cast<std::size_t>(classIndex)];
    const PlayerDefinition& kind = PlayerKindCatalogue::entry(classIndex);
    for (const PlayerDefinition& d : working)
        if (d.className() == kind.className())
            return d;
    return kind;
}

void CEditPlayersDialog::selectRow(int row)
{
    const QSignalBlocker quiet(listBox);
    listBox->setCurrentRow(row);
}

void CEditPlayersDialog::showFields()
{
    const bool inside = selected >= 0 && static_cast<std::size_t>(selected) < working.size();
    const PlayerDefinition* d = inside ? &working[static_cast<std::size_t>(selected)] : nullptr;
    nameEdit->setText(d ? QString::fromStdString(d->name) : QString());
    classEdit->setText(d ? QString::fromStdString(d->className()) : QString());
    descriptionEdit->setPlainText(d ? QString::fromStdString(d->description) : QString());
    removeButton->setEnabled(selected > LAST_BUILT_IN);
    settingsButton->setEnabled(d && d->hasSettingsDialog == 1);
}

// Takes the typed name and description into the selected definition. A bad
// name abandons whatever asked for the read and keeps that definition selected.
bool CEditPlayersDialog::readFields()
{
    const int p = selected;
    if (p < 0 || static_cast<std::size_t>(p) >= working.size())
        return true;
    const std::string name = nameEdit->text().toStdString();
    if (name.empty() || !isNameUnique(name, p)) {
        selectRow(p);
        ui::showMessage(this, QString::fromLatin1(TEXT_NAME_NEEDED), QStringLiteral("Players"),
                        QMessageBox::Warning);
        nameEdit->setFocus();
        return false;
    }
    PlayerDefinition& d = working[static_cast<std::size_t>(p)];
    d.name = name;
    d.description = descriptionEdit->toPlainText().toStdString();
    if (QListWidgetItem* line = listBox->item(p); line && line->text() != nameEdit->text())
        line->setText(nameEdit->text());
    return true;
}

void CEditPlayersDialog::onSelectionChanged(int row)
{
    if (!readFields())
        return;
    selected = row;
    showFields();
}

void CEditPlayersDialog::addNew()
{
    if (!readFields())
        return;
    const int preselected = selected <= LAST_BUILT_IN ? selected : 0;
    CNewPlayerDialog dialog(*this, preselected, this);
    if (ui::runDialog(dialog) != QDialog::Accepted)
        return;
    PlayerDefinition made = kindTemplate(dialog.classIndex());
    made.name = dialog.name().toStdString();
    made.description.clear();
    working.push_back(std::move(made));
    listBox->addItem(dialog.name());
    selected = static_cast<int>(working.size()) - 1;
    selectRow(selected);
    showFields();
}

void CEditPlayersDialog::removeSelected()
{
    const int s = selected;
    if (s <= LAST_BUILT_IN || static_cast<std::size_t>(s) >= working.size())
        return;
    if (s == first || s == second) {
        ui::showMessage(this, QString::fromLatin1(TEXT_IN_CURRENT_GAME), QStringLiteral("Sorry"),
                        QMessageBox::Critical);
        return;
    }
    if (static_cast<std::uint32_t>(s) == expert) {
        ui::showMessage(this, QString::fromLatin1(TEXT_USED_AS_EXPERT), QStringLiteral("Sorry"),
                        QMessageBox::Critical);
        return;
    }
    if (first > s)
        --first;
    if (second > s)
        --second;
    if (expert != CPlayerDatabase::NONE && expert > static_cast<std::uint32_t>(s))
        --expert;
    working.erase(working.begin() + s);
    {
        const QSignalBlocker quiet(listBox);
        delete listBox->takeItem(s);
    }
    selected = s - 1;
    selectRow(selected);
    showFields();
}

void CEditPlayersDialog::editSettings()
{
    if (selected < 0 || static_cast<std::size_t>(selected) >= working.size())
        return;
    PlayerDefinition& d = working[static_cast<std::size_t>(selected)];
    if (d.hasSettingsDialog == 1 && d.editSettings)
        d.runSettingsDialog();
}

void CEditPlayersDialog::accept()
{
    if (readFields())
        QDialog::accept();
}

void installEditPlayersDialog(CPlayerDatabase& database)
{
    database.setEditPlayersDialog([](std::vector<PlayerDefinition>& workingList, int& firstIndex,
                                     int& secondIndex, std::uint32_t& expertIndex) {
        QWidget* parent = QApplication::activeModalWidget();
        if (!parent)
            parent = QApplication::activeWindow();
        CEditPlayersDialog dialog(workingList, firstIndex, secondIndex, expertIndex, parent);
        if (ui::runDialog(dialog) != QDialog::Accepted)
            return false;
        workingList = dialog.workingList();
        firstIndex = dialog.firstIndex();
        secondIndex = dialog.secondIndex();
        expertIndex = dialog.expertIndex();
        return true;
    });
}

} // namespace quintrel
