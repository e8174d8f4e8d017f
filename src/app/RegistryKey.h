#pragma once
// The small per-use helper every reader and writer of settings goes through.
// It lives on the caller's stack, opens its key on first use and closes it in
// close() or its destructor. Every operation answers success; none reports to
// the user. Read-with-default is the callers' pattern: a failed or out-of-range
// read takes the default and writes it back at once.

#include "app/SettingsStore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quintrel {

class CRegistryKey {
public:
    static constexpr std::size_t MAX_PATH_LENGTH = 80;

    CRegistryKey(SettingsBackend& store, std::string path);
    ~CRegistryKey();
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    void close();
    bool isOpen() const { return open_; }
    const std::string& path() const { return path_; }
    SettingsBackend& store() const { return store_; }

    // Reading
    // At most 4 bytes, whatever kind the value is; shorter values are zero-extended.
    bool readNumber(const std::string& name, std::uint32_t& out);
    bool readNumber(const std::string& name, std::int32_t& out);
    // Exactly size bytes (8 or 16 in practice); a longer or shorter value fails
    // and leaves the buffer untouched.
    bool readBytes(const std::string& name, void* buffer, std::size_t size);
    bool readBytesAlloc(const std::string& name, std::vector<std::uint8_t>& out);
    // The text up to its terminating zero.
    bool readText(const std::string& name, std::string& out);

    // Writing (creates the key when it is missing)
    bool writeNumber(const std::string& name, std::uint32_t value);
    bool writeNumber(const std::string& name, std::int32_t value) {
        return writeNumber(name, static_cast<std::uint32_t>(value));
    }
    bool writeText(const std::string& name, const std::string& text);
    bool writeBytes(const std::string& name, const void* data, std::size_t length);

    // Deletes one value and closes the key whatever the outcome; the store is
    // flushed once, when the key is closed for good.
    bool deleteValue(const std::string& name);

private:
    bool ensureOpen();
    bool ensureOpenOrCreate();
    bool write(const std::string& name, const StoredValue& value);

    SettingsBackend& store_;
    bool open_ = false;
    bool dirty_ = false;
    std::string path_;
};

} // namespace quintrel
