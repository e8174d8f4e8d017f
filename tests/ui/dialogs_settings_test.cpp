// The kind settings dialogs driven as a user would: clicks on radio buttons
// and check boxes, typing into number fields, OK and Cancel.

#include <QLabel>

#include "dialogs_harness.h"

#include "players/HumanPlayer.h"
#include "players/LightSettings.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "players/TreeSettings.h"
#include "ui/DlgSettingsEditors.h"
#include "ui/LightSettingsDialog.h"
#include "ui/MediumSettingsDialog.h"
#include "ui/PlayerPropertiesDialog.h"
#include "ui/TreeSettingsDialog.h"

using namespace quintrel;
using namespace dialogs_test;

namespace {

void typeInto(QWidget& w, const char* name, const QString& text)
{
    typeNumber(w, name, text);
}

// Records message boxes only; dialogs here are shown directly.
struct Messages {
    QStringList texts;
    Messages()
    {
        ui::setMessageHook([this](const ui::MessageRequest& r) {
            texts << r.text;
            return QMessageBox::Ok;
        });
    }
    ~Messages() { ui::setMessageHook(nullptr); }
};

} // namespace

class DialogsSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void lightKeepsNormalAwayFromFanatic();
    void lightOpensForbiddenPairAsSensible();
    void mediumAndHumanShowAndReturnTheirValue();
    void treeBranchZeroRoundTrips();
    void treeBranchCheckBoxReadsAndEnables();
    void extensiveRefusesFullDepthAboveTotal();
    void treeRefusesTextAndKeepsDialogOpen();
    void kindsWriteTheirBlockOnlyOnOk();
    void extensiveFieldsShowTheirLargestValues();
};

void DialogsSettingsTest::lightKeepsNormalAwayFromFanatic()
{
    CLightSettingsDialog dialog(1, 1, QStringLiteral("Light"));
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings of Light"));
    auto* fanatic = child<QRadioButton>(dialog, "evaluation2");
    QVERIFY(!fanatic->isEnabled());

    click(dialog, "style2"); // Attacker
    QVERIFY(fanatic->isEnabled());
    click(dialog, "evaluation2");
    QVERIFY(fanatic->isChecked());
    click(dialog, "style1"); // Normal
    QVERIFY(child<QRadioButton>(dialog, "evaluation1")->isChecked());
    QVERIFY(!fanatic->isEnabled());

    click(dialog, "style0"); // Defender: Fanatic may be chosen again
    QVERIFY(fanatic->isEnabled());
    click(dialog, "evaluation2");
    click(dialog, "1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.style(), 0);
    QCOMPARE(dialog.evaluation(), 2);
}

void DialogsSettingsTest::lightOpensForbiddenPairAsSensible()
{
    CLightSettingsDialog dialog(1, 2, QStringLiteral("Odd"));
    dialog.show();
    QVERIFY(child<QRadioButton>(dialog, "evaluation1")->isChecked());
    QCOMPARE(child<QPushButton>(dialog, "1")->text(), QStringLiteral("O&K"));
    click(dialog, "2");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void DialogsSettingsTest::mediumAndHumanShowAndReturnTheirValue()
{
    CMediumSettingsDialog medium(2, QStringLiteral("Medium"));
    medium.show();
    QCOMPARE(medium.windowTitle(), QStringLiteral("Settings of Medium"));
    QVERIFY(child<QRadioButton>(medium, "style2")->isChecked());
    click(medium, "style0");
    click(medium, "1");
    QCOMPARE(medium.style(), 0);

    CPlayerPropertiesDialog human(2, QStringLiteral("Human"));
    human.show();
    QCOMPARE(human.windowTitle(), QStringLiteral("Settings of Human"));
    QVERIFY(child<QRadioButton>(human, "device2")->isChecked());
    QCOMPARE(child<QRadioButton>(human, "device1")->text(), QStringLiteral("&Mouse"));
    click(human, "device1");
    click(human, "1");
    QCOMPARE(human.device(), 1);
}

void DialogsSettingsTest::treeBranchZeroRoundTrips()
{
    CTreeSettingsDialog::Record record;
    record.maxDepth = 3;
    record.maxBranch = 0;
    record.reduction = 3;
    record.aging = record.attack = true;
    CTreeSettingsDialog dialog(record, false, QStringLiteral("MiniMax"));
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings of MiniMax"));
    QVERIFY(!child<QCheckBox>(dialog, "reduceBranch")->isChecked());
    auto* branch = child<CDlgNumberField>(dialog, "maxBranch");
    QCOMPARE(branch->currentText(), QStringLiteral("30"));
    QVERIFY(!branch->isEnabled());
    QVERIFY(!child<QLabel>(dialog, "maxBranchLabel")->isEnabled());
    QVERIFY(!child<CDlgNumberField>(dialog, "quality")->isEnabled());
    QVERIFY(!dialog.findChild<QWidget*>(QStringLiteral("fullDepth")));
    QCOMPARE(child<QCheckBox>(dialog, "aging")->text(), QStringLiteral("Use Aging"));

    click(dialog, "1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const auto out = dialog.record();
    QCOMPARE(out.maxBranch, 0);
    QCOMPARE(out.maxDepth, 3);
    QCOMPARE(out.reduction, 3);
    QVERIFY(out.aging && out.attack);
}

void DialogsSettingsTest::treeBranchCheckBoxReadsAndEnables()
{
    CTreeSettingsDialog dialog(CTreeSettingsDialog::Record{}, false, QStringLiteral("AB"));
    dialog.show();
    click(dialog, "reduceBranch");
    QVERIFY(child<CDlgNumberField>(dialog, "maxBranch")->isEnabled());
    click(dialog, "reduction4");
    QVERIFY(child<CDlgNumberField>(dialog, "quality")->isEnabled());
    typeInto(dialog, "quality", QStringLiteral("5"));
    click(dialog, "ordering3");
    click(dialog, "1");
    const auto out = dialog.record();
    QCOMPARE(out.maxBranch, 30);
    QCOMPARE(out.reduction, 4);
    QCOMPARE(out.quality, 5);
    QCOMPARE(out.ordering, 3);
}

void DialogsSettingsTest::extensiveRefusesFullDepthAboveTotal()
{
    Messages messages;
    CTreeSettingsDialog::Record record;
    record.maxDepth = 7;
    record.fullDepth = 4;
    record.weighted = true;
    CTreeSettingsDialog dialog(record, true, QStringLiteral("Extensive"));
    dialog.show();
    QVERIFY(child<QCheckBox>(dialog, "weighted")->isChecked());
    QCOMPARE(child<QLabel>(dialog, "maxBranchLabel")->text(),
             QStringLiteral("Maximal branch factor"));
    typeInto(dialog, "fullDepth", QStringLiteral("8"));
    click(dialog, "1");
    QCOMPARE(messages.texts, QStringList{QStringLiteral("Please enter an integer between 1 and 7.")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.focusWidget(), child<CDlgNumberField>(dialog, "fullDepth"));

    typeInto(dialog, "fullDepth", QStringLiteral("7"));
    click(dialog, "1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.record().fullDepth, 7);
    QVERIFY(dialog.record().weighted);
}

void DialogsSettingsTest::treeRefusesTextAndKeepsDialogOpen()
{
    Messages messages;
    CTreeSettingsDialog dialog(CTreeSettingsDialog::Record{}, false, QStringLiteral("MiniMax"));
    dialog.show();
    // The branch value is read first, even while its field is disabled.
    typeInto(dialog, "maxDepth", QStringLiteral("41"));
    click(dialog, "1");
    typeInto(dialog, "maxDepth", QStringLiteral("deep"));
    click(dialog, "1");
    QCOMPARE(messages.texts, (QStringList{QStringLiteral("Please enter an integer between 1 and 40."),
                                          QStringLiteral("Please enter an integer.")}));
    QVERIFY(dialog.isVisible());
}

void DialogsSettingsTest::kindsWriteTheirBlockOnlyOnOk()
{
    installSettingsEditors();
    PlayerDefinition miniMax = PlayerKindCatalogue::entry(PlayerKindCatalogue::MINIMAX);
    const PlayerSettings defaults = miniMax.settings;
    Script script;
    // Cancel after the check box handler has read every control.
    script.then([](QDialog& d) {
        typeNumber(d, "maxDepth", QStringLiteral("9"));
        click(d, "reduceBranch");
        click(d, "2");
    });
    QVERIFY(!miniMax.runSettingsDialog());
    QVERIFY(miniMax.settings == defaults);

    script.then([](QDialog& d) {
        click(d, "reduceBranch");
        click(d, "1");
    });
    QVERIFY(miniMax.runSettingsDialog());
    QCOMPARE(miniMax.settings.tag, std::string("CMiniMaxPlayer"));
    QCOMPARE(miniMax.settings.size(), 28u);
    QCOMPARE(TreeSettings::fromBlock(miniMax.settings).maxBranch, 30u);
    QCOMPARE(TreeSettings::fromBlock(miniMax.settings).maxDepth, 3u);

    PlayerDefinition extensive = PlayerKindCatalogue::entry(PlayerKindCatalogue::EXTENSIVE);
    script.then([](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Settings of Extensive"));
        typeNumber(d, "fullDepth", QStringLiteral("7"));
        click(d, "weighted");
        click(d, "1");
    });
    QVERIFY(extensive.runSettingsDialog());
    const TreeSettings ext = TreeSettings::fromBlock(extensive.settings);
    QCOMPARE(extensive.settings.size(), 36u);
    QCOMPARE(ext.fullDepth, 7);
    QCOMPARE(ext.weighted, 0);
    QCOMPARE(ext.reduction, 4);

    PlayerDefinition light = PlayerKindCatalogue::entry(PlayerKindCatalogue::LIGHT);
    script.then([](QDialog& d) {
        click(d, "style0");
        click(d, "evaluation2");
        click(d, "2");
    });
    QVERIFY(!light.runSettingsDialog());
    QCOMPARE(LightSettings::fromBlock(light.settings), LightSettings{});

    PlayerDefinition human = PlayerKindCatalogue::entry(PlayerKindCatalogue::HUMAN);
    script.then([](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Settings of Human"));
        click(d, "device0");
        click(d, "1");
    });
    QVERIFY(human.runSettingsDialog());
    QCOMPARE(human.settings.size(), 4u);
    QCOMPARE(human.settings.int32At(0), 0);
    QVERIFY(script.done());
}

void DialogsSettingsTest::extensiveFieldsShowTheirLargestValues()
{
    CTreeSettingsDialog::Record record;
    record.maxDepth = 40;
    record.fullDepth = 30;
    record.maxBranch = 100;
    CTreeSettingsDialog dialog(record, true, QStringLiteral("Extensive"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(clippedTexts(dialog), QStringList());
}

QTEST_MAIN(DialogsSettingsTest)
#include "dialogs_settings_test.moc"
