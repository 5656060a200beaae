#pragma once
// Window definitions: a window's designed properties and those of the controls on it, kept as
// text compiled into the program. The text is UTF-8, one statement a line:
//
//   # a comment
//   Begin Form FrmPass              a block: Begin <type> <name> ... End; blocks nest
//       Caption = "Velt"            text; "" stands for one double quote
//       ClientWidth = 4410          32-bit integer, decimal or 0x hexadecimal (colours 0x00BBGGRR)
//       ControlBox = True           Boolean: True or False
//       Picture = Resource("NAME")  picture: the bytes of the program's data resource NAME
//       Icon = Hex("424D...")       picture: bytes written out in hexadecimal
//   End
//
// Measures are twips. Each block's properties form its property bag; a control block holds the
// host's placement (Left, Top, Width, Height) beside the control's own persisted properties.
#include "platform/PropertyBag.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

struct ControlDefinition {
    std::wstring type;
    std::wstring name;
    PropertyBag properties;
    std::vector<ControlDefinition> controls; // in the order of the text

    // The control of that name at any depth below this one; null when there is none.
    const ControlDefinition* Find(std::wstring_view controlName) const;
    friend bool operator==(const ControlDefinition&, const ControlDefinition&) = default;
};

// The bytes of a named resource, or nothing when there is no such resource.
using ResourceResolver = std::function<std::optional<Bytes>(std::wstring_view name)>;

// The window block of a definition; nothing when the text breaks any rule, with the first
// broken rule and its line in error when error is given.
std::optional<ControlDefinition> ParseWindowDefinition(std::string_view text,
                                                       const ResourceResolver& resolve,
                                                       std::string* error = nullptr);

// A value as a definition writes it: True, -5, "text", Hex("0A1B"); nothing for a text that
// holds a line break.
std::optional<std::string> PropertyValueText(const PropertyValue& value);

// The definition as text that parses back to an equal one (pictures written as Hex); nothing when
// a name is not an identifier or a text holds a line break.
std::optional<std::string> SerializeWindowDefinition(const ControlDefinition& window);

} // namespace velt
