#include "cli/example_documents.hpp"

#include "model/file_names.hpp"

// The built-in documents come from the document writers. This file builds with or
// without them, so the tool can be built before they are part of the library.
#if __has_include("documents/built_in_documents.hpp")
#include "documents/built_in_documents.hpp"
#define SCENARIO_HAS_BUILT_IN_DOCUMENTS 1
#else
#define SCENARIO_HAS_BUILT_IN_DOCUMENTS 0
#endif

namespace scenario::cli {

namespace {

// The names of the built-in scenario, as the generator sets them.
constexpr const char* scenario_incorporato = "Vessana_Pralbo";
constexpr const char* treno_incorporato = "5 bis";

}  // namespace

std::vector<std::string> scrivi_documenti_esempio(const std::string& cartella, char separatore) {
    const std::string s = scenario_incorporato;
    const std::string t = treno_incorporato;
#if SCENARIO_HAS_BUILT_IN_DOCUMENTS
    scrivi_documenti_incorporati(document_target{cartella, separatore, s, t});
#else
    (void)cartella;
    (void)separatore;
#endif
    return {nome_documento_linea(s), nome_documento_treno(s, t), nome_note(s, t),
            nome_rallentamenti(s, t), nome_scheda(s, t)};
}

bool documenti_esempio_disponibili() {
    return SCENARIO_HAS_BUILT_IN_DOCUMENTS != 0;
}

}  // namespace scenario::cli
