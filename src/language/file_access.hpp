#pragma once

#include <optional>
#include <string>
#include <vector>

namespace scenario::language {

// What the server reads from disk: the documents of a pair that the editor has not
// opened. The program gives the real one; tests give documents in memory.
class file_access {
  public:
    virtual ~file_access() = default;
    // The whole file at a path, or nothing when it cannot be read.
    virtual std::optional<std::string> read(const std::string& path) const = 0;
    // The names of the files in a folder (none when it cannot be listed).
    virtual std::vector<std::string> list(const std::string& folder) const = 0;
};

}  // namespace scenario::language
