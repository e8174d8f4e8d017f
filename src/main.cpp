// Quintrel++: five in a row on a 19 x 19 board.

#include "ui/QuintrelApp.h"
#include "ui/MainFrame.h"
#include "ui/Screenshot.h"
#include "ui/store/QSettingsStore.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // quintrel --screenshot FILE.png [GAME.gam [--analyse MS]]: no window is ever shown.
    const bool screenshot = argc > 1 && std::strcmp(argv[1], "--screenshot") == 0;
    if (screenshot)
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintrel++"));
    QApplication::setOrganizationName(QStringLiteral("Zekta"));
    QApplication::setApplicationVersion(QStringLiteral("2.1"));
    QApplication::setDesktopFileName(QStringLiteral("quintrel"));

    const QStringList args = QApplication::arguments();
    quintrel::QSettingsStore store;
    if (screenshot) {
        const bool analyse = args.size() == 6 && args.at(4) == QLatin1String("--analyse") && args.at(5).toInt() > 0;
        if (args.size() < 3 || (args.size() > 4 && !analyse)) {
            std::fputs("usage: quintrel --screenshot FILE.png [GAME.gam [--analyse MS]]\n", stderr);
            return 2;
        }
        QString error;
        const int code =
            quintrel::ui::writeScreenshot(store, args.at(2), args.value(3), error, analyse ? args.at(5).toInt() : 0);
        if (code != 0)
            std::fprintf(stderr, "quintrel: %s\n", qPrintable(error));
        return code;
    }

    const QString file = args.size() > 1 ? args.at(1) : QString();
    quintrel::ui::CQuintrelApp quintrel(store);
    if (!quintrel.start(file))
        return 1;
    quintrel.frame()->show();
    return app.exec();
}
