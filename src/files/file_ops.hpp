#pragma once

#include <cstdint>
#include <string>

namespace scenario {

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

}  // namespace scenario
