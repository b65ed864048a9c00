#include "files/scenario_files.hpp"

#include "model/file_names.hpp"
#include "files/atomic_file.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"

namespace scenario {

std::vector<std::string> scrivi_file_scenario(const run_state& stato, const std::string& cartella,
                                              char separatore) {
    std::vector<std::string> scritti;
    const auto scrivi = [&](const std::string& nome, auto&& encode) {
        atomic_file file(cartella + separatore + nome);
        encode(file);
        file.commit();
        scritti.push_back(nome);
    };
    if (stato.con_tracciato != 0 && stato.tracciato.esiste()) {
        scrivi(nome_file_tracciato(stato.nome_scenario),
               [&](byte_sink& out) { encode_plan(stato.tracciato, out); });
    }
    scrivi(nome_file_intestazione(stato.nome_scenario, stato.nome_treno),
           [&](byte_sink& out) { encode_header(stato.voci, out); });
    if (!stato.celle.empty()) {
        scrivi(nome_file_griglia(stato.nome_scenario, stato.nome_treno),
               [&](byte_sink& out) { encode_grid(stato.celle, out); });
    }
    return scritti;
}

}  // namespace scenario
