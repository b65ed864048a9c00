#pragma once

#include <optional>
#include <string>
#include <vector>

namespace scenario::language {

// What the server reads from disk: the documents of a pair that the editor has not
// opened. The program gives the real one (disk_files); tests give documents in memory.
class file_access {
  public:
    virtual ~file_access() = default;
    // The whole file at a path; nothing when there is no file there. A file that is there
    // but cannot be read throws file_error with the reason.
    virtual std::optional<std::string> read(const std::string& path) const = 0;
    // The names of the files in a folder (none when it cannot be listed).
    virtual std::vector<std::string> list(const std::string& folder) const = 0;
};

// The real disk.
class disk_files : public file_access {
  public:
    std::optional<std::string> read(const std::string& path) const override;
    std::vector<std::string> list(const std::string& folder) const override;
};

}  // namespace scenario::language
