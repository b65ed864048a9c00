#include "documents/document_writer.hpp"

#include <algorithm>

#include "files/atomic_file.hpp"
#include "files/file_error.hpp"

namespace scenario {

line_list lines_to_write(line_list righe) {
    const auto fine = std::find(righe.begin(), righe.end(), end_marker);
    return righe.first(static_cast<std::size_t>(fine - righe.begin()));
}

namespace {

// The document's text, or the reason the list cannot be written.
std::string text_or_reason(line_list righe, std::string& reason) {
    const line_list da_scrivere = lines_to_write(righe);
    if (da_scrivere.size() > max_lines) {
        reason = "a document holds at most " + std::to_string(max_lines) + " lines, this one has " +
                 std::to_string(da_scrivere.size());
        return {};
    }
    std::size_t dimensione = 0;
    for (const std::string_view riga : da_scrivere) {
        if (riga.find_first_of("\r\n") != std::string_view::npos) {
            reason = "a document line holds a line end of its own: \"" + std::string(riga) + "\"";
            return {};
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

}  // namespace

std::string document_text(line_list righe) {
    std::string reason;
    std::string text = text_or_reason(righe, reason);
    if (!reason.empty()) {
        throw file_error({}, reason);
    }
    return text;
}

void write_document(const std::string& percorso, line_list righe) {
    std::string reason;
    const std::string text = text_or_reason(righe, reason);
    if (!reason.empty()) {
        throw file_error(percorso, reason);
    }
    replace_file(percorso, text);
}

}  // namespace scenario
