#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace scenario::language {

// The pair a document belongs to: a line document "S_linea.txt" with a train document
// "S_T-.txt" of the same folder (file names taken apart as model/file_names.hpp does).
struct pair_names {
    std::string scenario;  // the names the compiler is asked for, as the files write them
    std::string train;
    std::optional<std::string> line_file;  // the file names in the folder; nothing: not there
    std::optional<std::string> train_file;
};

// The pair of the document named `name`, given the names of the open documents of its
// folder and of the files there (either list may hold it). A line document takes an open
// train document of its scenario first, else the first such file by name; a train document
// takes the line document of the longest scenario name that fits it, else it is read
// alone with the scenario name up to its first "_". Nothing when the name is neither a
// line document's nor a train document's.
std::optional<pair_names> pair_of(std::string_view name, std::span<const std::string> open,
                                  std::span<const std::string> on_disk);

}  // namespace scenario::language
