#include "platform/Files.h"

namespace velt {

std::filesystem::path NewestFile(std::initializer_list<std::filesystem::path> paths) {
    std::filesystem::path newest;
    std::filesystem::file_time_type newestTime{};
    for (const std::filesystem::path& path : paths) {
        std::error_code error;
        if (path.empty() || !std::filesystem::is_regular_file(path, error)) continue;
        std::filesystem::file_time_type written = std::filesystem::last_write_time(path, error);
        if (error) continue;
        if (newest.empty() || written > newestTime) {
            newest = path;
            newestTime = written;
        }
    }
    return newest;
}

} // namespace velt
