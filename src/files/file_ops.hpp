#pragma once

#include <string>

namespace scenario {

// Small file-system operations that behave the same on every platform. Paths are
// plain byte strings in the platform's own encoding.
bool is_regular_file(const std::string& path);
bool is_read_only(const std::string& path);  // exists and carries no write permission
// Renames over an existing file; returns an empty string or the reason it failed.
std::string rename_over(const std::string& from, const std::string& to);
// The operating system's text for the last failed C library call.
std::string last_error_text();

}  // namespace scenario
