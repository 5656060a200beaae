#include "platform/Resources_win.h"

#include "platform/Win32_win.h"

namespace velt {

std::optional<Bytes> ResourceBytes(std::wstring_view name) {
    std::wstring id(name);
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, id.c_str(), RT_RCDATA);
    if (!found) return std::nullopt;
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found); // part of the image: nothing to free
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return std::nullopt;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return Bytes(bytes, bytes + size);
}

std::optional<ControlDefinition> LoadWindowDefinition(std::wstring_view name) {
    std::optional<Bytes> text = ResourceBytes(name);
    if (!text) return std::nullopt;
    return ParseWindowDefinition(
        std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), ResourceBytes);
}

} // namespace velt
