#pragma once
// Persisted properties of a window or user control: values by key, each read with a default.
// Only values that differ from their default are stored, so an absent key reads as the default.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace velt {

using Bytes = std::vector<std::uint8_t>; // a picture: the bytes of an image file

using PropertyValue = std::variant<bool, std::int32_t, std::wstring, Bytes>;

class PropertyBag {
public:
    // The stored value when there is one of the default's kind; the default otherwise.
    bool ReadBoolean(std::wstring_view key, bool defaultValue) const;
    std::int32_t ReadInteger(std::wstring_view key, std::int32_t defaultValue) const;
    std::wstring ReadText(std::wstring_view key, std::wstring_view defaultValue) const;
    Bytes ReadBytes(std::wstring_view key) const; // the default is no picture

    // Stores value when it differs from the default, and forgets the key when it does not.
    void WriteBoolean(std::wstring_view key, bool value, bool defaultValue);
    void WriteInteger(std::wstring_view key, std::int32_t value, std::int32_t defaultValue);
    void WriteText(std::wstring_view key, std::wstring_view value, std::wstring_view defaultValue);
    void WriteBytes(std::wstring_view key, const Bytes& value);

    // Stores without comparing: what a definition says is kept as written.
    void Set(std::wstring_view key, PropertyValue value);
    const PropertyValue* Find(std::wstring_view key) const;
    bool Contains(std::wstring_view key) const { return Find(key) != nullptr; }

    // Entries in the order they were first stored.
    const std::vector<std::pair<std::wstring, PropertyValue>>& Entries() const { return m_entries; }
    friend bool operator==(const PropertyBag&, const PropertyBag&) = default;

private:
    void Remove(std::wstring_view key);
    std::vector<std::pair<std::wstring, PropertyValue>> m_entries;
};

} // namespace velt
