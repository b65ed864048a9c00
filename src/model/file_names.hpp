#pragma once

#include <optional>
#include <string>
#include <string_view>

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

// A document's file name taken apart: the endings are compared ASCII case-free (the
// simulator's file system is), the names keep their case as written. Nothing when the
// name is not one of that document's: a line document is "S_linea.txt", a train
// document "S_T-.txt", both names not empty.
constexpr std::string_view line_document_ending = "_linea.txt";
constexpr std::string_view train_document_ending = "-.txt";

// The scenario name of a line document's file name.
std::optional<std::string> scenario_of_line_document(std::string_view file_name);
// Whether a file name ends as a train document's (but not as a line document's).
bool looks_like_train_document(std::string_view file_name);
// The train name of a train document's file name of scenario `scenario` (its start
// compared case-free too).
std::optional<std::string> train_of_train_document(std::string_view file_name,
                                                   std::string_view scenario);

}  // namespace scenario
