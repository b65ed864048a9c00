#include "documents/built_in_documents.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

// Slow-order form "Modulo M. 3". Table lines 9 to 39 are 82 characters with bars in
// columns 2, 6, 35, 48, 59, 69 and 82.
// clang-format off
constexpr std::string_view riga_vuota =
    " |   |                            |            |          |         |            |";

constexpr std::string_view righe[] = {
    // lines 1-7: heading
    "",
    "                               Modulo M. 3",
    "                           ORDINE DI RALLENTAMENTO",
    " ________________________________________________________________________________",
    "  Linea  VESSANA - PRALBO",
    "",
    "  Si ordina al macchinista del treno 5 bis di effettuare i seguenti rallentamenti",
    // lines 8-12: table heading
    "  _______________________________________________________________________________",
    " |   |                            |Inizio dopo |          |         |            |",
    " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
    " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
    " |___|____________________________|____________|__________|_________|____________|",
    // lines 13-14: the two slowdowns
    " | 1 |   VELMORA L. - BIRMO L.    |     5      |    40    |   400   |    ---     |",
    " | 2 |PRALBO S.FELI.- PRALBO P.P. |     4      |    60    |   200   |     A      |",
    // lines 15-38: empty rows
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    riga_vuota,
    // lines 39-46: closing rule and legend
    " |___|____________________________|____________|__________|_________|____________|",
    "",
    "              Prescrizioni specifiche",
    " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
    " B - Interessa anche la stazione di.......",
    " D - Rallentamneto N. ... e N. ...  sono contigui",
    " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
    "     i giorni esclusi i seguenti:.........",
};
// clang-format on

}  // namespace

line_list slow_order_lines() {
    return righe;
}

void dati_rallentamenti(const document_target& t) {
    write_document(document_path(t, nome_rallentamenti(t.nome_scenario, t.nome_treno)),
                     righe);
}

}  // namespace scenario
