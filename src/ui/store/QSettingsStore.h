#pragma once
// The real settings store on QSettings: organisation "Zekta", application
// "Quintrel++" (the registry under HKCU on Windows, an INI file under the
// user's config directory elsewhere). QUINTREL_SETTINGS=/path/file.ini points
// it at that INI file instead. The application key maps to the top level and
// "SOFTWARE\Zekta\Quintrel++\Players" to the group "Players".
//
// QSettings alone cannot tell the number 5 from the text "5" once it has been
// through an INI file, so every value is written as text carrying its kind:
//   dword:00000320      a 32-bit number
//   sz:Light            a text
//   hex:43,4c,00,01     a byte block

#include "app/SettingsStore.h"

#include <QString>

#include <memory>

class QSettings;

namespace quintrel {

class QSettingsStore : public SettingsBackend {
public:
    // The user's store, or the INI file named by QUINTREL_SETTINGS.
    QSettingsStore();
    // An INI file of one's own (tests, tools).
    explicit QSettingsStore(const QString& iniPath);
    ~QSettingsStore() override;

    bool keyExists(const std::string& path) override;
    bool createKey(const std::string& path) override;
    std::optional<StoredValue> readValue(const std::string& path, const std::string& name) override;
    bool writeValue(const std::string& path, const std::string& name,
                    const StoredValue& value) override;
    bool deleteValue(const std::string& path, const std::string& name) override;
    void flush() override;
    // The INI file as it is on disk, copied to "<file>.damaged" (".damaged.2", ... when taken).
    std::optional<std::string> backUpBeforeRepair() override;

    QString fileName() const;

    // The QSettings group of a key path ("" for the application key).
    static QString groupOf(const std::string& path);
    // The typed text a value is stored as, and back; nullopt for text that is
    // not one of ours and not a plain number either.
    static QString encode(const StoredValue& value);
    static std::optional<StoredValue> decode(const QVariant& stored);

private:
    QString keyOf(const std::string& path, const std::string& name) const;

    std::unique_ptr<QSettings> settings_;
};

// The store of a headless tool: the INI file it was given, else the one named by
// QUINTREL_SETTINGS, else nothing, so the defaults. The file is read once into
// memory and never written, repaired or not: users point the tools at the
// game's own settings. A missing file means the defaults; a path that is no
// regular file or cannot be read gives null and the reason in error. A damaged
// player list is reported on standard error.
std::unique_ptr<SettingsBackend> openToolStore(const std::string& iniPath, std::string& error);

} // namespace quintrel
