#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/temp_folder.hpp"

namespace scenario::testing {

// Faults a real file system puts in the way of replacing a file.
enum class file_fault {
    read_only,  // the old file has no write permission
    folder,     // a folder stands under the file's name
    disk_full,  // writing the file fails for lack of space (Linux: its temporary name
                // leads to /dev/full)
};

inline std::vector<file_fault> file_faults() {
#ifdef _WIN32
    return {file_fault::read_only, file_fault::folder};
#else
    return {file_fault::read_only, file_fault::folder, file_fault::disk_full};
#endif
}

inline const char* fault_name(file_fault f) {
    return f == file_fault::read_only ? "read-only file"
           : f == file_fault::folder  ? "folder in its place"
                                      : "full disk";
}

// Puts the fault on the file at path (which holds an old file, for read_only).
inline void inject(file_fault f, const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    switch (f) {
        case file_fault::read_only:
            fs::permissions(path, fs::perms::owner_write | fs::perms::group_write |
                                      fs::perms::others_write,
                            fs::perm_options::remove);
            break;
        case file_fault::folder:
            fs::remove(path);
            fs::create_directory(path);
            break;
        case file_fault::disk_full:
            fs::create_symlink("/dev/full", path.string() + ".partial");
            break;
    }
}

// Gives an old read-only file its write permission back, so the folder can go.
inline void clear(file_fault f, const std::filesystem::path& path) {
    if (f == file_fault::read_only) {
        std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
}

// Every entry of a folder: files with their bytes, anything else marked as such.
inline std::map<std::string, std::string> folder_contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        contents[e.path().filename().string()] =
            e.is_symlink()     ? "(link)"
            : e.is_directory() ? "(folder)"
                               : read_bytes(e.path().string());
    }
    return contents;
}

}  // namespace scenario::testing
