#pragma once

#include <string>
#include <vector>

namespace scenario::cli {

// The file names of the five documents of the built-in scenario, in the order written.
std::vector<std::string> example_document_names();

// Writes the five documents of the built-in scenario into a folder, byte for byte as
// the generator writes them, and returns their file names in the order written.
// Throws file_error when a file cannot be written.
std::vector<std::string> write_example_documents(const std::string& folder);

}  // namespace scenario::cli
