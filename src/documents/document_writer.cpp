#include "documents/document_writer.hpp"

#include <algorithm>
#include <stdexcept>

#include "files/atomic_file.hpp"

namespace scenario {

line_list lines_to_write(line_list righe) {
    const auto fine = std::find(righe.begin(), righe.end(), end_marker);
    return righe.first(static_cast<std::size_t>(fine - righe.begin()));
}

std::string document_text(line_list righe) {
    const line_list da_scrivere = lines_to_write(righe);
    if (da_scrivere.size() > max_lines) {
        throw std::length_error("a document holds at most " + std::to_string(max_lines) +
                                " lines, this one has " + std::to_string(da_scrivere.size()));
    }
    std::size_t dimensione = 0;
    for (const std::string_view riga : da_scrivere) {
        if (riga.find_first_of("\r\n") != std::string_view::npos) {
            throw std::invalid_argument("a document line holds a line end of its own: \"" +
                                        std::string(riga) + "\"");
        }
        dimensione += riga.size() + 2;
    }
    std::string testo;
    testo.reserve(dimensione);
    for (const std::string_view riga : da_scrivere) {
        testo += riga;
        testo += "\r\n";
    }
    return testo;
}

void write_document(const std::string& percorso, line_list righe) {
    replace_file(percorso, document_text(righe));
}

}  // namespace scenario
