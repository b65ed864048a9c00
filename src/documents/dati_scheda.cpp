#include "documents/built_in_documents.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

// Timetable sheet of train "5 bis". Run table lines 14 to 43 are 83 characters with
// bars in columns 2, 8, 14, 25, 31, 60, 77 and 83.
// clang-format off
constexpr std::string_view righe[] = {
    // lines 1-7: title box
    "",
    "",
    "  ___________________                                               ______________",
    " |                   |                    SCHEDA                   |              |",
    " |  TRENO n. 5 bis   |                   da: VESSANA               |    V160 B    |",
    " |___________________|                    a: PRALBO CASTELMA       |     125%     |",
    "                                                                   |______________|",
    // lines 8-12: category and braked mass (line 9 ends in seven blanks)
    "  ___________________                ___________________",
    " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
    " |  INTERREGIONALE   |              |       600T        |",
    " |___________________|              |___________________|",
    "",
    // lines 13-16: run table heading
    "  ________________________________________________________________________________",
    " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
    " | Lim.|Marc.|          |  Rs |                            |                |     |",
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    // lines 17-42: the run
    " |  80 |  65 |   0.000  |  80 | VESSANA                    |          19.09 |     |",
    " | 140 | 130 |   0.700  | 120 | Cavalcavia Km 0,661        |      19.10     |     |",
    " |     |     |   4.700  |     | MELISCANO LOVENZA          |      19.13     | 0.5 |",
    " |     | 140 |   9.000  |     | Cippo Km 9.000             |      19.14     |     |",
    " |     |     |  10.300  |     | ROCCALEVINA                |      19.15     |     |",
    " | 130 | 130 |  15.000  | 110 | Cippo Km 15.000            |      19.17     |     |",
    " |     |     |  15.800  |     | PERZANO GUALMIA            |      19.18     |     |",
    " | 140 | 140 |  17.000  | 120 | Cippo Km 17.000            |      19.18     |     |",
    " |     |     |  20.800  |     | FORNEVAL COSTABRINA        |      19.20     |     |",
    " |  80 |  60 |  23.950  |  80 | Deviatoio di ingresso      |                |     |",
    " |     |     |  24.500  |     | VELMORA LOVENZA            |      19.23     |     |",
    " | 135 | 115 |   9.800  | 115 | Deviatoio di uscita        |                |     |",
    " |  60 |  60 |   0.500  |  60 | Deviatoio di ingresso      |                |     |",
    " |     |     |  22.000  |     | BIRMO LOVENZA              |      19.31     | 1.5 |",
    " | 120 | 120 |  21.500  | 100 | Deviatoio di uscita        |                |     |",
    " |  95 |  95 |  13.700  |  95 | Deviatoio di ingresso      |                |     |",
    " |     |     |  13.200  |     | SALVERINO                  |      19.37     | 0.5 |",
    " | 105 | 105 |  12.700  | 100 | Deviatoio di uscita        |                |     |",
    " |     |     |   6.200  |     | PRALBO S.FELIZIO           |      19.41     |     |",
    " | 130 | 130 |   1.500  | 110 | BIVIO TORMIA               |      19.45     |  1  |",
    " |     |     |   4.800  |     | BIVIO TORMIA per Pralbo    |                |     |",
    " |  60 |  30 |   0.550  |  60 | Deviatoio di ingresso      |                |     |",
    " |     |     |   0.000  |     | PRALBO PORTA PRINCIPE      | 19.50    19.53 |  1  |",
    " |  80 |  75 |   0.550  |  80 | Deviatoio di uscita        |                |     |",
    " |     |     |   1.100  |     | BIVIO TRAVERSATA           |      19.54     |     |",
    " |     |     |   2.500  |     | PRALBO CASTELMA            | 19.58          |     |",
    // lines 43-44: closing rule
    " |_____|_____|__________|_____|____________________________|________________|_____|",
    "",
};
// clang-format on

}  // namespace

line_list timetable_lines() {
    return righe;
}

void dati_scheda(const document_target& t) {
    write_document(document_path(t, nome_scheda(t.nome_scenario, t.nome_treno)), righe);
}

}  // namespace scenario
