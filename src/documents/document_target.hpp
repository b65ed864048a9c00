#pragma once

#include <string>

#include "files/file_ops.hpp"

namespace scenario {

// Where a document writer puts its document and the names that form the file name.
struct document_target {
    std::string folder;  // without a trailing separator
    std::string nome_scenario;
    std::string nome_treno;
};

// The full path of the document `name` in the target's folder.
inline std::string document_path(const document_target& t, const std::string& name) {
    return path_in(t.folder, name);
}

}  // namespace scenario
