#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "decompile/decompile.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"
#include "model/failure.hpp"

namespace scenario {

// Where the files of one compiled scenario are: the header file (NAME_TRAIN.sim), the
// grid file (NAME_TRAIN.dat) and, when there is one, the line plan file
// (NAME_linea.dat). `folder` is set when they were found in a folder: the plan file is
// then looked for once the header file gives the scenario's name.
struct compiled_file_paths {
    std::string header;
    std::string grid;
    std::optional<std::string> plan;
    std::optional<std::string> folder;
};

// Paths that do not name one scenario's files: the sentence says what is missing or
// too many.
class paths_error : public failure {
  public:
    explicit paths_error(const std::string& why) : failure(why) {}
};

// The files named by their endings (".sim", "_linea.dat", any other ".dat", compared
// ASCII case-free): one header file, one grid file, at most one plan file; or a single
// folder holding one header file, the grid file of the same name and, perhaps, the plan
// file. Throws paths_error, or file_error for a folder that cannot be listed.
compiled_file_paths locate_compiled_files(const std::vector<std::string>& paths);

// A file that is not the scenario file it should be, or is cut short: the decoder's
// fault with the file's path; what() reads "PATH: cannot decode the grid file at byte
// offset N: reason".
class undecodable_file : public file_error {
  public:
    undecodable_file(const std::string& path, file_format format, std::uint64_t offset,
                     const std::string& reason);
    file_format format() const { return format_; }
    std::uint64_t offset() const { return offset_; }

  private:
    file_format format_;
    std::uint64_t offset_;
};

// The files decoded for a decompile: the header and the grid whole, the plan streamed
// once through plan_analyser (its bytes stay in the file, read again for the check).
// Throws undecodable_file, or file_error for a file that cannot be read.
struct read_files {
    compiled_files files;
    compiled_file_paths paths;
};
read_files read_compiled_files(compiled_file_paths paths);

}  // namespace scenario
