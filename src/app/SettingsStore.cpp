#include "app/SettingsStore.h"

namespace quintrel {

StoredValue StoredValue::number(std::uint32_t v) {
    return StoredValue{ValueKind::Number,
                       {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                        static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)}};
}

StoredValue StoredValue::text(const std::string& s) {
    StoredValue v{ValueKind::Text, std::vector<std::uint8_t>(s.begin(), s.end())};
    v.data.push_back(0);
    return v;
}

StoredValue StoredValue::bytes(const std::uint8_t* p, std::size_t n) {
    return StoredValue{ValueKind::Bytes, std::vector<std::uint8_t>(p, p + n)};
}

bool MemorySettingsStore::keyExists(const std::string& path) {
    return keys_.count(path) != 0;
}

bool MemorySettingsStore::createKey(const std::string& path) {
    return keys_.insert(path).second;
}

std::optional<StoredValue> MemorySettingsStore::readValue(const std::string& path,
                                                          const std::string& name) {
    auto key = values_.find(path);
    if (!keyExists(path) || key == values_.end()) return std::nullopt;
    auto value = key->second.find(name);
    if (value == key->second.end()) return std::nullopt;
    return value->second;
}

bool MemorySettingsStore::writeValue(const std::string& path, const std::string& name,
                                     const StoredValue& value) {
    if (!keyExists(path) || (refuse_ && refuse_(path, name))) return false;
    values_[path][name] = value;
    return true;
}

bool MemorySettingsStore::deleteValue(const std::string& path, const std::string& name) {
    auto key = values_.find(path);
    if (!keyExists(path) || key == values_.end()) return false;
    return key->second.erase(name) != 0;
}

std::vector<std::string> MemorySettingsStore::valueNames(const std::string& path) const {
    std::vector<std::string> names;
    auto key = values_.find(path);
    if (key != values_.end())
        for (const auto& [name, value] : key->second)
            names.push_back(name);
    return names;
}

bool MemorySettingsStore::hasValue(const std::string& path, const std::string& name) const {
    auto key = values_.find(path);
    return key != values_.end() && key->second.count(name) != 0;
}

void MemorySettingsStore::clear() {
    keys_.clear();
    values_.clear();
    refuse_ = nullptr;
}

} // namespace quintrel
