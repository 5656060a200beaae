// libFuzzer target for editing a window definition's text: the first byte picks the block, the
// rest is the text. An edit either is refused or gives a text that reads back with the new
// values, and reading each list line of the icon list back never fails.
#include "imaging/SourcePageText.h"
#include "platform/DefinitionEdit.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    velt::ReadIconChoice(text);

    const auto pictures = [](std::wstring_view) {
        return std::optional<velt::Bytes>(velt::Bytes{1});
    };
    const std::wstring keys[] = {L"Image", L"Width", L"Caption"};
    velt::PropertyBag values;
    values.Set(L"Image", velt::Bytes{0x89, 0x50});
    values.Set(L"Width", 1500);
    std::optional<std::string> edited = velt::ReplaceBlockProperties(text, data[0], keys, values,
                                                                     pictures);
    if (!edited) return 0;
    std::optional<velt::ControlDefinition> window = velt::ParseWindowDefinition(*edited, pictures);
    if (!window) __builtin_trap();
    const auto blocks = velt::BlocksInTextOrder(*window);
    if (data[0] >= blocks.size()) __builtin_trap();
    const velt::PropertyBag& bag = blocks[data[0]]->properties;
    if (bag.ReadInteger(L"Width", 0) != 1500 || bag.ReadBytes(L"Image").size() != 2 ||
        bag.Contains(L"Caption"))
        __builtin_trap();
    return 0;
}
