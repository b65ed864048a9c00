#include "files/stores.hpp"

#include <cstdio>

#include "files/file_error.hpp"
#include "files/file_ops.hpp"

namespace scenario {

bool folder_store::exists(const std::string& name) const {
    return !name.empty() && is_regular_file(path(name));
}

shared_document folder_store::read(const std::string& name) const {
    if (!exists(name)) {
        return nullptr;
    }
    // A file that cannot be read says why.
    return std::make_shared<const std::string>(read_whole_file(path(name)));
}

void folder_store::remove(const std::string& name) {
    if (deletes_) {
        std::remove(path(name).c_str());
    }
}

bool memory_store::exists(const std::string& name) const {
    return !name.empty() && documents_.count(name) != 0;
}

shared_document memory_store::read(const std::string& name) const {
    const auto it = documents_.find(name);
    return it == documents_.end() ? nullptr : it->second;
}

void memory_store::remove(const std::string& name) {
    if (documents_.erase(name) != 0) {
        removed_.insert(name);
    }
}

void tool_store::give(const std::string& name, const std::string& path,
                      text_encoding encoding) {
    std::string content = read_whole_file(path);
    if (encoding == text_encoding::utf_8) {
        windows1252_text converted = utf8_to_windows1252(content);
        if (const auto& fault = converted.fault) {
            const bool no_form = fault->why == text_fault::kind::no_windows1252_form;
            throw document_text_error(path, fault->line, fault->column,
                                      fault->what + (no_form ? ", the documents' encoding"
                                                             : ": the file is not UTF-8 text"));
        }
        content = std::move(converted.text);
    }
    documents_[name] = entry{path, std::make_shared<const std::string>(std::move(content))};
}

bool tool_store::exists(const std::string& name) const {
    return !name.empty() && documents_.count(name) != 0;
}

shared_document tool_store::read(const std::string& name) const {
    const auto it = documents_.find(name);
    return it == documents_.end() ? nullptr : it->second.content;
}

void tool_store::remove(const std::string& name) {
    // The user's documents stay where they are: the tool only reads them.
    (void)name;
}

std::string tool_store::path_of(const std::string& name) const {
    const auto it = documents_.find(name);
    return it == documents_.end() ? name : it->second.path;
}

}  // namespace scenario
