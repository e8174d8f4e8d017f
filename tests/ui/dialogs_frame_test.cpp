// The dialogs reached from the main window's menus, in a real program run on
// a settings file of its own.

#include <QAction>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>

#include "dialogs_harness.h"

#include "game/QuintrelGam.h"
#include "players/LightSettings.h"
#include "catalogue/PlayerDatabase.h"
#include "ui/MainFrame.h"
#include "ui/QuintrelApp.h"
#include "ui/store/QSettingsStore.h"

using namespace quintrel;
using namespace quintrel::ui;
using namespace dialogs_test;

namespace {

struct Run {
    explicit Run(const QString& ini) : store(ini), app(store)
    {
        started = app.start();
        app.frame()->show();
        QCoreApplication::processEvents();
    }
    QAction* command(int id)
    {
        app.frame()->updateCommands();
        return app.frame()->action(id);
    }
    CQuintrelGam& doc() { return *app.document(); }

    QSettingsStore store;
    CQuintrelApp app;
    bool started = false;
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class DialogsFrameTest : public QObject {
    Q_OBJECT
private slots:
    void opponentSettingsFollowsTheOpponent();
    void optionsFromTheMenuSetPauseAndExpert();
};

void DialogsFrameTest::opponentSettingsFollowsTheOpponent()
{
    QTemporaryDir dir;
    Run run(dir.filePath(QStringLiteral("settings.ini")));
    QVERIFY(run.started);
    Script script;

    // Human against Light: the Light player's dialog on its own definition.
    QVERIFY(run.command(ID_OPPONENT_SETTINGS)->isEnabled());
    script.then([](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("Settings of Light"));
        click(d, "style2");
        click(d, "1");
    });
    run.command(ID_OPPONENT_SETTINGS)->trigger();
    QCOMPARE(LightSettings::fromBlock(run.app.database().definition(2)->settings).style, 2);

    // Chaotic has no settings dialog; two humans have no opponent to tune.
    for (int opponent : {1, 0}) {
        QVERIFY(run.command(ID_WHO_PLAYS)->isEnabled());
        script.then([opponent](QDialog& d) {
            choose(d, "1003", opponent);
            click(d, "1");
        });
        run.command(ID_WHO_PLAYS)->trigger();
        settle();
        QCOMPARE(run.doc().players().secondIndex, opponent);
        QVERIFY(!run.command(ID_OPPONENT_SETTINGS)->isEnabled());
    }
    QVERIFY(script.done());
}

void DialogsFrameTest::optionsFromTheMenuSetPauseAndExpert()
{
    QTemporaryDir dir;
    Run run(dir.filePath(QStringLiteral("settings.ini")));
    QVERIFY(run.started);
    Script script;
    QVERIFY(run.command(ID_OPTIONS)->isEnabled());
    QVERIFY(run.command(ID_EDIT_PLAYERS)->isEnabled());
    script.then([](QDialog& d) {
        QCOMPARE(child<QLabel>(d, "1003")->text(), QStringLiteral("0.8 sec."));
        auto* slider = child<QSlider>(d, "1002");
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_End);
        choose(d, "1000", 2); // Medium
        click(d, "1");
    });
    run.command(ID_OPTIONS)->trigger();
    QCOMPARE(run.doc().replayPauseMs(), 5000u);
    QCOMPARE(run.app.database().expertIndex(), 3u);

    run.command(ID_ADVICE)->trigger();
    settle();
    QVERIFY(!script.messages.empty());
    QCOMPARE(script.messages.back().caption, QStringLiteral("Advice from Medium"));
    QVERIFY(script.messages.back().text.startsWith(QStringLiteral("Try move  ")));
}

QTEST_MAIN(DialogsFrameTest)
#include "dialogs_frame_test.moc"
