#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "files/byte_reader.hpp"

namespace scenario {

// The separator this platform's paths are joined with.
#ifdef _WIN32
constexpr char path_separator = '\\';
#else
constexpr char path_separator = '/';
#endif

// Whether a character separates the components of a path: path_separator, and on
// Windows "/" too.
constexpr bool is_path_separator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

// The last component of a path (after the last separator).
std::string_view file_name_of(std::string_view path);
// The path before its last component, without the separator; "." for a path of one
// component.
std::string folder_of(std::string_view path);
// The path of the file `name` in `folder` (given without a trailing separator).
std::string path_in(const std::string& folder, std::string_view name);

// Small file-system operations that behave the same on every platform. Paths are
// plain byte strings in the platform's own encoding. Failures throw file_error.
bool is_regular_file(const std::string& path);
bool path_exists(const std::string& path);  // a file, a folder or anything else
bool is_read_only(const std::string& path);  // exists and carries no write permission
// Renames over an existing file.
void rename_over(const std::string& from, const std::string& to);
// The operating system's text for the last failed C library call.
std::string last_error_text();

// The largest file read whole: a document, or a binary file to decode.
constexpr std::uint64_t largest_document = std::uint64_t{64} << 20;

// The content of a regular file of at most `limit` bytes. Anything else (an empty
// name, a missing file, a folder, a longer file, a read error) throws file_error
// saying "cannot read "path": " and the reason.
std::string read_whole_file(const std::string& path, std::uint64_t limit = largest_document);

// A regular file of any size read piece by piece, for the decoders to stream it. The
// same faults as read_whole_file throw the same file_error when it is opened; a read
// that fails later, or a file that shrinks while it is read, throws file_error too.
class file_source final : public byte_source {
  public:
    explicit file_source(const std::string& path);
    ~file_source() override;
    file_source(const file_source&) = delete;
    file_source& operator=(const file_source&) = delete;

    std::uint64_t size() const override { return size_; }
    void read_at(std::uint64_t offset, char* to, std::size_t n) override;

  private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t at_ = 0;  // the file's position
};

}  // namespace scenario
