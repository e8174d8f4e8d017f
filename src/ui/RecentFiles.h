#pragma once
// The recent-file list of the Game menu: the last four games opened or
// saved, newest first, kept in the settings store as File1..File4.

#include <QStringList>

namespace quintrel {
class SettingsBackend;
}

namespace quintrel::ui {

class CRecentFiles {
public:
    static constexpr int COUNT = 4;
    explicit CRecentFiles(SettingsBackend& store) : store(store) {}

    QStringList files() const;
    // Puts path first, once; the oldest beyond four falls off.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void write(const QStringList& files);
    SettingsBackend& store;
};

} // namespace quintrel::ui
