#include "platform/Files.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace velt {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

bool FileExists(const std::filesystem::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

int64_t FileLength(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

bool ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    UniqueFile file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    struct stat info {};
    if (::fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    if (info.st_size < 0 || info.st_size >= 0x7FFFFFFF) return false;
    try {
        bytes.resize(static_cast<size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

bool WriteWholeFile(const std::filesystem::path& path,
                    std::span<const std::span<const uint8_t>> parts) {
    UniqueFile file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    bool complete = true;
    for (auto part : parts)
        if (complete && std::fwrite(part.data(), 1, part.size(), file.get()) != part.size())
            complete = false;
    return std::fclose(file.release()) == 0 && complete;
}

bool ReplaceFileWith(const std::filesystem::path& path,
                     std::span<const std::span<const uint8_t>> parts) {
    std::string temporary =
        (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) return false;
    bool complete = true;
    for (auto part : parts) {
        for (size_t done = 0; complete && done < part.size();) {
            const ssize_t n = ::write(descriptor, part.data() + done, part.size() - done);
            if (n <= 0) complete = false;
            else done += static_cast<size_t>(n);
        }
    }
    // mkstemp makes the file private; give it the usual permissions of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    complete = ::fchmod(descriptor, 0666 & ~mask) == 0 && complete;
    complete = ::close(descriptor) == 0 && complete;
    if (complete && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

bool RemoveFile(const std::filesystem::path& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return !std::filesystem::exists(path, error);
}

} // namespace velt
