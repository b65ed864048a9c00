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
std::vector<output_file> output_files(const run_state& stato);

// Encodes one of them.
void encode_output(const run_state& stato, file_format format, byte_sink& out);

// A scenario file that could not be written: the file and the reason, and the names
// of the files written whole before it.
class scenario_write_error : public file_error {
  public:
    scenario_write_error(const file_error& cause, std::vector<std::string> written)
        : file_error(cause), written_(std::move(written)) {}
    const std::vector<std::string>& written() const { return written_; }

  private:
    std::vector<std::string> written_;
};

// Writes the output files into a folder, in order. Each replaces an older one whole or
// not at all; a failure throws scenario_write_error and the later files are not
// written. Returns the names written.
std::vector<std::string> write_scenario_files(const run_state& stato, const std::string& cartella,
                                              char separatore);

}  // namespace scenario
