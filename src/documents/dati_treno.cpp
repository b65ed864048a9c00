#include "documents/built_in_documents.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

// Train description document of train "5 bis": make-up, clock, adhesion, speed
// limits, stations, slowdowns and signals. Most rows keep their values in fixed,
// right-aligned columns.
// clang-format off
constexpr std::string_view righe[] = {
    // lines 1-5: make-up and clock (line 5 ends in a blank)
    "[generale]",
    "numero vetture,    12",
    "percentuale massa frenata,    125",
    "sabbia,    300",
    "orologio,    19              8             15 ",
    // lines 6-16: adhesion
    "[aderenze]",
    "aderenza,   0,    100",
    "aderenza,   12750,    85",
    "aderenza,   13750,    95",
    "aderenza,   14750,   100",
    "aderenza,   29100,    82",
    "aderenza,   33500,    98",
    "aderenza,   37000,    85",
    "aderenza,   41700,    97",
    "aderenza,   48600,    95",
    "aderenza,   55000,    99",
    // lines 17-30: speed limits
    "[vel_limite]",
    "velocita,       0,    80",
    "velocita,     650,   140",
    "velocita,   15000,   130",
    "velocita,   17000,   140",
    "velocita,   23950,    80",
    "velocita,   25200,   135",
    "velocita,   34500,    60",
    "velocita,   35500,   120",
    "velocita,   43350,    95",
    "velocita,   44300,   105",
    "velocita,   55400,   130",
    "velocita,   59750,    60",
    "velocita,   60750,    80",
    // lines 31-44: stations
    "[stazioni]",
    "stazione,       0,  4,  900,  1, 0, 0,  4,1,1,  2,1,1,    1,  19, 9, 0, VESSANA",
    "stazione,    4700, 22,  300,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, MELISCANO L.",
    "stazione,   10300, 22,  600,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, ROCCALEVINA",
    "stazione,   15850, 22,  600,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, PERZANO GUALMIA",
    "stazione,   20850, 22,  400,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, FORNEVAL COSTABRINA",
    "stazione,   24500,  4,  700,  1, 0, 1,  4,1,1,  2,1,1,    0,   0, 0, 0, VELMORA LOVENZA",
    "stazione,   35000, 12,  600,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, BIRMO LOVENZA",
    "stazione,   43800, 12,  600,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, SALVERINO",
    "stazione,   50750, 22,  500,  0, 0, 1,  0,0,0,  4,1,1,    0,   0, 0, 0, PRALBO S.FELIZIO",
    "stazione,   55550, 11,  300,  0, 0, 1,  1,1,0,  4,1,1,    0,   0, 0, 0, BIVIO TORMIA",
    "stazione,   60300,  2,  700,  0, 1, 0,  1,1,0,  3,1,1,   90,  19,53, 0, PRALBO P.P.",
    "stazione,   61250, 25,  300,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, BIVIO TRAVERSATA",
    "stazione,   63000,  2,  700,  1, 0, 0,  1,1,0,  2,1,1,    0,  19,58, 0, PRALBO CASTELMA",
    // lines 45-47: slowdowns
    "[rallentamenti]",
    "rallentamento,   30100,    40,  400, 0,  1,  0",
    "rallentamento,   53400,    60,  200, 1,  1,  0",
    // lines 48-82: signals
    "[segnali]",
    "segnale,    1950,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,    3700,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,    6450,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,    7800,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,    9150,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   11950,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   13400,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   14900,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   18000,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   19700,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   22050,   2, 5, 6,  0, 0,    2,  2,1,0, 0",
    "segnale,   23500,   2, 2, 4,  1, 0,    2,  2,1,1, 0",
    "segnale,   26350,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   27900,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   29450,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   31000,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   32350,   2, 4, 1,  0, 0,    2,  2,1,0, 0",
    "segnale,   33800,   2, 4, 1,  0, 0,    2,  2,1,0, 0",
    "segnale,   36000,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   37200,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   38650,   2, 3, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   40000,   2, 4, 0,  0, 0,    0,  0,0,0, 250",
    "segnale,   41350,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   42700,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   45800,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   47150,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   48500,   2, 4, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   49550,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   52250,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   54200,   2, 4, 0,  0, 0,    2,  2,0,0, 0",
    "segnale,   56850,   2, 3, 0,  0, 0,    0,  0,0,0, 0",
    "segnale,   57900,   2, 4, 1,  0, 0,    2,  2,1,0, 230",
    "segnale,   59400,   2, 3, 1,  1, 0,    2,  2,1,1, 0",
    "segnale,   61400,   2, 2, 3,  1, 0,    2,  2,1,1, 255",
    // lines 83-84: no codes
    "[codici]",
    "[fine]",
};
// clang-format on

}  // namespace

line_list train_document_lines() {
    return righe;
}

void dati_treno(const document_target& t) {
    write_document(document_path(t, nome_documento_treno(t.nome_scenario, t.nome_treno)),
                     righe);
}

}  // namespace scenario
