#include "files/scenario_files.hpp"

#include <memory>

#include "files/atomic_file.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "model/file_names.hpp"

namespace scenario {

std::vector<output_file> output_files(const run_state& stato) {
    std::vector<output_file> files;
    if (stato.con_tracciato != 0 && stato.tracciato.exists()) {
        files.push_back({file_format::plan, nome_file_tracciato(stato.nome_scenario)});
    }
    files.push_back(
        {file_format::header, nome_file_intestazione(stato.nome_scenario, stato.nome_treno)});
    if (!stato.celle.empty()) {
        files.push_back(
            {file_format::grid, nome_file_griglia(stato.nome_scenario, stato.nome_treno)});
    }
    return files;
}

void encode_output(const run_state& stato, file_format format, byte_sink& out) {
    switch (format) {
        case file_format::plan:
            encode_plan(stato.tracciato, out);
            return;
        case file_format::header:
            encode_header(stato.voci, out);
            return;
        case file_format::grid:
            encode_grid(stato.celle, out);
            return;
    }
}

std::vector<std::string> write_scenario_files(const run_state& stato, const std::string& cartella,
                                              char separatore) {
    std::vector<std::unique_ptr<atomic_file>> files;
    std::vector<std::string> names;
    std::string path;
    try {
        for (const output_file& file : output_files(stato)) {
            path = cartella + separatore + file.name;
            files.push_back(std::make_unique<atomic_file>(path));
            encode_output(stato, file.format, *files.back());
            files.back()->finish();
            names.push_back(file.name);
        }
        std::vector<atomic_file*> all;
        for (const auto& f : files) {
            all.push_back(f.get());
        }
        commit_all(all);
    } catch (const file_error& e) {
        // An encoder does not know the file its bytes go to. Nothing was replaced.
        if (e.path().empty()) {
            throw file_error(path, e.reason());
        }
        throw;
    }
    return names;
}

}  // namespace scenario
