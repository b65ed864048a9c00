#include "cli/example_documents.hpp"

#include "documents/built_in_documents.hpp"
#include "model/file_names.hpp"

namespace scenario::cli {

namespace {

// The names of the built-in scenario, as the generator sets them.
constexpr const char* scenario_incorporato = "Vessana_Pralbo";
constexpr const char* treno_incorporato = "5 bis";

}  // namespace

std::vector<std::string> example_document_names() {
    const std::string s = scenario_incorporato;
    const std::string t = treno_incorporato;
    return {nome_documento_linea(s), nome_documento_treno(s, t), nome_note(s, t),
            nome_rallentamenti(s, t), nome_scheda(s, t)};
}

std::vector<std::string> write_example_documents(const std::string& folder) {
    write_built_in_documents(document_target{folder, scenario_incorporato, treno_incorporato});
    return example_document_names();
}

}  // namespace scenario::cli
