#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// A document as its lines, in order, without line ends. The list ends at its last
// entry or at the first entry equal to end_marker, whichever comes first; the
// marker itself is never written.
using line_list = std::span<const std::string_view>;

inline constexpr std::string_view end_marker = "riferimento end del file";
inline constexpr std::size_t max_lines = 1000;

// The lines written before the end marker (or all of them when there is none).
line_list lines_to_write(line_list lines);

// The bytes of the document: each line as it stands (single-byte text, no byte-order
// mark), then CR LF, the last line included. More than max_lines lines, or a line
// holding a CR or LF of its own, is a fault of the caller: file_error (without a path)
// saying which, and nothing is produced.
std::string document_bytes(line_list lines);

// Writes the document to path, replacing an older file of that name whole or not
// at all. A file operation that fails throws file_error naming the file and the reason;
// a faulty list throws file_error naming the file, before the file is touched.
void write_document(const std::string& path, line_list lines);

}  // namespace scenario
