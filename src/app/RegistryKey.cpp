#include "app/RegistryKey.h"

#include <cstring>

namespace quintrel {

CRegistryKey::CRegistryKey(SettingsBackend& store, std::string path)
    : store_(store), path_(std::move(path)) {
    if (path_.size() > MAX_PATH_LENGTH) path_.resize(MAX_PATH_LENGTH);
}

CRegistryKey::~CRegistryKey() {
    close();
}

void CRegistryKey::close() {
    if (dirty_) store_.flush();
    dirty_ = false;
    open_ = false;
}

bool CRegistryKey::ensureOpen() {
    if (!open_) open_ = store_.keyExists(path_);
    return open_;
}

// A key that could not be opened must be newly created to count as open.
bool CRegistryKey::ensureOpenOrCreate() {
    if (ensureOpen()) return true;
    open_ = store_.createKey(path_);
    return open_;
}

bool CRegistryKey::readNumber(const std::string& name, std::uint32_t& out) {
    if (!ensureOpen()) return false;
    auto value = store_.readValue(path_, name);
    if (!value || value->data.size() > 4) return false;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < value->data.size(); ++i)
        v |= static_cast<std::uint32_t>(value->data[i]) << (8 * i);
    out = v;
    return true;
}

bool CRegistryKey::readNumber(const std::string& name, std::int32_t& out) {
    std::uint32_t v = 0;
    if (!readNumber(name, v)) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

bool CRegistryKey::readBytes(const std::string& name, void* buffer, std::size_t size) {
    if (!ensureOpen()) return false;
    auto value = store_.readValue(path_, name);
    if (!value || value->data.size() != size) return false;
    if (size != 0) std::memcpy(buffer, value->data.data(), size);
    return true;
}

bool CRegistryKey::readBytesAlloc(const std::string& name, std::vector<std::uint8_t>& out) {
    if (!ensureOpen()) return false;
    auto value = store_.readValue(path_, name);
    if (!value) return false;
    out = std::move(value->data);
    return true;
}

bool CRegistryKey::readText(const std::string& name, std::string& out) {
    if (!ensureOpen()) return false;
    auto value = store_.readValue(path_, name);
    if (!value) return false;
    const auto& d = value->data;
    std::size_t n = 0;
    while (n < d.size() && d[n] != 0)
        ++n;
    out.assign(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(n));
    return true;
}

bool CRegistryKey::write(const std::string& name, const StoredValue& value) {
    if (!ensureOpenOrCreate()) return false;
    if (!store_.writeValue(path_, name, value)) return false;
    dirty_ = true;
    return true;
}

bool CRegistryKey::writeNumber(const std::string& name, std::uint32_t value) {
    return write(name, StoredValue::number(value));
}

bool CRegistryKey::writeText(const std::string& name, const std::string& text) {
    return write(name, StoredValue::text(text));
}

bool CRegistryKey::writeBytes(const std::string& name, const void* data, std::size_t length) {
    return write(name, StoredValue::bytes(static_cast<const std::uint8_t*>(data), length));
}

bool CRegistryKey::deleteValue(const std::string& name) {
    bool ok = ensureOpen() && store_.deleteValue(path_, name);
    // The key closes, but the deletion reaches the medium with the key's
    // final close: a save that erases a long leftover list would otherwise
    // write the whole file once per value.
    open_ = false;
    if (ok) dirty_ = true;
    return ok;
}

} // namespace quintrel
