#include "documents/built_in_documents.hpp"
#include "model/file_names.hpp"

namespace scenario {

namespace {

// Notes for the driver. The accented letters are Windows-1252 bytes written as
// escapes, so the file holds the same bytes whatever the source encoding or locale.
// clang-format off
constexpr std::string_view righe[] = {
    // lines 1-4: about the run
    "Treno impostato in rango B - la locomotiva \xE8 un E444.",
    "Questo treno proviene da Belvio ed \xE8 il proseguimento del treno 5 (scenario Belvio_Vessana_5). Non effettua fermate fino a Pralbo.",
    "Il percorso \xE8 un p\xF2 impegnativo dato le pendenze, i rallentamenti, alcuni segnali chiusi e la cattiva aderenza in galleria.",
    "Ci sono quattro variazioni di progressiva chilometrica ma il simulatore ne consente tre, per cui dopo la stazione di Pralbo P.P. non vi sono pi\xF9 cippi chilometrici.",
    // lines 5-8: acknowledgement and authors
    "Si ringraziano i colleghi del gruppo di prova per le verifiche sulla linea e sui tempi di percorrenza.",
    "",
    "Scenario realizzato dagli autori della linea (tracciato, profili e segnalamento).",
    "Orari, rallentamenti e scheda treno verificati dal gruppo di prova dello scenario.",
};
// clang-format on

}  // namespace

line_list notes_lines() {
    return righe;
}

void dati_note(const document_target& t) {
    write_document(document_path(t, nome_note(t.nome_scenario, t.nome_treno)), righe);
}

}  // namespace scenario
