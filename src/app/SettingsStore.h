#pragma once
// The per-user key/value store the settings live in. Keys are paths such as
// "SOFTWARE\Zekta\Quintrel++\Players"; each value has a name, a kind and raw
// bytes laid out as the registry lays them out (a number is 4 bytes little-
// endian, a text carries its terminating zero). Backends keep the kind, so a
// value reads back exactly as it was written.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quintrel {

inline constexpr const char* KEY_APPLICATION = "SOFTWARE\\Zekta\\Quintrel++";
inline constexpr const char* KEY_PLAYERS = "SOFTWARE\\Zekta\\Quintrel++\\Players";

enum class ValueKind : std::uint8_t { Number, Text, Bytes };

struct StoredValue {
    ValueKind kind = ValueKind::Bytes;
    std::vector<std::uint8_t> data;

    static StoredValue number(std::uint32_t v);
    static StoredValue text(const std::string& s);
    static StoredValue bytes(const std::uint8_t* p, std::size_t n);
    friend bool operator==(const StoredValue&, const StoredValue&) = default;
};

// The engine-side interface of the store. All calls come from the UI thread.
class SettingsBackend {
public:
    virtual ~SettingsBackend() = default;

    virtual bool keyExists(const std::string& path) = 0;
    // Makes the key; true only when it did not exist before.
    virtual bool createKey(const std::string& path) = 0;
    virtual std::optional<StoredValue> readValue(const std::string& path,
                                                 const std::string& name) = 0;
    virtual bool writeValue(const std::string& path, const std::string& name,
                            const StoredValue& value) = 0;
    // True when the value existed and is gone.
    virtual bool deleteValue(const std::string& path, const std::string& name) = 0;
    // Pushes pending writes to the medium; a no-op where writes are immediate.
    virtual void flush() {}
    // Called once before a repair overwrites or drops values the user stored:
    // a store kept in a file copies that file, as it is now, to a backup beside
    // it and answers the backup's name. None here: there is no file.
    virtual std::optional<std::string> backUpBeforeRepair() { return std::nullopt; }
};

// The in-memory store for tests and headless tools. Keys must be created
// before values can be written into them, as in the registry.
class MemorySettingsStore : public SettingsBackend {
public:
    bool keyExists(const std::string& path) override;
    bool createKey(const std::string& path) override;
    std::optional<StoredValue> readValue(const std::string& path, const std::string& name) override;
    bool writeValue(const std::string& path, const std::string& name,
                    const StoredValue& value) override;
    bool deleteValue(const std::string& path, const std::string& name) override;

    // Test helpers
    // Writes for which refuse answers true fail, as on a store that went read-only.
    using WriteFilter = std::function<bool(const std::string& path, const std::string& name)>;
    void refuseWrites(WriteFilter refuse) { refuse_ = std::move(refuse); }
    std::vector<std::string> valueNames(const std::string& path) const;
    bool hasValue(const std::string& path, const std::string& name) const;
    void clear();

private:
    std::set<std::string> keys_;
    std::map<std::string, std::map<std::string, StoredValue>> values_;
    WriteFilter refuse_;
};

} // namespace quintrel
