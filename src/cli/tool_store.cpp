#include "cli/tool_store.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "model/file_names.hpp"
#include "files/file_ops.hpp"

namespace scenario::cli {

std::optional<std::string> read_whole_file(const std::string& path, std::uint64_t limit,
                                           std::string& why) {
    const std::string shown = "\"" + path + "\"";
    struct stat st {};
    if (path.empty()) {
        why = "cannot read a file with an empty name";
        return std::nullopt;
    }
    if (::stat(path.c_str(), &st) != 0) {
        why = "cannot read " + shown + ": " + last_error_text();
        return std::nullopt;
    }
    if ((st.st_mode & S_IFMT) == S_IFDIR) {
        why = "cannot read " + shown + ": it is a folder, not a file";
        return std::nullopt;
    }
    if ((st.st_mode & S_IFMT) != S_IFREG) {
        why = "cannot read " + shown + ": it is not a regular file";
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(st.st_size) > limit) {
        why = "cannot read " + shown + ": it is " + std::to_string(st.st_size) +
              " bytes long, more than the " + std::to_string(limit >> 20) + " MiB a file may have";
        return std::nullopt;
    }
    errno = 0;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) {
        why = "cannot read " + shown + ": " + last_error_text();
        return std::nullopt;
    }
    std::string content;
    char buffer[1 << 16];
    std::size_t got = 0;
    // The file may grow after the size test; read at most one byte past the limit.
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0 && content.size() <= limit) {
        content.append(buffer, got);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        why = "cannot read " + shown + ": " + last_error_text();
        return std::nullopt;
    }
    if (content.size() > limit) {
        why = "cannot read " + shown + ": it grew past the " + std::to_string(limit >> 20) +
              " MiB a file may have while it was read";
        return std::nullopt;
    }
    return content;
}

std::string tool_store::give(const std::string& name, const std::string& path) {
    std::string why;
    auto content = read_whole_file(path, largest_document, why);
    if (!content) {
        return why;
    }
    documents_[name] = entry{path, std::move(*content)};
    return {};
}

bool tool_store::exists(const std::string& name) const {
    return !name.empty() && documents_.count(name) != 0;
}

std::optional<std::string> tool_store::read(const std::string& name) const {
    const auto it = documents_.find(name);
    if (it == documents_.end()) {
        return std::nullopt;
    }
    return it->second.content;
}

void tool_store::remove(const std::string& name) {
    // The user's documents stay where they are: the tool only reads them.
    (void)name;
}

std::string tool_store::path_of(const std::string& name) const {
    const auto it = documents_.find(name);
    return it == documents_.end() ? name : it->second.path;
}

std::optional<std::string> give_documents(tool_store& store, const scenario_names& names,
                                          const std::string& line, const std::string& train) {
    if (std::string why = store.give(nome_documento_linea(names.scenario), line); !why.empty()) {
        return why;
    }
    if (std::string why = store.give(nome_documento_treno(names.scenario, names.train), train);
        !why.empty()) {
        return why;
    }
    return std::nullopt;
}

}  // namespace scenario::cli
