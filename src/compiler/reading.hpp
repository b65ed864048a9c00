#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/diagnostics.hpp"
#include "files/document_store.hpp"
#include "compiler/field_reader.hpp"
#include "compiler/tunnel_list.hpp"
#include "model/run_state.hpp"

namespace scenario {

// What a keyword handler tells the loop that called it.
enum class esito {
    avanti,        // go on
    fine_lettura,  // a position beyond the grid (error 15): this document's loop ends,
                   // the steps after the loop still run
    ritorna,       // an error was recorded and the document deleted: the reader returns
};

// ASCII case-insensitive substring test, and the exact one.
bool contiene(std::string_view campo, std::string_view parola);
inline bool contiene_esatto(std::string_view campo, std::string_view parola) {
    return campo.find(parola) != std::string_view::npos;
}

// The working values one call of memorizza_dati shares between the line part and the
// train part, and the document being read.
//
// Where the diagnostics point (line and column of a field of the document):
// - an error about an entry (6, 7, 8, 10, 15, 22, 24 and the recorders' 16 to 21)
//   points at the entry's chainage field, its first number;
// - an error about one field points at that field: 1 the route length, 3 the
//   repetition start, 4 the repetition end, 9 the station length, 5 and 103 (no
//   class digit) the keyword field; 103 for a plan past 1000000 m points at the
//   curve's start when the straight stretch before the curve passes the limit and at
//   its length when the curve itself does;
// - 102 points at the last field read; 101 and 2 at no field (the line document is
//   named);
// - 25 points at the field that could not be read (after a read past the end: the last
//   field read); for any other failure (an index outside the model, a value that does
//   not fit a cell) at the chainage field of the entry being acted on, or else at the
//   last field read. A train document that cannot be opened is named with no field.
struct lettura {
    lettura(run_state& s, document_store& d);

    run_state& stato;
    document_store& documenti;
    const std::string nome_linea;
    const std::string nome_treno;

    // The document being read.
    std::string documento;
    std::string testo;
    field_reader campi;
    std::string_view parola;          // the keyword field being acted on
    field_place campo_parola;              // where it is
    std::optional<field_place> campo_voce;  // the chainage field of the entry being acted on

    // Line part.
    tunnel_list gallerie;
    std::int32_t cartelli = voce_primo_cartello;  // next free board text entry
    std::int64_t cursore_pendenza = 0;
    std::int64_t pendenza_precedente = 0;
    std::int64_t cursore_disegno = 2;

    // Train part.
    std::int64_t cursore_velocita = 0;
    std::int64_t velocita_precedente = 0;
    std::int64_t cursore_aderenza = 0;
    std::int64_t aderenza_precedente = 0;
    std::int32_t stazione = 1;

    // Starts reading a document (the store gave its whole content).
    void apri(const std::string& nome, std::string contenuto);
    // Closing is implicit; the store decides whether a document really goes away.
    void chiudi_ed_elimina() { documenti.remove(documento); }

    // Reads the next field as a keyword field (also into riga).
    void leggi_parola();
    // The frame of the line body and the train document: the next keyword field to act
    // on, after up to two remarks; false when the document ends first.
    bool parola_successiva();

    // Reads an entry's chainage (32-bit) and remembers its field.
    std::int32_t posizione(const char* nome);

    // N, the last cell; an entry that needs the grid before the route length has
    // created it is a failure.
    std::int64_t ultima_cella() const;
    cella& cella_at(std::int64_t indice);
    voce& voce_at(std::int64_t indice);

    // The range test: false when p + margine lies within the grid; otherwise records
    // error 15 with the position p and returns true.
    bool fuori_campo(std::int64_t p, std::int64_t margine);

    error_place luogo(const field_place& c) const;
    void registra(std::int32_t numero, std::optional<std::int32_t> pos, const field_place& c);
    // An error that ends the reading: the document is deleted and the reader returns.
    esito termina(std::int32_t numero, std::optional<std::int32_t> pos, const field_place& c);
    // Where a failure of the general failure path is reported.
    error_place luogo_guasto() const;

    // Calls a recorder and stops the reading only on an error that this call reported:
    // an earlier code (15 left by the line part) is kept and does not stop anything.
    template <typename F>
    esito registratore(std::int32_t pos, F&& chiamata) {
        const std::int32_t prima = stato.codice_errore;
        stato.codice_errore = 0;
        chiamata();
        if (stato.codice_errore > 0) {
            return termina(stato.codice_errore, pos, campo_voce.value_or(campo_parola));
        }
        stato.codice_errore = prima;
        return esito::avanti;
    }
};

}  // namespace scenario
