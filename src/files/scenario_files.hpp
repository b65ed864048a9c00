#pragma once

#include <string>
#include <vector>

#include "files/byte_sink.hpp"
#include "files/file_error.hpp"
#include "model/run_state.hpp"

namespace scenario {

enum class file_format { plan, header, grid };

struct output_file {
    file_format format;
    std::string name;
};

// The files a compiled state produces, in the order they are written: the line plan
// file (only when the plan switch is on and a plan exists), the header file, the grid
// file (only when a grid exists).
std::vector<output_file> output_files(const run_state& state);

// Encodes one of them.
void encode_output(const run_state& state, file_format format, byte_sink& out);
// The bytes encode_output writes, counted without encoding.
std::uint64_t output_size(const run_state& state, file_format format);

// Writes the output files into a folder, all together or not at all: every file is
// encoded and written under a temporary name first, and only when all are complete
// do they replace the old ones (commit_all). A failure throws file_error naming the
// file; every old file then keeps its content and no temporary file is left. Returns
// the names written.
std::vector<std::string> write_scenario_files(const run_state& state, const std::string& folder);

}  // namespace scenario
