// The Engine player in the window: its settings dialog driven as a user
// would, refusing what the record cannot hold, and writing its block on OK;
// a short game against our own brain, and a brain that cannot start.

#include "dialogs_harness.h"

#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "app/RegistryKey.h"
#include "app/SettingsStore.h"
#include "game/QuintrelGam.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/LogWindow.h"
#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/QuintrelView.h"
#include "ui/store/QSettingsStore.h"

#include "players/EngineSettings.h"
#include "players/PlayerDefinition.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "ui/DlgSettingsEditors.h"

using namespace quintrel;
using namespace dialogs_test;
using namespace quintrel::ui;

class EnginePlayerUiTest : public QObject {
    Q_OBJECT
private slots:
    void dialogRefusesBadValuesAndWritesTheBlockOnOk();
    void humanPlaysOurBrainInTheWindow();
};

namespace {

int stones(const CQuintrelGam& doc, int side)
{
    int n = 0;
    for (int x = 1; x <= 19; ++x)
        for (int y = 1; y <= 19; ++y)
            n += doc.board().cell(x, y) == side;
    return n;
}

} // namespace

void EnginePlayerUiTest::humanPlaysOurBrainInTheWindow()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("settings.ini"));
    {
        // The default list, a ninth player "Brain" running pbrain-quintrel, and Brain the Expert.
        QSettingsStore store(ini);
        CPlayerDatabase db(store);
        db.load();
        PlayerDefinition brain = PlayerKindCatalogue::entry(PlayerKindCatalogue::ENGINE);
        brain.name = "Brain";
        EngineSettings s;
        s.command = std::string(PBRAIN_QUINTREL) + " --player Light";
        brain.settings = s.toBlock();
        CRegistryKey players(store, KEY_PLAYERS);
        QVERIFY(brain.write(players, playerPrefix(db.count())));
        players.writeNumber("uNumOfPlayers", static_cast<std::uint32_t>(db.count() + 1));
        CRegistryKey app(store, KEY_APPLICATION);
        app.writeNumber("iDefaultPlayer", static_cast<std::int32_t>(db.count()));
        store.flush();
    }
    QList<MessageRequest> boxes;
    setMessageHook([&boxes](const MessageRequest& r) {
        boxes.append(r);
        return QMessageBox::Ok;
    });
    setDialogHook([](QDialog&) { return int(QDialog::Accepted); });
    {
        QSettingsStore store(ini);
        CQuintrelApp app(store);
        QVERIFY(app.start());
        app.frame()->show();
        app.frame()->action(ID_VIEW_LOG)->trigger();
        CQuintrelGam& doc = *app.document();
        QCOMPARE(doc.players().playerX->name(), std::string("Brain"));

        for (int move = 1; move <= 3; ++move) {
            const int c = 3 + 4 * move;
            QTest::mouseClick(app.frame()->view(), Qt::LeftButton, {}, fieldSquare(c, 3).center());
            QCOMPARE(stones(doc, SIDE_O), move);
            QTRY_COMPARE_WITH_TIMEOUT(stones(doc, SIDE_X), move, 10000);
        }
        const QString log = app.frame()->logWindow()->text();
        QVERIFY2(log.contains(QStringLiteral("  3.        Brain  ")), qPrintable(log));

        // A brain that cannot be started loses with a box that names it; the window goes on.
        EngineSettings missing;
        missing.command = dir.filePath(QStringLiteral("pbrain-missing")).toStdString();
        QVERIFY(app.database().definition(static_cast<std::uint32_t>(app.database().count() - 1))
                    ->adoptSettings(missing.toBlock()));
        QTest::mouseClick(app.frame()->view(), Qt::LeftButton, {}, fieldSquare(3, 17).center());
        QTRY_VERIFY(doc.historyFlags() & HISTORY_GAME_OVER);
        QCOMPARE(boxes.last().caption, QStringLiteral("Game Over"));
        QVERIFY2(boxes.last().text.startsWith(QStringLiteral(" Player X (Brain) has lost: The brain \"")),
                 qPrintable(boxes.last().text));
        QVERIFY(boxes.last().text.contains(QStringLiteral("pbrain-missing\" could not be started")));
        QCOMPARE(app.frame()->paneText(1), QStringLiteral("Player X has lost."));
    }
    setMessageHook(nullptr);
    setDialogHook(nullptr);
}

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
