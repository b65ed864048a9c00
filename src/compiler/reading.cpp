#include "compiler/reading.hpp"

#include <algorithm>
#include <utility>

#include "compiler/grid_access.hpp"
#include "compiler/messages.hpp"
#include "model/file_names.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr char minuscola(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool contiene(std::string_view campo, std::string_view parola) {
    const auto uguali = [](char a, char b) { return minuscola(a) == minuscola(b); };
    return std::search(campo.begin(), campo.end(), parola.begin(), parola.end(), uguali) !=
           campo.end();
}

lettura::lettura(run_state& s, document_store& d)
    : stato(s),
      documenti(d),
      nome_linea(nome_documento_linea(s.nome_scenario)),
      nome_treno(nome_documento_treno(s.nome_scenario, s.nome_treno)) {}

void lettura::apri(const std::string& nome, std::string contenuto) {
    documento = nome;
    testo = std::move(contenuto);
    campi = field_reader(testo);
    parola = {};
    campo_parola = field_place{};
    campo_voce.reset();
}

void lettura::leggi_parola() {
    parola = campi.text("keyword");
    campo_parola = campi.last();
    campo_voce.reset();
    stato.riga.assign(parola);
}

bool lettura::parola_successiva() {
    if (campi.at_end()) {
        return false;
    }
    leggi_parola();
    if (campi.at_end()) {
        return false;
    }
    for (int commenti = 0; commenti < 2 && contiene_esatto(parola, "-"); ++commenti) {
        leggi_parola();
        if (campi.at_end()) {
            return false;
        }
    }
    return true;
}

std::int32_t lettura::posizione(const char* nome) {
    const auto p = campi.number<std::int32_t>(nome);
    campo_voce = campi.last();
    return p;
}

std::int64_t lettura::ultima_cella() const {
    return last_cell(stato.celle);
}

cella& lettura::cella_at(std::int64_t indice) {
    return cell_at(stato.celle, indice);
}

voce& lettura::voce_at(std::int64_t indice) {
    if (indice < 0 || indice >= numero_voci) {
        throw reader_failure("header entry " + std::to_string(indice) +
                             " is outside the table (0 to 86)");
    }
    return stato.voci[static_cast<std::size_t>(indice)];
}

bool lettura::fuori_campo(std::int64_t p, std::int64_t margine) {
    // (p + margine) / 50 > N, exactly.
    if (p + margine <= 50 * ultima_cella()) {
        return false;
    }
    registra(15, static_cast<std::int32_t>(p), campo_voce.value_or(campo_parola));
    return true;
}

error_place lettura::luogo(const field_place& c) const {
    return error_place{documento, c.line, c.column, c.end_column,
                       std::string(campi.line_of(c))};
}

void lettura::registra(std::int32_t numero, std::optional<std::int32_t> pos, const field_place& c) {
    record_error(stato, numero, pos, luogo(c), error_message(numero));
}

esito lettura::termina(std::int32_t numero, std::optional<std::int32_t> pos, const field_place& c) {
    chiudi_ed_elimina();
    registra(numero, pos, c);
    return esito::ritorna;
}

error_place lettura::luogo_guasto() const {
    if (campi.failed() || !campo_voce) {
        return luogo(campi.last());
    }
    return luogo(*campo_voce);
}

}  // namespace scenario
