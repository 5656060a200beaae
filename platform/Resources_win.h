#pragma once
// Data compiled into the program: RCDATA resources and the window definitions made of them.
#include "platform/WindowDefinition.h"

#include <optional>
#include <string>

namespace velt {

// The bytes of the executable's RCDATA resource of that name.
std::optional<Bytes> ResourceBytes(std::wstring_view name);

// The window definition in the RCDATA resource of that name, its pictures read from the
// resources it names. Nothing when it is missing or broken.
std::optional<ControlDefinition> LoadWindowDefinition(std::wstring_view name);

} // namespace velt
