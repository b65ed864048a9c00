#include "compiler/train_reader.hpp"

#include "compiler/messages.hpp"
#include "compiler/recorders.hpp"

#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr std::int64_t margine = 100;

// The speed limit of a cell in steps of 5 km/h; it must fit its 8 bits.
std::uint8_t passi_velocita(std::int64_t velocita) {
    return fit<std::uint8_t>(near(static_cast<double>(velocita) / 5.0), "speed step");
}

// Finds "[generale]"; reaching the end instead is no failure (nothing more is read).
void cerca_inizio(lettura& l) {
    do {
        l.leggi_parola();
    } while (!contiene(l.parola, "[generale]") && !l.campi.at_end());
}

esito agisci(lettura& l) {
    const std::string_view p = l.parola;
    struct prova {
        bool vale;
        esito (*leggi)(lettura&);
    };
    const prova prove[] = {
        {contiene(p, "frenata") && contiene(p, "massa"), leggi_massa_frenata},
        {contiene(p, "vetture"), leggi_vetture},
        {contiene(p, "velocit"), leggi_velocita},
        {contiene(p, "aderenza"), leggi_aderenza},
        {contiene(p, "orologio"), leggi_orologio},
        {contiene(p, "sabbia"), leggi_sabbia},
        {contiene(p, "segnale"), leggi_segnale},
        {contiene(p, "rallentamento"), leggi_rallentamento},
        {contiene(p, "abbattimento"), leggi_abbattimento},
        {contiene(p, "stazione"), leggi_stazione},
    };
    for (const prova& x : prove) {
        if (x.vale) {
            if (const esito e = x.leggi(l); e != esito::avanti) {
                return e;
            }
        }
    }
    return esito::avanti;
}

}  // namespace

esito leggi_massa_frenata(lettura& l) {
    l.stato.voci[voce_percorso].inizio_area = l.campi.number<std::int32_t>("braked mass");
    return esito::avanti;
}

esito leggi_vetture(lettura& l) {
    l.stato.voci[voce_percorso].progressiva = l.campi.number<std::int32_t>("number of cars");
    return esito::avanti;
}

esito leggi_velocita(lettura& l) {
    const std::int32_t p = l.posizione("speed chainage");
    const std::int32_t v = l.campi.number<std::int32_t>("speed");
    if (l.fuori_campo(p, margine)) {
        return esito::fine_lettura;
    }
    const std::int64_t n = near(p / 50.0);
    const std::int64_t ultima = l.ultima_cella();
    if (n > 0) {
        // At least one cell, but never cell N or beyond.
        do {
            if (l.cursore_velocita >= ultima) {
                break;
            }
            l.cella_at(l.cursore_velocita).vel_limite = passi_velocita(l.velocita_precedente);
            ++l.cursore_velocita;
        } while (l.cursore_velocita < n);
    }
    l.velocita_precedente = v;
    return esito::avanti;
}

esito leggi_aderenza(lettura& l) {
    const std::int32_t p = l.posizione("adhesion chainage");
    const std::int32_t a = l.campi.number<std::int32_t>("adhesion");
    if (l.fuori_campo(p, margine)) {
        return esito::fine_lettura;
    }
    const std::int64_t n = near(p / 50.0);
    if (n > 0) {
        do {
            // The adhesion keeps its low 8 bits.
            l.cella_at(l.cursore_aderenza).aderenza = wrap8(l.aderenza_precedente);
            ++l.cursore_aderenza;
        } while (l.cursore_aderenza < n);
    }
    l.aderenza_precedente = a;
    return esito::avanti;
}

esito leggi_orologio(lettura& l) {
    voce& treno = l.stato.voci[voce_treno];
    treno.numero_c = l.campi.number<std::int16_t>("clock hours");
    treno.numero_d = l.campi.number<std::int16_t>("clock minutes");
    treno.numero_e = l.campi.number<std::int16_t>("clock seconds");
    return esito::avanti;
}

esito leggi_sabbia(lettura& l) {
    l.stato.voci[voce_treno].numero_a = l.campi.number<std::int16_t>("sand");
    return esito::avanti;
}

esito leggi_segnale(lettura& l) {
    const std::int32_t posizione = l.posizione("signal chainage");
    std::int32_t v[10];
    const char* nomi[10] = {"signal sx", "signal s1", "signal s2", "signal s3", "signal rapp",
                            "signal dx", "signal d1", "signal d2", "signal d3", "signal tempo"};
    for (int i = 0; i < 10; ++i) {
        v[i] = l.campi.number<std::int32_t>(nomi[i]);
    }
    if (l.fuori_campo(posizione, margine)) {
        return esito::fine_lettura;
    }
    return l.registratore(posizione, [&] {
        memo_segnale(l.stato, posizione, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8],
                     v[9]);
    });
}

esito leggi_rallentamento(lettura& l) {
    const std::int32_t x = l.posizione("slowdown start");
    std::int32_t v = l.campi.number<std::int32_t>("slowdown speed");
    std::int32_t lunghezza = l.campi.number<std::int32_t>("slowdown length");
    std::int32_t f_tt = l.campi.number<std::int32_t>("slowdown f_tt");
    const std::int32_t f_ta = l.campi.number<std::int32_t>("slowdown f_ta");
    std::int32_t d_v = l.campi.number<std::int32_t>("slowdown d_v");
    if (l.fuori_campo(x, margine)) {
        return esito::fine_lettura;
    }
    return l.registratore(x,
                          [&] { memo_rallentamento(l.stato, x, v, lunghezza, f_tt, f_ta, d_v); });
}

esito leggi_abbattimento(lettura& l) {
    const std::int32_t p = l.posizione("code chainage");
    const std::int32_t w = l.campi.number<std::int32_t>("code value");
    if (l.fuori_campo(p, margine)) {
        return esito::fine_lettura;
    }
    cella& c = l.cella_at(near(p / 50.0));
    if (!libera(c)) {
        return l.termina(7, p, *l.campo_voce);
    }
    if (w > 0) {
        c.tipo_cella = cambio_codice;
        c.valore1 = wrap16(w);  // the code value keeps its low 16 bits
    } else {
        c.tipo_cella = codice_zero;
    }
    return esito::avanti;
}

void completa_velocita(lettura& l) {
    const std::int64_t n = l.ultima_cella();
    do {
        l.cella_at(l.cursore_velocita).vel_limite = passi_velocita(l.velocita_precedente);
        ++l.cursore_velocita;
    } while (l.cursore_velocita < n - 2);
}

void completa_aderenza(lettura& l) {
    const std::int64_t n = l.ultima_cella();
    do {
        l.cella_at(l.cursore_aderenza).aderenza = wrap8(l.aderenza_precedente);
        ++l.cursore_aderenza;
    } while (l.cursore_aderenza < n - 2);
}

void controlla_zone(lettura& l) {
    for (const int i : {voce_zona_tre, voce_zona_due, voce_zona_uno}) {
        const voce& z = l.stato.voci[static_cast<std::size_t>(i)];
        if (z.inizio_area % 50 != 0 || z.fine_area % 50 != 0) {
            record_error(l.stato, 2, std::nullopt, error_place{l.nome_linea, 0, 0, 0, {}},
                         error_message(2, "kilometre-reference zone in entry " +
                                              std::to_string(i) + " runs from " +
                                              std::to_string(z.inizio_area) + " to " +
                                              std::to_string(z.fine_area) +
                                              ": not multiples of 50"));
            return;
        }
    }
}

void leggi_documento_treno(lettura& l) {
    l.apri(l.nome_treno, {});
    auto contenuto = l.documenti.read(l.nome_treno);
    if (!contenuto) {
        throw reader_failure("the train document cannot be opened");
    }
    l.apri(l.nome_treno, std::move(*contenuto));
    cerca_inizio(l);
    l.cursore_aderenza = 0;
    l.cursore_velocita = 0;
    l.stazione = 1;

    while (l.parola_successiva()) {
        const esito e = agisci(l);
        if (e == esito::ritorna) {
            return;
        }
        if (e == esito::fine_lettura) {
            break;
        }
    }

    l.chiudi_ed_elimina();
    l.campo_voce.reset();
    completa_velocita(l);
    completa_aderenza(l);
    controlla_zone(l);
}

}  // namespace scenario
