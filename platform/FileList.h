#pragma once
// A file list: the files of a folder whose names match a pattern list such as
// "*.png;*.jpg;*.bmp;*.gif", in the order the folder gives them.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velt {

// Whether a file name matches one of the ";"-separated patterns: "*" any run of characters,
// "?" one character, letters compared without regard to case as the system's file names are.
bool MatchesPattern(std::wstring_view name, std::wstring_view patterns);

// The bare names of the folder's files (not its folders) that match; empty when the folder
// cannot be read.
std::vector<std::wstring> ListFiles(const std::filesystem::path& folder,
                                    std::wstring_view patterns);

} // namespace velt
