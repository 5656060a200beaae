#pragma once
// Changes to a window definition's text that touch only what they change: the properties of one
// block are replaced and every other byte of the text stays as it was, comments and layout too.
#include "platform/WindowDefinition.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

// The blocks of a definition in the order of their Begin lines: the window first, then each
// control before the controls inside it.
std::vector<const ControlDefinition*> BlocksInTextOrder(const ControlDefinition& window);

// The text with the properties named in keys of the block at place `block` (text order) set to
// what values holds for them. The line of a key that values holds is rewritten where it stands,
// keeping its indentation and line ending; the line of a key values does not hold is removed;
// a key new to the block gets a line after the block's last property. Nothing, with the reason in
// error, when the text is no definition, there is no such block, values holds a key that keys
// does not name, or the result would not read back as the same definition with exactly those
// changes (a picture too large for a definition, for one).
std::optional<std::string> ReplaceBlockProperties(std::string_view text, std::size_t block,
                                                  std::span<const std::wstring> keys,
                                                  const PropertyBag& values,
                                                  const ResourceResolver& resolve,
                                                  std::string* error = nullptr);

} // namespace velt
