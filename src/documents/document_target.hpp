#pragma once

#include <string>

namespace scenario {

// Where a document writer puts its document and the names that form the file name.
struct document_target {
    std::string folder;  // without a trailing separator
    char separator = '/';
    std::string nome_scenario;
    std::string nome_treno;
};

// The full path of a document called nome in the target's folder.
inline std::string document_path(const document_target& t, const std::string& nome) {
    return t.folder + t.separator + nome;
}

}  // namespace scenario
