// Quintrel++: five in a row on a 19 x 19 board.

#include "ui/QuintrelApp.h"
#include "ui/MainFrame.h"
#include "ui/store/QSettingsStore.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintrel++"));
    QApplication::setOrganizationName(QStringLiteral("Zekta"));
    QApplication::setApplicationVersion(QStringLiteral("2.1"));
    QApplication::setDesktopFileName(QStringLiteral("quintrel"));

    const QStringList args = QApplication::arguments();
    const QString file = args.size() > 1 ? args.at(1) : QString();

    quintrel::QSettingsStore store;
    quintrel::ui::CQuintrelApp quintrel(store);
    if (!quintrel.start(file))
        return 1;
    quintrel.frame()->show();
    return app.exec();
}
