#pragma once

#include <string>

namespace scenario {

// The names of the files a run touches, built from the scenario and train names.
inline std::string nome_documento_linea(const std::string& s) {
    return s + "_linea.txt";
}
inline std::string nome_documento_treno(const std::string& s, const std::string& t) {
    return s + "_" + t + "-.txt";
}
inline std::string nome_note(const std::string& s, const std::string& t) {
    return s + "_" + t + "_note.txt";
}
inline std::string nome_rallentamenti(const std::string& s, const std::string& t) {
    return s + "_" + t + "_rallentamenti.txt";
}
inline std::string nome_scheda(const std::string& s, const std::string& t) {
    return s + "_" + t + "_scheda_treno.txt";
}
inline std::string nome_file_tracciato(const std::string& s) {
    return s + "_linea.dat";
}
inline std::string nome_file_intestazione(const std::string& s, const std::string& t) {
    return s + "_" + t + ".sim";
}
inline std::string nome_file_griglia(const std::string& s, const std::string& t) {
    return s + "_" + t + ".dat";
}

}  // namespace scenario
