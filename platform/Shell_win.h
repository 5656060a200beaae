#pragma once
// The shell: opening targets, file checks and files' icons.
#include "platform/Handles_win.h"

#include <string>

namespace velt {

// "explorer.exe " and the target in double quotes: the command line OpenWithExplorer starts.
std::wstring ExplorerCommandLine(const std::wstring& target);
// Has the shell open a folder, file, web address or mail link, in a normal focused window.
void OpenWithExplorer(const std::wstring& target);

// True when a path with a backslash names something on disk; a path without one is not checked.
bool PathExists(const std::wstring& path);

// The first icon of the file or of the program associated with it; empty when there is none.
UniqueIcon AssociatedIcon(const std::wstring& file);
// The same with the icon of that index in the file.
UniqueIcon AssociatedIcon(const std::wstring& file, WORD index);

} // namespace velt
