#pragma once
// Whole files and the few questions about them the program asks, through the platform's own
// calls (wide names on Windows). None of them throws.
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <vector>

namespace velt {

// A file (hidden, system and read-only ones included) rather than a folder, found by its exact
// name: wildcards are not expanded.
bool FileExists(const std::filesystem::path& path);

// The length of a file, or -1 when it cannot be opened.
int64_t FileLength(const std::filesystem::path& path);

// The whole file; false when it cannot be read or is 2 GB or more.
bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes);

// Creates or replaces the file (no sharing while it is written) and writes the parts in order.
// True only when every byte was written; a short write leaves the partial file behind.
bool WriteWholeFile(const std::filesystem::path& path,
                    std::span<const std::span<const uint8_t>> parts);

// Writes the parts to a new file beside path and moves it over path only once every byte is
// written: on failure nothing is left behind and an existing file stays as it was.
bool ReplaceFileWith(const std::filesystem::path& path,
                     std::span<const std::span<const uint8_t>> parts);

// Of the paths that name an existing file, the one written last; an empty path when none does.
std::filesystem::path NewestFile(std::initializer_list<std::filesystem::path> paths);

// Clears the attributes of an existing file and deletes it; true when no file remains.
bool RemoveFile(const std::filesystem::path& path);

} // namespace velt
