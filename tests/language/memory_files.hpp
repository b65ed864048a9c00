// Documents on "disk" for the language server's tests: paths to bytes in memory.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "language/file_access.hpp"

namespace scenario::language::testing {

class memory_files : public file_access {
  public:
    std::map<std::string, std::string> files;  // path -> bytes
    std::optional<std::string> read(const std::string& path) const override {
        const auto it = files.find(path);
        return it == files.end() ? std::nullopt : std::optional(it->second);
    }
    std::vector<std::string> list(const std::string& folder) const override {
        std::vector<std::string> names;
        for (const auto& [path, bytes] : files) {
            if (path.rfind(folder + "/", 0) == 0) {
                names.push_back(path.substr(folder.size() + 1));
            }
        }
        return names;
    }
};

}  // namespace scenario::language::testing
