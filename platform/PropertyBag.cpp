#include "platform/PropertyBag.h"

#include <algorithm>

namespace velt {

namespace {

template <typename T>
const T* As(const PropertyValue* value) {
    return value ? std::get_if<T>(value) : nullptr;
}

} // namespace

const PropertyValue* PropertyBag::Find(std::wstring_view key) const {
    for (const auto& [name, value] : m_entries)
        if (name == key) return &value;
    return nullptr;
}

void PropertyBag::Set(std::wstring_view key, PropertyValue value) {
    for (auto& [name, stored] : m_entries)
        if (name == key) {
            stored = std::move(value);
            return;
        }
    m_entries.emplace_back(std::wstring(key), std::move(value));
}

void PropertyBag::Remove(std::wstring_view key) {
    std::erase_if(m_entries, [&](const auto& entry) { return entry.first == key; });
}

bool PropertyBag::ReadBoolean(std::wstring_view key, bool defaultValue) const {
    const bool* value = As<bool>(Find(key));
    return value ? *value : defaultValue;
}

std::int32_t PropertyBag::ReadInteger(std::wstring_view key, std::int32_t defaultValue) const {
    const std::int32_t* value = As<std::int32_t>(Find(key));
    return value ? *value : defaultValue;
}

std::wstring PropertyBag::ReadText(std::wstring_view key, std::wstring_view defaultValue) const {
    const std::wstring* value = As<std::wstring>(Find(key));
    return value ? *value : std::wstring(defaultValue);
}

Bytes PropertyBag::ReadBytes(std::wstring_view key) const {
    const Bytes* value = As<Bytes>(Find(key));
    return value ? *value : Bytes();
}

void PropertyBag::WriteBoolean(std::wstring_view key, bool value, bool defaultValue) {
    if (value == defaultValue) Remove(key);
    else Set(key, value);
}

void PropertyBag::WriteInteger(std::wstring_view key, std::int32_t value,
                               std::int32_t defaultValue) {
    if (value == defaultValue) Remove(key);
    else Set(key, value);
}

void PropertyBag::WriteText(std::wstring_view key, std::wstring_view value,
                            std::wstring_view defaultValue) {
    if (value == defaultValue) Remove(key);
    else Set(key, std::wstring(value));
}

void PropertyBag::WriteBytes(std::wstring_view key, const Bytes& value) {
    if (value.empty()) Remove(key);
    else Set(key, value);
}

} // namespace velt
