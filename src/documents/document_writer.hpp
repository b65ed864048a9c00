#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace scenario {

// A document as its lines, in order, without line ends. The list ends at its last
// entry or at the first entry equal to fine_del_file, whichever comes first; the
// marker itself is never written.
using line_list = std::span<const std::string_view>;

inline constexpr std::string_view fine_del_file = "riferimento fine del file";
inline constexpr std::size_t righe_massime = 1000;

// The lines written before the end marker (or all of them when there is none).
line_list righe_da_scrivere(line_list righe);

// The bytes of the document: each line as it stands (single-byte text, no byte-order
// mark), then CR LF, the last line included. More than righe_massime lines, or a line
// holding a CR or LF of its own, is a fault of the caller: std::length_error or
// std::invalid_argument, and nothing is produced.
std::string testo_documento(line_list righe);

// Writes the document to percorso, replacing an older file of that name whole or not
// at all. A file operation that fails throws file_error naming the file and the reason;
// a faulty list throws as testo_documento does, before the file is touched.
void scrivi_documento(const std::string& percorso, line_list righe);

}  // namespace scenario
