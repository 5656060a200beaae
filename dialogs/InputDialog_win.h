#pragma once
// The modal password prompt.
#include <string>

namespace velt {

// Shows the prompt modally and on top; the text typed when the user accepted, exactly as typed,
// or the empty text when the user cancelled or closed it.
std::wstring InputDialog(const std::wstring& caption, const std::wstring& prompt);

// True while a prompt is on screen; the engine's poll rests meanwhile.
bool PromptVisible();

// The answer of the last prompt.
std::wstring& DialogResult();

} // namespace velt
