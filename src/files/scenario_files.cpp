#include "files/scenario_files.hpp"

#include <memory>

#include "files/atomic_file.hpp"
#include "files/file_ops.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "model/file_names.hpp"

namespace scenario {

std::vector<output_file> output_files(const run_state& state) {
    std::vector<output_file> files;
    if (state.con_tracciato != 0 && state.tracciato.exists()) {
        files.push_back({file_format::plan, nome_file_tracciato(state.nome_scenario)});
    }
    files.push_back(
        {file_format::header, nome_file_intestazione(state.nome_scenario, state.nome_treno)});
    if (!state.celle.empty()) {
        files.push_back(
            {file_format::grid, nome_file_griglia(state.nome_scenario, state.nome_treno)});
    }
    return files;
}

void encode_output(const run_state& state, file_format format, byte_sink& out) {
    switch (format) {
        case file_format::plan:
            encode_plan(state.tracciato, out);
            return;
        case file_format::header:
            encode_header(state.voci, out);
            return;
        case file_format::grid:
            encode_grid(state.celle, out);
            return;
    }
}

std::uint64_t output_size(const run_state& state, file_format format) {
    switch (format) {
        case file_format::plan:
            return encoded_plan_size(state.tracciato);
        case file_format::header: {
            std::uint64_t bytes = 0;
            for (const voce& v : state.voci) {
                bytes += header_record_size(v);
            }
            return bytes;
        }
        case file_format::grid:
            return grid_file_size(state.celle.size());
    }
    return 0;
}

std::vector<std::string> write_scenario_files(const run_state& state, const std::string& folder) {
    std::vector<std::unique_ptr<atomic_file>> files;
    std::vector<std::string> names;
    std::string path;
    try {
        for (const output_file& file : output_files(state)) {
            path = path_in(folder, file.name);
            files.push_back(std::make_unique<atomic_file>(path));
            encode_output(state, file.format, *files.back());
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
