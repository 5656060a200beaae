#include "platform/Files.h"

#include "platform/Handles_win.h"

namespace velt {

namespace {

UniqueFile OpenForReading(const std::filesystem::path& path) {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

} // namespace

bool FileExists(const std::filesystem::path& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int64_t FileLength(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return static_cast<int64_t>(uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow);
}

bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    UniqueFile file = OpenForReading(path);
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart >= 0x7FFFFFFF) return false;
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return false;
    }
    DWORD read = 0;
    if (bytes.empty()) return true;
    return ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

bool WriteWholeFile(const std::filesystem::path& path,
                    std::span<const std::span<const uint8_t>> parts) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    for (auto part : parts) {
        DWORD written = 0;
        if (part.size() > 0xFFFFFFFFu ||
            !WriteFile(file.get(), part.data(), static_cast<DWORD>(part.size()), &written,
                       nullptr) ||
            written != part.size())
            return false;
    }
    return true;
}

bool ReplaceFileWith(const std::filesystem::path& path,
                     std::span<const std::span<const uint8_t>> parts) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = L".";
    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(folder.c_str(), L"vlt", 0, temporary)) return false;
    const bool written = WriteWholeFile(temporary, parts);
    if (written &&
        MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary);
    return false;
}

bool RemoveFile(const std::filesystem::path& path) {
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) != 0;
}

} // namespace velt
