// Edit Players, New Player and Who Plays, driven as a user would, against the
// real player database and player selection.

#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "dialogs_harness.h"

#include "app/SettingsStore.h"
#include "game/PlayerSelection.h"
#include "players/LightSettings.h"
#include "catalogue/PlayerDatabase.h"
#include "players/TreeSettings.h"
#include "ui/DlgSeams.h"
#include "ui/store/QSettingsStore.h"

using namespace quintrel;
using namespace dialogs_test;

namespace {

const QString NAME_MESSAGE = QStringLiteral("Please enter a non-empty and unique player's name.");

// A fresh store with the eight default players, the human for O and the Expert
// ("Light", position 2) for X.
struct Fixture {
    MemorySettingsStore store;
    CPlayerDatabase database{store};
    PlayerSelection players{database};
    Fixture() { installDialogSeams(database); }

    // Appends a definition made from one of the built-in kinds, as New Player does.
    void addDefinition(int kind, const QString& name)
    {
        Script script;
        script.then([&](QDialog& d) {
            clickRow(d, "1009", kind);
            click(d, "1011");
            click(d, "1");
        });
        script.then([&](QDialog& d) {
            typeText(d, "1014", name);
            click(d, "1");
        });
        QVERIFY(runEditPlayersDialog(database, players));
        QVERIFY(script.done());
    }
};

} // namespace

class DialogsPlayersTest : public QObject {
    Q_OBJECT
private slots:
    void renameToExistingNameIsRefused();
    void newPlayerCopiesRetunedKind();
    void newPlayerChecksNameBeforeClass();
    void removalKeepsTheSameExpert();
    void cancelledRemovalLeavesIndicesAlone();
    void removingPlayersInUseIsRefused();
    void listSurvivesRestart();
    void whoPlaysExchangesExistingPlayers();
    void whoPlaysSameDefinitionMakesTwoPlayers();
    void whoPlaysSettingsStayAfterCancel();
    void whoPlaysShowsEveryDescriptionWhole();
};

void DialogsPlayersTest::renameToExistingNameIsRefused()
{
    Fixture f;
    Script script;
    script.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Edit Players"));
        auto* list = child<QListWidget>(d, "1009");
        QCOMPARE(list->count(), 8);
        QCOMPARE(list->currentRow(), 0);
        QVERIFY(!child<QPushButton>(d, "1012")->isEnabled());
        clickRow(d, "1009", 2);
        QCOMPARE(child<QLineEdit>(d, "1014")->text(), QStringLiteral("Light"));
        QCOMPARE(child<QLineEdit>(d, "1013")->text(), QStringLiteral("CLightPlayer"));
        typeText(d, "1014", QStringLiteral("Medium"));
        click(d, "1");
        QVERIFY(d.isVisible());
        QCOMPARE(script.messages.size(), std::size_t(1));
        QCOMPARE(script.messages[0].text, NAME_MESSAGE);
        QCOMPARE(script.messages[0].caption, QStringLiteral("Players"));
        QCOMPARE(script.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(d.focusWidget(), child<QWidget>(d, "1014"));

        // Moving to another player is refused the same way.
        clickRow(d, "1009", 5);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(script.messages.size(), std::size_t(2));

        // An empty name too; a good one goes through and renames the line.
        typeText(d, "1014", QString());
        click(d, "1");
        QCOMPARE(script.messages.size(), std::size_t(3));
        typeText(d, "1014", QStringLiteral("Quick"));
        child<QPlainTextEdit>(d, "1010")->setPlainText(QStringLiteral("Fast and light"));
        clickRow(d, "1009", 5);
        QCOMPARE(list->item(2)->text(), QStringLiteral("Quick"));
        QCOMPARE(list->currentRow(), 5);
        click(d, "1");
    });
    QVERIFY(runEditPlayersDialog(f.database, f.players));
    QCOMPARE(f.database.definition(2)->name, std::string("Quick"));
    QCOMPARE(f.database.definition(2)->description, std::string("Fast and light"));
    QCOMPARE(f.players.secondPlayer->name(), std::string("Quick"));
}

void DialogsPlayersTest::newPlayerCopiesRetunedKind()
{
    Fixture f;
    Script script;
    script.then([&](QDialog& d) {
        clickRow(d, "1009", 4);
        QVERIFY(child<QPushButton>(d, "1015")->isEnabled());
        click(d, "1015");
        click(d, "1011");
        QCOMPARE(child<QListWidget>(d, "1009")->currentRow(), 8);
        QCOMPARE(child<QLineEdit>(d, "1014")->text(), QStringLiteral("Deep"));
        QCOMPARE(child<QLineEdit>(d, "1013")->text(), QStringLiteral("CMiniMaxPlayer"));
        QVERIFY(child<QPushButton>(d, "1012")->isEnabled());
        click(d, "1");
    });
    script.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Settings of MiniMax"));
        typeNumber(d, "maxDepth", QStringLiteral("6"));
        click(d, "1");
    });
    script.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("New Player"));
        auto* classes = child<QComboBox>(d, "1018");
        QCOMPARE(classes->count(), 9);
        QCOMPARE(classes->itemText(0), QStringLiteral("CHumanPlayer"));
        QCOMPARE(classes->currentText(), QStringLiteral("CMiniMaxPlayer"));
        typeText(d, "1014", QStringLiteral("Deep"));
        click(d, "1");
    });
    QVERIFY(runEditPlayersDialog(f.database, f.players));
    QVERIFY(script.done());
    QCOMPARE(f.database.count(), std::size_t(9));
    const PlayerDefinition& made = *f.database.definition(8);
    QCOMPARE(made.name, std::string("Deep"));
    QCOMPARE(made.description, std::string());
    QCOMPARE(made.className(), std::string("CMiniMaxPlayer"));
    QCOMPARE(TreeSettings::fromBlock(made.settings).maxDepth, 6u);
    QCOMPARE(TreeSettings::fromBlock(f.database.definition(4)->settings).maxDepth, 6u);
}

void DialogsPlayersTest::newPlayerChecksNameBeforeClass()
{
    Fixture f;
    Script script;
    script.then([&](QDialog& d) {
        clickRow(d, "1009", 3);
        click(d, "1011");
        QCOMPARE(child<QListWidget>(d, "1009")->count(), 8);
        click(d, "2");
    });
    script.then([&](QDialog& d) {
        auto* classes = child<QComboBox>(d, "1018");
        QCOMPARE(classes->currentIndex(), 3);
        classes->setCurrentIndex(-1);
        click(d, "1");
        typeText(d, "1014", QStringLiteral("Light"));
        click(d, "1");
        typeText(d, "1014", QStringLiteral("Fresh"));
        click(d, "1");
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), static_cast<QWidget*>(classes));
        click(d, "2");
    });
    QVERIFY(!runEditPlayersDialog(f.database, f.players));
    QCOMPARE(script.texts(), (QStringList{NAME_MESSAGE, NAME_MESSAGE,
                                          QStringLiteral("Please choose a class first.")}));
    for (const Message& m : script.messages)
        QCOMPARE(m.caption, QStringLiteral("New Player"));
    QCOMPARE(f.database.count(), std::size_t(8));
}

void DialogsPlayersTest::removalKeepsTheSameExpert()
{
    Fixture f;
    f.addDefinition(2, QStringLiteral("A"));
    f.addDefinition(3, QStringLiteral("B"));
    QVERIFY(f.database.setExpert(9));
    Script script;
    script.then([&](QDialog& d) {
        clickRow(d, "1009", 8);
        click(d, "1012");
        auto* list = child<QListWidget>(d, "1009");
        QCOMPARE(list->count(), 9);
        QCOMPARE(list->currentRow(), 7);
        QCOMPARE(child<QLineEdit>(d, "1014")->text(), QStringLiteral("Master"));
        QVERIFY(child<QPushButton>(d, "1012")->isEnabled()); // Master is removable
        clickRow(d, "1009", 6);
        QVERIFY(!child<QPushButton>(d, "1012")->isEnabled());
        click(d, "1");
    });
    QVERIFY(runEditPlayersDialog(f.database, f.players));
    QVERIFY(script.messages.empty());
    QCOMPARE(f.database.count(), std::size_t(9));
    QCOMPARE(f.database.expertIndex(), 8u);
    QCOMPARE(f.database.definition(8)->name, std::string("B"));
    QCOMPARE(f.database.expertPlayer()->definition, f.database.definition(8));
    QCOMPARE(f.players.secondPlayer->definition, f.database.definition(2));
}

void DialogsPlayersTest::cancelledRemovalLeavesIndicesAlone()
{
    Fixture f;
    f.addDefinition(2, QStringLiteral("A"));
    f.addDefinition(3, QStringLiteral("B"));
    f.addDefinition(3, QStringLiteral("C"));
    QVERIFY(f.database.setExpert(9));
    f.players.secondPlayer = f.database.createPlayer(10);
    f.players.secondIndex = 10;
    Script script;
    script.then([&](QDialog& d) {
        clickRow(d, "1009", 8);
        click(d, "1012");
        QCOMPARE(child<QListWidget>(d, "1009")->count(), 10);
        click(d, "2");
    });
    QVERIFY(!runEditPlayersDialog(f.database, f.players));
    QCOMPARE(f.database.count(), std::size_t(11));
    QCOMPARE(f.database.expertIndex(), 9u);
    QCOMPARE(f.database.definition(9)->name, std::string("B"));
    QCOMPARE(f.players.secondIndex, 10);
    QCOMPARE(f.database.definition(10)->name, std::string("C"));
}

void DialogsPlayersTest::removingPlayersInUseIsRefused()
{
    Fixture f;
    f.addDefinition(2, QStringLiteral("A"));
    f.addDefinition(3, QStringLiteral("B"));
    f.players.secondPlayer = f.database.createPlayer(9);
    f.players.secondIndex = 9;
    QVERIFY(f.database.setExpert(8));
    Script script;
    script.then([&](QDialog& d) {
        clickRow(d, "1009", 9);
        click(d, "1012");
        clickRow(d, "1009", 8);
        click(d, "1012");
        QCOMPARE(child<QListWidget>(d, "1009")->count(), 10);
        click(d, "1");
    });
    QVERIFY(runEditPlayersDialog(f.database, f.players));
    QCOMPARE(script.messages.size(), std::size_t(2));
    QCOMPARE(script.messages[0].text,
             QStringLiteral("Cannot delete selected player,\nbecause he is taking part in\n"
                            "current game.\n\nInvoke the Who Plays window\nand assign a different "
                            "player\nto the game, before deleting\nthis one.\""));
    QCOMPARE(script.messages[1].text,
             QStringLiteral("Cannot delete selected player,\nbecause he is used like Expert.\n\n"
                            "Invoke the Options window\nand select a different player\nas Expert, "
                            "before deleting\nthis one."));
    for (const Message& m : script.messages) {
        QCOMPARE(m.caption, QStringLiteral("Sorry"));
        QCOMPARE(m.icon, QMessageBox::Critical);
    }
    QCOMPARE(f.database.count(), std::size_t(10));
}

void DialogsPlayersTest::listSurvivesRestart()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    qputenv("QUINTREL_SETTINGS", dir.filePath(QStringLiteral("quintrel.ini")).toLocal8Bit());
    {
        QSettingsStore store;
        CPlayerDatabase database(store);
        {
            PlayerSelection players(database);
            installDialogSeams(database);
            Script script;
            script.then([&](QDialog& d) {
                clickRow(d, "1009", 3);
                click(d, "1011");
                child<QPlainTextEdit>(d, "1010")->setPlainText(QStringLiteral("Keeps to itself"));
                click(d, "1");
            });
            script.then([&](QDialog& d) {
                typeText(d, "1014", QStringLiteral("Zed"));
                click(d, "1");
            });
            QVERIFY(runEditPlayersDialog(database, players));
        }
        database.shutdown();
    }
    QSettingsStore store;
    CPlayerDatabase database(store);
    database.load();
    qunsetenv("QUINTREL_SETTINGS");
    QCOMPARE(database.count(), std::size_t(9));
    QCOMPARE(database.definition(8)->name, std::string("Zed"));
    QCOMPARE(database.definition(8)->className(), std::string("CMediumPlayer"));
    QCOMPARE(database.definition(8)->description, std::string("Keeps to itself"));
}

void DialogsPlayersTest::whoPlaysExchangesExistingPlayers()
{
    Fixture f;
    CPlayer* human = f.players.firstPlayer.get();
    CPlayer* light = f.players.secondPlayer.get();
    Script script;
    script.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Who Plays"));
        QCOMPARE(child<QComboBox>(d, "1002")->currentText(), QStringLiteral("Human"));
        QCOMPARE(child<QComboBox>(d, "1003")->currentText(), QStringLiteral("Light"));
        choose(d, "1002", 2);
        choose(d, "1003", 0);
        QCOMPARE(child<QLabel>(d, "1005")->text(), QStringLiteral("CLightPlayer"));
        QCOMPARE(child<QLabel>(d, "1006")->text(), QStringLiteral("CHumanPlayer"));
        QCOMPARE(child<QLabel>(d, "1007")->text(), QStringLiteral("Staticaly playing player"));
        click(d, "1");
    });
    script.then([&](QDialog& d) {
        click(d, "1004");
        QCOMPARE(child<QComboBox>(d, "1002")->currentText(), QStringLiteral("Human"));
        QCOMPARE(child<QLabel>(d, "1006")->text(), QStringLiteral("CLightPlayer"));
        click(d, "1");
    });
    QVERIFY(runWhoPlaysDialog(nullptr, f.players));
    QCOMPARE(f.players.firstPlayer.get(), light);
    QCOMPARE(f.players.secondPlayer.get(), human);
    QCOMPARE(f.players.firstIndex, 2);
    QCOMPARE(f.players.secondIndex, 0);
    QCOMPARE(f.players.playerO, light);
    QCOMPARE(f.players.playerX, human);
    QVERIFY(runWhoPlaysDialog(nullptr, f.players));
    QCOMPARE(f.players.playerO, human);
    QCOMPARE(f.players.playerX, light);
}

void DialogsPlayersTest::whoPlaysSameDefinitionMakesTwoPlayers()
{
    Fixture f;
    Script script;
    script.then([&](QDialog& d) {
        choose(d, "1002", 3);
        choose(d, "1003", 3);
        click(d, "1");
    });
    QVERIFY(runWhoPlaysDialog(nullptr, f.players));
    QVERIFY(f.players.firstPlayer != f.players.secondPlayer);
    QCOMPARE(f.players.firstPlayer->definition, f.database.definition(3));
    QCOMPARE(f.players.secondPlayer->definition, f.database.definition(3));
    QCOMPARE(f.players.playerO, f.players.firstPlayer.get());
    QCOMPARE(f.players.playerX, f.players.secondPlayer.get());
    QCOMPARE(f.players.firstIndex, 3);
    QCOMPARE(f.players.secondIndex, 3);
}

void DialogsPlayersTest::whoPlaysSettingsStayAfterCancel()
{
    Fixture f;
    CPlayer* light = f.players.secondPlayer.get();
    Script script;
    script.then([&](QDialog& d) {
        choose(d, "1002", 1);
        QVERIFY(!child<QPushButton>(d, "1050")->isEnabled());
        choose(d, "1002", 2);
        QVERIFY(child<QPushButton>(d, "1050")->isEnabled());
        click(d, "1050");
        click(d, "2");
    });
    script.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Settings of Light"));
        click(d, "style2");
        click(d, "evaluation2");
        click(d, "1");
    });
    QVERIFY(!runWhoPlaysDialog(nullptr, f.players));
    const LightSettings tuned = LightSettings::fromBlock(f.database.definition(2)->settings);
    QCOMPARE(tuned.style, 2);
    QCOMPARE(tuned.evaluation, 2);
    QCOMPARE(f.players.secondPlayer.get(), light);
    QCOMPARE(f.players.firstIndex, 0);
}

void DialogsPlayersTest::whoPlaysShowsEveryDescriptionWhole()
{
    Fixture f;
    Script script;
    script.then([&](QDialog& d) {
        auto* combo = child<QComboBox>(d, "1002");
        for (int i = 0; i < combo->count(); ++i) {
            choose(d, "1002", i);
            choose(d, "1003", combo->count() - 1 - i);
            QCoreApplication::processEvents();
            QCOMPARE(clippedTexts(d), QStringList());
        }
        click(d, "2");
    });
    runWhoPlaysDialog(nullptr, f.players);
}

QTEST_MAIN(DialogsPlayersTest)
#include "dialogs_players_test.moc"
