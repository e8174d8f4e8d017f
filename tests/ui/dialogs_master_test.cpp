// The Master player's settings dialog: each field's range refused with the
// standard message, fields wide enough for their largest value, and the
// dialog reached from Edit Players and Who Plays.

#include "dialogs_harness.h"

#include "app/SettingsStore.h"
#include "game/PlayerSelection.h"
#include "players/MasterSettings.h"
#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "ui/DlgSeams.h"
#include "ui/MasterSettingsDialog.h"

#include <thread>

using namespace quintrel;
using namespace dialogs_test;

class DialogsMasterTest : public QObject {
    Q_OBJECT
private slots:
    void fieldRefusesValuesOutsideItsRange_data();
    void fieldRefusesValuesOutsideItsRange();
    void reachedFromEditPlayersAndWhoPlays();
};

void DialogsMasterTest::fieldRefusesValuesOutsideItsRange_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    QTest::newRow("time") << QStringLiteral("timeMs") << 100 << 60000;
    QTest::newRow("depth") << QStringLiteral("maxDepth") << 1 << 99;
    QTest::newRow("threads") << QStringLiteral("threads") << 1 << cores;
    QTest::newRow("hash") << QStringLiteral("hashMb") << 8 << 1024;
}

void DialogsMasterTest::fieldRefusesValuesOutsideItsRange()
{
    QFETCH(QString, field);
    QFETCH(int, low);
    QFETCH(int, high);
    const QByteArray name = field.toLatin1();
    QStringList messages;
    ui::setMessageHook([&messages](const ui::MessageRequest& r) {
        messages << r.text;
        return QMessageBox::Ok;
    });

    CMasterSettingsDialog dialog({1000, 99, 1, 64}, QStringLiteral("Master"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Settings of Master"));
    auto* edit = child<CDlgNumberField>(dialog, name.constData());
    // The largest value shows whole in the field's text area.
    edit->setNumber(high);
    QVERIFY(edit->findChild<QLineEdit*>()->width() >= edit->fontMetrics().horizontalAdvance(QString::number(high)));

    const QString refused = QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high);
    for (int bad : {low - 1, high + 1}) {
        typeNumber(dialog, name.constData(), QString::number(bad));
        click(dialog, "1");
        QVERIFY(dialog.isVisible());
        QCOMPARE(messages.takeFirst(), refused);
        QCOMPARE(dialog.focusWidget(), static_cast<QWidget*>(edit));
    }
    typeNumber(dialog, name.constData(), QString::number(high));
    click(dialog, "1");
    ui::setMessageHook(nullptr);
    QVERIFY(messages.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const auto r = dialog.record();
    const int values[] = {r.timeMs, r.maxDepth, r.threads, r.hashMb};
    const auto ranges = CMasterSettingsDialog::ranges();
    for (std::size_t i = 0; i < ranges.size(); ++i)
        if (field == QLatin1String(ranges[i].objectName))
            QCOMPARE(values[i], high);
}

void DialogsMasterTest::reachedFromEditPlayersAndWhoPlays()
{
    MemorySettingsStore store;
    CPlayerDatabase database{store};
    PlayerSelection players{database};
    installDialogSeams(database);
    const std::uint32_t master = PlayerKindCatalogue::MASTER;
    QCOMPARE(database.definition(master)->name, std::string("Master"));

    Script script;
    script.then([&](QDialog& d) {
        clickRow(d, "1009", int(master));
        QVERIFY(child<QPushButton>(d, "1012")->isEnabled()); // removable like a user's player
        click(d, "1015");
        click(d, "1");
    });
    script.then([&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Settings of Master"));
        typeNumber(d, "timeMs", QStringLiteral("2500"));
        click(d, "1");
    });
    QVERIFY(runEditPlayersDialog(database, players));
    QCOMPARE(MasterSettings::fromBlock(database.definition(master)->settings).timeMs, 2500);

    script.then([&](QDialog& d) {
        choose(d, "1002", int(master));
        QVERIFY(child<QPushButton>(d, "1050")->isEnabled());
        click(d, "1050");
        click(d, "1");
    });
    script.then([&](QDialog& d) {
        typeNumber(d, "hashMb", QStringLiteral("256"));
        click(d, "1");
    });
    QVERIFY(runWhoPlaysDialog(nullptr, players));
    QVERIFY(script.done());
    const MasterSettings tuned = MasterSettings::fromBlock(database.definition(master)->settings);
    QCOMPARE(tuned.timeMs, 2500);
    QCOMPARE(tuned.hashMb, 256);
    QCOMPARE(players.firstIndex, int(master));
    QCOMPARE(std::string(players.firstPlayer->className()), std::string("CMasterPlayer"));
}

QTEST_MAIN(DialogsMasterTest)
#include "dialogs_master_test.moc"
