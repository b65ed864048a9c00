#include "documents/document_writer.hpp"

#include <algorithm>
#include <stdexcept>

#include "files/atomic_file.hpp"

namespace scenario {

line_list righe_da_scrivere(line_list righe) {
    const auto fine = std::find(righe.begin(), righe.end(), fine_del_file);
    return righe.first(static_cast<std::size_t>(fine - righe.begin()));
}

std::string testo_documento(line_list righe) {
    const line_list da_scrivere = righe_da_scrivere(righe);
    if (da_scrivere.size() > righe_massime) {
        throw std::length_error("a document holds at most " + std::to_string(righe_massime) +
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

void scrivi_documento(const std::string& percorso, line_list righe) {
    replace_file(percorso, testo_documento(righe));
}

}  // namespace scenario
