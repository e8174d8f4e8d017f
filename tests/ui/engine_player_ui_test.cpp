// The Engine player in the window: its settings dialog driven as a user
// would, refusing what the record cannot hold, and writing its block on OK.

#include "dialogs_harness.h"

#include <QPlainTextEdit>

#include "players/EngineSettings.h"
#include "players/PlayerDefinition.h"
#include "players/PlayerKindCatalogue.h"
#include "ui/DlgSettingsEditors.h"

using namespace quintrel;
using namespace dialogs_test;

class EnginePlayerUiTest : public QObject {
    Q_OBJECT
private slots:
    void dialogRefusesBadValuesAndWritesTheBlockOnOk();
};

void EnginePlayerUiTest::dialogRefusesBadValuesAndWritesTheBlockOnOk()
{
    installSettingsEditors();
    static const PlayerKind kind{EngineSettings::CLASS_NAME, EngineSettings::MIN_SIZE, nullptr};
    PlayerDefinition engine;
    engine.kind = &kind;
    engine.name = QStringLiteral("Bovo").toStdString();
    initEngineSettings(engine.settings, EngineSettings::CLASS_NAME);
    engine.editSettings = runSettingsEditor;
    const PlayerSettings defaults = engine.settings;

    Script script;
    script.then([](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Settings of Bovo"));
        QCOMPARE(child<QLineEdit>(d, "command")->text(), QString());
        QCOMPARE(child<CDlgNumberField>(d, "turnMs")->currentText(), QStringLiteral("1000"));
        click(d, "1"); // no command line yet
        typeText(d, "command", QStringLiteral("/opt/brains/pbrain-bovo --level 3"));
        typeNumber(d, "turnMs", QStringLiteral("99"));
        click(d, "1");
        typeNumber(d, "turnMs", QStringLiteral("2500"));
        typeNumber(d, "matchMs", QStringLiteral("-1"));
        click(d, "1");
        QVERIFY(d.isVisible());
        click(d, "2");
    });
    QVERIFY(!engine.runSettingsDialog());
    QVERIFY(engine.settings == defaults);
    QCOMPARE(script.texts(),
             (QStringList{QStringLiteral("Please enter the command line of the brain."),
                          QStringLiteral("Please enter an integer between 100 and 600000."),
                          QStringLiteral("Please enter an integer between 0 and 86400000.")}));

    script.then([](QDialog& d) {
        typeText(d, "command", QStringLiteral("/opt/brains/pbrain-bovo --level 3"));
        typeNumber(d, "turnMs", QStringLiteral("2500"));
        typeNumber(d, "matchMs", QStringLiteral("600000"));
        auto* info = child<QPlainTextEdit>(d, "info");
        info->setFocus();
        QTest::keyClicks(info, QStringLiteral("max_depth 8"));
        click(d, "1");
    });
    QVERIFY(engine.runSettingsDialog());
    const EngineSettings stored = EngineSettings::fromBlock(engine.settings);
    QVERIFY(validateEngineSettings(engine.settings, EngineSettings::CLASS_NAME));
    QCOMPARE(stored.command, std::string("/opt/brains/pbrain-bovo --level 3"));
    QCOMPARE(stored.turnMs, 2500);
    QCOMPARE(stored.matchMs, 600000);
    QCOMPARE(stored.infoLines(), std::vector<std::string>{"max_depth 8"});
    QVERIFY(script.done());
}

QTEST_MAIN(EnginePlayerUiTest)
#include "engine_player_ui_test.moc"
