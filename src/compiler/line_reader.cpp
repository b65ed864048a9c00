#include "compiler/line_reader.hpp"

#include "compiler/line_body.hpp"
#include "compiler/messages.hpp"
#include "compiler/plan_drawing.hpp"
#include "compiler/progressive_ordina.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr std::int32_t lunghezza_massima = 1000000;
constexpr int commenti_generale = 10;

// Finds "[generale]". False after error 102.
bool cerca_inizio(lettura& l) {
    while (true) {
        l.leggi_parola();
        if (l.campi.at_end()) {
            // Also when this last field is "[generale]" itself.
            l.termina(102, std::nullopt, l.campo_parola);
            return false;
        }
        if (contiene(l.parola, "[generale]")) {
            return true;
        }
    }
}

esito agisci_generale(lettura& l) {
    const std::string_view p = l.parola;
    const auto fatto = [](esito e) { return e != esito::avanti; };
    if (contiene(p, "lunghezza") && contiene(p, "percorso") && fatto(leggi_lunghezza(l))) {
        return esito::ritorna;
    }
    if (contiene_esatto(p, "tre") && contiene_esatto(p, "progressiva")) {
        leggi_zona(l, voce_zona_tre);
    }
    if (contiene_esatto(p, "due") && contiene_esatto(p, "progressiva")) {
        leggi_zona(l, voce_zona_due);
    }
    if (contiene_esatto(p, "uno") && contiene_esatto(p, "progressiva")) {
        leggi_zona(l, voce_zona_uno);
    }
    // Note the order of entry 85: "tre" goes to fine_area, "due" to progressiva.
    if (contiene_esatto(p, "sfondo") && contiene_esatto(p, "uno")) {
        leggi_sfondo(l, &voce::inizio_area, "scenery value one");
    }
    if (contiene_esatto(p, "sfondo") && contiene_esatto(p, "due")) {
        leggi_sfondo(l, &voce::progressiva, "scenery value two");
    }
    if (contiene_esatto(p, "sfondo") && contiene_esatto(p, "tre")) {
        leggi_sfondo(l, &voce::fine_area, "scenery value three");
    }
    if (contiene_esatto(p, "segnali") && contiene_esatto(p, "ripetizione") &&
        fatto(leggi_ripetizione(l))) {
        return esito::ritorna;
    }
    return esito::avanti;
}

bool intestazione(std::string_view p) {
    return contiene_esatto(p, "[") && contiene_esatto(p, "]") && !p.starts_with('-');
}

// The general part, up to the first section header. False after a recorded error.
bool leggi_generale(lettura& l) {
    while (!l.campi.at_end()) {
        l.leggi_parola();
        if (l.campi.at_end()) {
            break;
        }
        // Up to ten remarks in a row; the end of the document is not tested between them.
        for (int i = 0; i < commenti_generale && contiene_esatto(l.parola, "-"); ++i) {
            l.leggi_parola();
        }
        if (agisci_generale(l) == esito::ritorna) {
            return false;
        }
        if (intestazione(l.parola)) {
            break;
        }
    }
    return true;
}

esito agisci_corpo(lettura& l) {
    const std::string_view p = l.parola;
    if (contiene(p, "pendenza")) {
        if (const esito e = leggi_pendenza(l); e != esito::avanti) {
            return e;
        }
    }
    // Without a plan, curve lines are not recognised: their numbers are read next as
    // keyword fields that match nothing.
    if (l.stato.con_tracciato != 0 && contiene(p, "curva")) {
        if (const esito e = leggi_curva(l); e != esito::avanti) {
            return e;
        }
    }
    if (contiene(p, "montagna")) {
        if (const esito e = leggi_montagna(l); e != esito::avanti) {
            return e;
        }
    }
    if (contiene(p, "indicatori_v")) {
        if (const esito e = leggi_indicatori(l); e != esito::avanti) {
            return e;
        }
    }
    if (contiene(p, "cartello") && contiene(p, "indicat")) {
        return leggi_cartello(l);
    }
    return esito::avanti;
}

}  // namespace

esito leggi_lunghezza(lettura& l) {
    const std::int32_t lunghezza = l.posizione("route length");
    l.stato.voci[voce_percorso].fine_area = lunghezza;
    if (lunghezza > lunghezza_massima) {
        return l.termina(1, std::nullopt, l.campi.last());
    }
    const std::int64_t e = std::int64_t{lunghezza} + 7000;
    const std::int64_t n = ultima_cella(lunghezza);
    // A negative length can leave too few cells for the profiles (or no plan at all).
    if (n < 2) {
        throw reader_failure("route length " + std::to_string(lunghezza) + " leaves no track grid");
    }
    l.stato.celle.assign(static_cast<std::size_t>(n) + 1, cella{});
    if (l.stato.con_tracciato != 0) {
        l.stato.tracciato = tracciato_linea(e);
    }
    return esito::avanti;
}

esito leggi_zona(lettura& l, int indice) {
    voce& zona = l.stato.voci[static_cast<std::size_t>(indice)];
    zona.inizio_area = l.campi.number<std::int32_t>("zone start");
    zona.fine_area = l.campi.number<std::int32_t>("zone end");
    zona.progressiva = l.campi.number<std::int32_t>("zone flag");
    return esito::avanti;
}

esito leggi_sfondo(lettura& l, std::int32_t voce::*campo, const char* nome) {
    l.stato.voci[voce_scenario].*campo = l.campi.number<std::int32_t>(nome);
    return esito::avanti;
}

esito leggi_ripetizione(lettura& l) {
    voce& treno = l.stato.voci[voce_treno];
    treno.inizio_area = l.campi.number<std::int32_t>("repetition start");
    const field_place campo_inizio = l.campi.last();
    treno.fine_area = l.campi.number<std::int32_t>("repetition end");
    const field_place campo_fine = l.campi.last();
    if (treno.inizio_area % 50 != 0) {
        return l.termina(3, std::nullopt, campo_inizio);
    }
    if (treno.fine_area % 50 != 0) {
        return l.termina(4, std::nullopt, campo_fine);
    }
    if (contiene_esatto(l.parola, "4")) {
        treno.progressiva = 4;
    } else if (contiene_esatto(l.parola, "9")) {
        treno.progressiva = 9;
    } else {
        return l.termina(5, std::nullopt, l.campo_parola);
    }
    if (treno.fine_area == 0) {
        treno.progressiva = 0;
    }
    return esito::avanti;
}

bool leggi_documento_linea(lettura& l) {
    if (!l.documenti.exists(l.nome_linea)) {
        record_error(l.stato, 101, std::nullopt, error_place{l.nome_linea, 0, 0, 0, {}}, error_message(101));
        return false;
    }
    auto contenuto = l.documenti.read(l.nome_linea);
    if (!contenuto) {
        l.documento = l.nome_linea;
        throw reader_failure("the line document cannot be opened");
    }
    l.apri(l.nome_linea, std::move(*contenuto));
    if (!cerca_inizio(l) || !leggi_generale(l)) {
        return false;
    }

    progressive_ordina(l.stato.voci);
    l.gallerie.clear();
    l.cartelli = voce_primo_cartello;
    l.cursore_pendenza = 0;
    l.cursore_disegno = 2;
    if (l.stato.con_tracciato != 0) {
        inizia_tracciato(l.stato.tracciato);
    }

    while (l.parola_successiva()) {
        const esito e = agisci_corpo(l);
        if (e == esito::ritorna) {
            return false;
        }
        if (e == esito::fine_lettura) {
            break;
        }
    }

    l.chiudi_ed_elimina();
    l.campo_voce.reset();
    completa_pendenze(l);
    completa_tracciato(l);
    return true;
}

}  // namespace scenario
