#include "language/file_access.hpp"

#include <filesystem>
#include <system_error>

#include "files/file_ops.hpp"

namespace scenario::language {

std::optional<std::string> disk_files::read(const std::string& path) const {
    if (!path_exists(path)) {
        return std::nullopt;
    }
    return read_whole_file(path);
}

std::vector<std::string> disk_files::list(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

}  // namespace scenario::language
