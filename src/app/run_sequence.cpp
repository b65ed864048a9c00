#include "app/run_sequence.hpp"

#include "compiler/compile.hpp"
#include "documents/built_in_documents.hpp"
#include "files/file_error.hpp"
#include "files/scenario_files.hpp"
#include "files/stores.hpp"

namespace scenario {

namespace {

constexpr const char* scenario_incorporato = "Vessana_Pralbo";
constexpr const char* treno_incorporato = "5 bis";
constexpr int stato_errore = 1;
constexpr int stato_file_non_scritto = 2;

}  // namespace

int errore(platform& sistema, const std::string& a) {
    sistema.message_box(" Errore n. " + a);
    return stato_errore;
}

void write_documents(const run_state& stato, const run_context& contesto) {
    // Line, train, notes, slow-order form, timetable sheet.
    write_built_in_documents(document_target{contesto.folder, contesto.separator,
                                                 stato.nome_scenario, stato.nome_treno});
}

int memorizza_percorso(run_state& stato, std::int32_t j, run_context& contesto) {
    const std::int32_t fatale = compile_scenario(stato, contesto.documents, j);
    if (fatale != 0) {
        return errore(contesto.system, std::to_string(fatale));
    }
    write_scenario_files(stato, contesto.folder, contesto.separator);
    return 0;
}

int Form_Load(platform& sistema) {
    run_state stato;
    stato.nome_scenario = scenario_incorporato;
    stato.nome_treno = treno_incorporato;
    sistema.show_window("Attendere");
    try {
        const std::string cartella = sistema.own_folder();
        folder_store documenti(cartella, sistema.separator(), /*deletes=*/true);
        run_context contesto{sistema, cartella, sistema.separator(), documenti};
        write_documents(stato, contesto);
        return memorizza_percorso(stato, 1, contesto);
    } catch (const file_error& e) {
        sistema.report_failure(e.what());
        return stato_file_non_scritto;
    }
}

}  // namespace scenario
