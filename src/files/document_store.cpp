#include "files/document_store.hpp"

#include <cstdio>

#include "files/file_ops.hpp"

namespace scenario {

bool folder_store::exists(const std::string& name) const {
    return !name.empty() && is_regular_file(path(name));
}

std::optional<std::string> folder_store::read(const std::string& name) const {
    if (!exists(name)) {
        return std::nullopt;
    }
    std::FILE* f = std::fopen(path(name).c_str(), "rb");
    if (f == nullptr) {
        return std::nullopt;
    }
    std::string content;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        content.append(buffer, got);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        return std::nullopt;
    }
    return content;
}

void folder_store::remove(const std::string& name) {
    if (deletes_) {
        std::remove(path(name).c_str());
    }
}

bool memory_store::exists(const std::string& name) const {
    return !name.empty() && documents_.count(name) != 0;
}

std::optional<std::string> memory_store::read(const std::string& name) const {
    const auto it = documents_.find(name);
    if (it == documents_.end()) {
        return std::nullopt;
    }
    return it->second;
}

void memory_store::remove(const std::string& name) {
    if (documents_.erase(name) != 0) {
        removed_.insert(name);
    }
}

}  // namespace scenario
