#include "app/run_sequence.hpp"

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

void write_documents(const compile_request& request, const run_context& context) {
    // Line, train, notes, slow-order form, timetable sheet.
    write_built_in_documents(document_target{context.folder, request.scenario, request.train});
}

int memorizza_percorso(const compile_request& request, run_context& context,
                       compiled_scenario& compiled) {
    compiled = compile(request, context.documents);
    if (compiled.fatal != 0) {
        return errore(context.system, std::to_string(compiled.fatal));
    }
    // The generator's own names hold no text too long: nothing stops the writing.
    write_scenario_files(compiled.state, context.folder);
    return 0;
}

int Form_Load(platform& sistema) {
    compile_request request;
    request.scenario = scenario_incorporato;
    request.train = treno_incorporato;
    sistema.show_window("Attendere");
    try {
        const std::string folder = sistema.own_folder();
        folder_store documents(folder, /*deletes=*/true);
        run_context context{sistema, folder, documents};
        write_documents(request, context);
        compiled_scenario compiled;
        return memorizza_percorso(request, context, compiled);
    } catch (const failure& e) {
        sistema.report_failure(e.what());
        return stato_file_non_scritto;
    }
}

}  // namespace scenario
