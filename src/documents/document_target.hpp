#pragma once

#include <string>

namespace scenario {

// Where a document writer puts its document and the names that form the file name.
struct document_target {
    std::string cartella;  // without a trailing separator
    char separatore = '/';
    std::string nome_scenario;
    std::string nome_treno;
};

// The full path of a document called nome in the target's folder.
inline std::string percorso_documento(const document_target& t, const std::string& nome) {
    return t.cartella + t.separatore + nome;
}

}  // namespace scenario
