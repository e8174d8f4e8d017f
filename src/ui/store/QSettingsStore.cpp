#include "ui/store/QSettingsStore.h"

#include "app/SafeFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace quintrel {

namespace {

const QString NUMBER_PREFIX = QStringLiteral("dword:");
const QString TEXT_PREFIX = QStringLiteral("sz:");
const QString BYTES_PREFIX = QStringLiteral("hex:");

std::unique_ptr<QSettings> openDefault() {
    if (const char* path = std::getenv("QUINTREL_SETTINGS"); path && *path)
        return std::make_unique<QSettings>(QString::fromLocal8Bit(path), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Zekta"), QStringLiteral("Quintrel++"));
}

StoredValue fromBytes(ValueKind kind, const QByteArray& bytes) {
    return StoredValue{kind, std::vector<std::uint8_t>(bytes.begin(), bytes.end())};
}

} // namespace

QSettingsStore::QSettingsStore() : settings_(openDefault()) {}

QSettingsStore::QSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

QSettingsStore::~QSettingsStore() {
    settings_->sync();
}

QString QSettingsStore::fileName() const {
    return settings_->fileName();
}

QString QSettingsStore::groupOf(const std::string& path) {
    QString p = QString::fromStdString(path);
    const QString root = QString::fromLatin1(KEY_APPLICATION);
    if (p.compare(root, Qt::CaseInsensitive) == 0) return QString();
    if (p.startsWith(root + QLatin1Char('\\'), Qt::CaseInsensitive)) p = p.mid(root.size() + 1);
    return p.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

QString QSettingsStore::keyOf(const std::string& path, const std::string& name) const {
    QString group = groupOf(path);
    QString value = QString::fromStdString(name);
    return group.isEmpty() ? value : group + QLatin1Char('/') + value;
}

// The application key always exists; a group exists while it holds anything.
bool QSettingsStore::keyExists(const std::string& path) {
    QString group = groupOf(path);
    if (group.isEmpty()) return true;
    settings_->beginGroup(group);
    bool any = !settings_->childKeys().isEmpty() || !settings_->childGroups().isEmpty();
    settings_->endGroup();
    return any;
}

// QSettings makes groups on the first write, so creating is only the test.
bool QSettingsStore::createKey(const std::string& path) {
    return !keyExists(path);
}

std::optional<StoredValue> QSettingsStore::readValue(const std::string& path,
                                                     const std::string& name) {
    QString key = keyOf(path, name);
    if (!settings_->contains(key)) return std::nullopt;
    return decode(settings_->value(key));
}

bool QSettingsStore::writeValue(const std::string& path, const std::string& name,
                                const StoredValue& value) {
    settings_->setValue(keyOf(path, name), encode(value));
    return settings_->status() == QSettings::NoError;
}

bool QSettingsStore::deleteValue(const std::string& path, const std::string& name) {
    QString key = keyOf(path, name);
    if (!settings_->contains(key)) return false;
    settings_->remove(key);
    return true;
}

void QSettingsStore::flush() {
    settings_->sync();
}

QString QSettingsStore::encode(const StoredValue& value) {
    const auto& d = value.data;
    switch (value.kind) {
    case ValueKind::Number: {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < d.size() && i < 4; ++i)
            v |= static_cast<std::uint32_t>(d[i]) << (8 * i);
        return NUMBER_PREFIX + QStringLiteral("%1").arg(v, 8, 16, QLatin1Char('0'));
    }
    case ValueKind::Text: {
        // Stored without the terminating zero the registry form carries.
        std::size_t n = 0;
        while (n < d.size() && d[n] != 0)
            ++n;
        return TEXT_PREFIX + QString::fromUtf8(reinterpret_cast<const char*>(d.data()),
                                               static_cast<qsizetype>(n));
    }
    case ValueKind::Bytes: {
        QByteArray bytes(reinterpret_cast<const char*>(d.data()), static_cast<qsizetype>(d.size()));
        return BYTES_PREFIX + QString::fromLatin1(bytes.toHex(','));
    }
    }
    return QString();
}

std::optional<StoredValue> QSettingsStore::decode(const QVariant& stored) {
    // Values a foreign writer left: a native number or byte array keeps its kind.
    switch (stored.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return StoredValue::number(static_cast<std::uint32_t>(stored.toLongLong()));
    case QMetaType::QByteArray:
        return fromBytes(ValueKind::Bytes, stored.toByteArray());
    default:
        break;
    }
    // An unquoted list in a hand-edited INI file comes back split at its commas.
    QString s = stored.typeId() == QMetaType::QStringList
                    ? stored.toStringList().join(QLatin1Char(','))
                    : stored.toString();
    if (s.startsWith(NUMBER_PREFIX)) {
        bool ok = false;
        uint v = s.mid(NUMBER_PREFIX.size()).toUInt(&ok, 16);
        if (!ok) return std::nullopt;
        return StoredValue::number(v);
    }
    if (s.startsWith(TEXT_PREFIX))
        return StoredValue::text(s.mid(TEXT_PREFIX.size()).toStdString());
    if (s.startsWith(BYTES_PREFIX)) {
        QString hex = s.mid(BYTES_PREFIX.size());
        hex.remove(QLatin1Char(','));
        if (hex.size() % 2 != 0) return std::nullopt;
        QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
        if (bytes.size() * 2 != hex.size()) return std::nullopt;
        return fromBytes(ValueKind::Bytes, bytes);
    }
    // A hand-edited plain value: a number when it reads as one, else a text.
    bool ok = false;
    qlonglong v = s.toLongLong(&ok);
    if (ok && v >= INT32_MIN && v <= static_cast<qlonglong>(UINT32_MAX))
        return StoredValue::number(static_cast<std::uint32_t>(v));
    return StoredValue::text(s.toStdString());
}

std::optional<std::string> QSettingsStore::backUpBeforeRepair() {
    return copyBeside(QFile::encodeName(fileName()).toStdString(), ".damaged");
}

namespace {

// What a tool reads: a copy in memory, so no write (a repair included) can
// reach the file.
class ToolStore : public MemorySettingsStore {
public:
    explicit ToolStore(std::string source) : source_(std::move(source)) {}

    void readFrom(QSettings& ini) {
        const std::string root = KEY_APPLICATION;
        for (const QString& name : ini.allKeys()) {
            const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
            std::string path = root;
            if (slash >= 0) path += "\\" + name.left(slash).replace(QLatin1Char('/'), QLatin1Char('\\')).toStdString();
            const auto value = QSettingsStore::decode(ini.value(name));
            if (!value) continue;
            createKey(path);
            writeValue(path, name.mid(slash + 1).toStdString(), *value);
        }
    }

    std::optional<std::string> backUpBeforeRepair() override {
        std::fprintf(stderr, "%s: the player list in %s is damaged; using the players that could be read, the file "
                             "is left as it is\n",
                     program_invocation_short_name, source_.c_str());
        return std::nullopt;
    }

private:
    std::string source_;
};

} // namespace

std::unique_ptr<SettingsBackend> openToolStore(const std::string& iniPath, std::string& error) {
    std::string path = iniPath;
    if (const char* named = std::getenv("QUINTREL_SETTINGS"); path.empty() && named) path = named;
    auto store = std::make_unique<ToolStore>(path);
    if (path.empty()) return store;
    switch (readRegularFile(path, 0).status) {
    case FileReadStatus::Missing:
        return store;
    case FileReadStatus::NotRegular:
        error = "the settings file " + path + " is not a regular file";
        return nullptr;
    case FileReadStatus::Unreadable:
        error = QFileInfo(QFile::decodeName(path.c_str())).isDir() ? "the settings file " + path + " is a folder"
                                                                    : "cannot read the settings file " + path;
        return nullptr;
    case FileReadStatus::Ok:
        break;
    }
    QSettings ini(QFile::decodeName(path.c_str()), QSettings::IniFormat);
    store->readFrom(ini);
    return store;
}

} // namespace quintrel
