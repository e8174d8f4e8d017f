#include "ui/RecentFiles.h"

#include "app/RegistryKey.h"

#include <string>

namespace quintrel::ui {

namespace {
const char* const KEY_RECENT_FILES = "SOFTWARE\\Zekta\\Quintrel++\\Recent File List";
std::string valueName(int i) { return "File" + std::to_string(i + 1); }
} // namespace

QStringList CRecentFiles::files() const
{
    QStringList files;
    CRegistryKey key(store, KEY_RECENT_FILES);
    for (int i = 0; i < COUNT; ++i) {
        std::string path;
        if (key.readText(valueName(i), path) && !path.empty())
            files.append(QString::fromStdString(path));
    }
    return files;
}

void CRecentFiles::add(const QString& path)
{
    if (path.isEmpty())
        return;
    QStringList list = files();
    list.removeAll(path);
    list.prepend(path);
    write(list);
}

void CRecentFiles::remove(const QString& path)
{
    QStringList list = files();
    list.removeAll(path);
    write(list);
}

void CRecentFiles::write(const QStringList& list)
{
    CRegistryKey key(store, KEY_RECENT_FILES);
    for (int i = 0; i < COUNT; ++i) {
        if (i < list.size())
            key.writeText(valueName(i), list[i].toStdString());
        else
            key.deleteValue(valueName(i));
    }
}

} // namespace quintrel::ui
