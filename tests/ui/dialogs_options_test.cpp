// The Options dialog through the game's "O&ptions..." command, with the real
// option values, player database and a headless game surface.

#include <QLabel>
#include <QSlider>

#include "dialogs_harness.h"

#include "app/OptionValues.h"
#include "app/SettingsStore.h"
#include "game/HeadlessGameUi.h"
#include "game/QuintrelGam.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/DlgSeams.h"

#include <memory>

using namespace quintrel;
using namespace dialogs_test;

namespace {

// A first start: nothing stored, Human (O) against the Expert "Light" (X).
struct Game {
    MemorySettingsStore store;
    CPlayerDatabase database{store};
    OptionValues options;
    std::unique_ptr<CQuintrelGam> game;
    HeadlessGameUi surface;
    std::shared_ptr<QueueSink> window = std::make_shared<QueueSink>();

    Game()
    {
        options.load(store);
        game = std::make_unique<CQuintrelGam>(database, options);
        installDialogSeams(database);
        surface.options = [](OptionValues& o, CPlayerDatabase& d) {
            return runOptionsDialog(nullptr, o, d);
        };
        game->attachView(surface, window);
        game->onNewDocument();
    }

    void deliverPosted()
    {
        for (const PortMessage& m : window->drain())
            game->handleMessage(m);
    }

    std::uint32_t stored(const char* name)
    {
        auto value = store.readValue(KEY_APPLICATION, name);
        std::uint32_t n = 0;
        if (value && value->data.size() == 4)
            for (int i = 3; i >= 0; --i)
                n = n << 8 | value->data[static_cast<std::size_t>(i)];
        return n;
    }
};

} // namespace

class DialogsOptionsTest : public QObject {
    Q_OBJECT
private slots:
    void opensWithDefaultsAndReplaysAtTheChosenPause();
    void cancelLeavesStoreAndGameUnchanged();
    void chosenExpertGivesTheAdvice();
    void expertChosenAfterARemovalGivesTheAdvice();
};

void DialogsOptionsTest::opensWithDefaultsAndReplaysAtTheChosenPause()
{
    Game g;
    Script script;
    script.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Options"));
        QVERIFY(!child<QCheckBox>(d, "1001")->isChecked());
        auto* experts = child<QComboBox>(d, "1000");
        QCOMPARE(experts->count(), 7);
        QCOMPARE(experts->itemText(0), QStringLiteral("Chaotic"));
        QCOMPARE(experts->currentText(), QStringLiteral("Light"));
        QVERIFY(child<QRadioButton>(d, "1005")->isChecked());
        QCOMPARE(child<QRadioButton>(d, "1005")->text(), QStringLiteral("Middle"));
        QCOMPARE(child<QLabel>(d, "1003")->text(), QStringLiteral("0.8 sec."));
        auto* slider = child<QSlider>(d, "1002");
        QCOMPARE(slider->minimum(), 100);
        QCOMPARE(slider->maximum(), 5000);
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        QCOMPARE(child<QLabel>(d, "1003")->text(), QStringLiteral("5.0 sec."));
        click(d, "1");
    });
    g.game->options();
    QVERIFY(script.done());
    QCOMPARE(g.game->replayPauseMs(), 5000u);
    QCOMPARE(g.stored("uPause"), 5000u);
    QCOMPARE(g.stored("iDefaultPlayer"), 2u);
    QCOMPARE(g.stored("iPriority"), 1u);

    // One move each, then replay: the timer steps every 5000 ms.
    g.game->onMoveDelivered(GameMove{Field{10, 10}, SIDE_O});
    g.deliverPosted();
    QCOMPARE(g.game->current(), 2);
    QVERIFY(g.game->canReplay());
    g.game->replay();
    QVERIFY(g.surface.replayTimerRunning);
    QCOMPARE(g.surface.replayPeriodMs, 5000u);
}

void DialogsOptionsTest::cancelLeavesStoreAndGameUnchanged()
{
    Game g;
    const auto before = g.store.valueNames(KEY_APPLICATION);
    std::vector<std::optional<StoredValue>> values;
    for (const std::string& name : before)
        values.push_back(g.store.readValue(KEY_APPLICATION, name));
    CPlayer* expert = g.database.expertPlayer();

    Script script;
    script.then([&](QDialog& d) {
        click(d, "1001");
        choose(d, "1000", 2);
        click(d, "1007");
        auto* slider = child<QSlider>(d, "1002");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(child<QLabel>(d, "1003")->text(), QStringLiteral("0.1 sec."));
        click(d, "2");
    });
    g.game->options();
    QVERIFY(script.done());
    QCOMPARE(g.store.valueNames(KEY_APPLICATION), before);
    for (std::size_t i = 0; i < before.size(); ++i)
        QVERIFY(g.store.readValue(KEY_APPLICATION, before[i]) == values[i]);
    QCOMPARE(g.game->replayPauseMs(), 800u);
    QVERIFY(!g.game->askIfSave());
    QCOMPARE(g.game->optionValues().priority, 1);
    QCOMPARE(g.game->optionValues().expertChoice, 1);
    QCOMPARE(g.database.expertIndex(), 2u);
    QCOMPARE(g.database.expertPlayer(), expert);
    QCOMPARE(g.database.threadPriority(), 0);
}

void DialogsOptionsTest::chosenExpertGivesTheAdvice()
{
    Game g;
    Script script;
    script.then([&](QDialog& d) {
        click(d, "1001");
        choose(d, "1000", 2); // Medium
        click(d, "1006");     // High
        click(d, "1");
    });
    g.game->options();
    QCOMPARE(g.database.expertIndex(), 3u);
    QCOMPARE(g.database.expertPlayer()->name(), std::string("Medium"));
    QCOMPARE(g.stored("iDefaultPlayer"), 3u);
    QCOMPARE(g.stored("bAskIfSave"), 1u);
    QCOMPARE(g.stored("iPriority"), 2u);
    QVERIFY(g.game->askIfSave());
    QCOMPARE(g.database.threadPriority(), 1);

    // The next opening shows what was confirmed.
    script.then([&](QDialog& d) {
        QVERIFY(child<QCheckBox>(d, "1001")->isChecked());
        QCOMPARE(child<QComboBox>(d, "1000")->currentText(), QStringLiteral("Medium"));
        QVERIFY(child<QRadioButton>(d, "1006")->isChecked());
        click(d, "2");
    });
    g.game->options();

    g.game->advice();
    g.deliverPosted();
    QVERIFY(!g.surface.boxes.empty());
    QCOMPARE(g.surface.boxes.back().caption, std::string("Advice from Medium"));
}

void DialogsOptionsTest::expertChosenAfterARemovalGivesTheAdvice()
{
    Game g;
    Script script;
    const auto addChaotic = [&](const char* name) {
        script.then([name](QDialog& d) {
            typeText(d, "1014", QString::fromLatin1(name));
            click(d, "1");
        });
    };
    // "A" (8) and "B" (9), both Chaotic, after Master; then "B" becomes the Expert.
    script.then([&](QDialog& d) {
        clickRow(d, "1009", 1);
        click(d, "1011");
        click(d, "1011");
        click(d, "1");
    });
    addChaotic("A");
    addChaotic("B");
    g.game->editPlayers();
    script.then([&](QDialog& d) {
        choose(d, "1000", 8);
        click(d, "1");
    });
    g.game->options();
    QCOMPARE(g.database.expertIndex(), 9u);

    // Removing "A" moves the Expert "B" to 8; "C" takes position 9.
    script.then([&](QDialog& d) {
        clickRow(d, "1009", 8);
        click(d, "1012");
        clickRow(d, "1009", 1);
        click(d, "1011");
        click(d, "1");
    });
    addChaotic("C");
    g.game->editPlayers();
    QVERIFY(script.done());
    QCOMPARE(g.database.expertIndex(), 8u);

    script.then([&](QDialog& d) {
        QCOMPARE(child<QComboBox>(d, "1000")->currentText(), QStringLiteral("B"));
        choose(d, "1000", 8);
        click(d, "1");
    });
    g.game->options();
    QVERIFY(script.done());
    QCOMPARE(g.stored("iDefaultPlayer"), 9u);
    QCOMPARE(g.database.expertIndex(), 9u);
    QCOMPARE(g.database.expertPlayer()->name(), std::string("C"));

    g.game->advice();
    g.deliverPosted();
    QVERIFY(!g.surface.boxes.empty());
    QCOMPARE(g.surface.boxes.back().caption, std::string("Advice from C"));
}

QTEST_MAIN(DialogsOptionsTest)
#include "dialogs_options_test.moc"
