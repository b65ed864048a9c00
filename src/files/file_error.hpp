#pragma once

#include <cstdint>
#include <string>

#include "model/failure.hpp"

namespace scenario {

// A file that could not be read, written or made sense of: names the file and the
// reason. The path is empty for bytes not tied to a file yet (an encoder's or a
// decoder's); whoever knows the file names it.
class file_error : public failure {
  public:
    // "cannot write "path": reason"
    file_error(std::string path, const std::string& reason)
        : failure(reason, "cannot write \"" + path + "\": " + reason), path_(std::move(path)) {}
    // Any other sentence about the file and the reason.
    file_error(std::string path, std::string reason, const std::string& message)
        : failure(std::move(reason), message), path_(std::move(path)) {}

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// A document whose text is at fault at one place (line and column from 1, the column
// counting characters): what() reads "PATH:LINE:COLUMN: error: reason", as the
// compiler's diagnostics begin.
class document_text_error : public file_error {
  public:
    document_text_error(const std::string& path, int line, int column, const std::string& reason)
        : file_error(path, reason,
                     path + ':' + std::to_string(line) + ':' + std::to_string(column) +
                         ": error: " + reason),
          line_(line),
          column_(column) {}
    int line() const { return line_; }
    int column() const { return column_; }

  private:
    int line_;
    int column_;
};

// Bytes that do not follow their file's format: the byte offset of the first value
// that could not be read, and why (the message is the reason alone).
class decode_error : public file_error {
  public:
    decode_error(std::uint64_t offset, const std::string& reason)
        : file_error(std::string(), reason, reason), offset_(offset) {}
    std::uint64_t offset() const { return offset_; }

  private:
    std::uint64_t offset_;
};

}  // namespace scenario
