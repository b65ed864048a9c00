#include "files/folders.hpp"

#include <filesystem>
#include <system_error>
#include <vector>

#include "files/file_error.hpp"
#include "files/file_ops.hpp"

namespace scenario {

namespace fs = std::filesystem;

namespace {

// The folders the path goes through, as the user spelled them, outermost first and the
// path itself last. A root ("/", "C:", "\\server") is no part: it cannot be made.
std::vector<std::string> parts_of(const std::string& path) {
    std::vector<std::string> parts;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (is_path_separator(path[i]) && !is_path_separator(path[i - 1])) {
            std::string part = path.substr(0, i);
            if (!fs::path(part).relative_path().empty()) {
                parts.push_back(std::move(part));
            }
        }
    }
    parts.push_back(path);
    return parts;
}

}  // namespace

void make_folders(const std::string& folder) {
    if (folder.empty()) {
        throw file_error(folder, "the name is empty", "cannot make a folder with an empty name");
    }
    const std::string making = "cannot make the folder \"" + folder + "\": ";
    for (const std::string& part : parts_of(folder)) {
        std::error_code ignored;
        const fs::file_status status = fs::status(part, ignored);
        if (fs::is_directory(status)) {
            continue;
        }
        if (fs::exists(status)) {
            const bool file = fs::is_regular_file(status);
            throw file_error(part, file ? "it is a file, not a folder" : "it is not a folder",
                             making + "\"" + part + "\" is " +
                                 (file ? "a file, not a folder" : "not a folder"));
        }
        std::error_code error;
        if (!fs::create_directory(part, error) && !fs::is_directory(part, ignored)) {
            const std::string reason = error ? error.message() : "it could not be made";
            throw file_error(part, reason,
                             "cannot make the folder \"" + part + "\": " + reason);
        }
    }
}

}  // namespace scenario
