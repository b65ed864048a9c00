#pragma once

#include <optional>
#include <string>

#include "cli/args.hpp"
#include "compiled/compiled_scenario.hpp"

namespace scenario::cli {

struct scenario_names {
    std::string scenario;
    std::string train;
};

// The scenario and train names for the documents LINE and TRAIN: the options when
// given, otherwise taken from the file names ("S_linea.txt" and "S_T-.txt", see
// model/file_names.hpp). Two documents given the other way round (the train document
// first) are named as they are meant, and compiled as given: the compiler then says that
// they are swapped. Throws usage_error saying which name must be given with its option.
scenario_names derive_names(const std::string& line_path, const std::string& train_path,
                            const std::optional<std::string>& scenario_option,
                            const std::optional<std::string>& train_option);

// The compile a command line asks for: LINE and TRAIN (the first two positionals) read
// from their files, with --scenario, --train, --no-plan and --input-encoding.
compile_request request_of(const parsed_args& args);

}  // namespace scenario::cli
