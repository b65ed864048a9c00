#pragma once

#include <optional>
#include <string>

namespace scenario::cli {

struct scenario_names {
    std::string scenario;
    std::string train;
};

// The last component of a path (after the last "/", or "\" on Windows).
std::string file_name_of(const std::string& path);

// The scenario and train names for the documents LINE and TRAIN: the options when
// given, otherwise taken from the file names ("S_linea.txt" and "S_T-.txt"). Throws
// usage_error saying which name must be given with its option.
scenario_names derive_names(const std::string& line_path, const std::string& train_path,
                            const std::optional<std::string>& scenario_option,
                            const std::optional<std::string>& train_option);

}  // namespace scenario::cli
