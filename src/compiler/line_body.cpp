#include "compiler/line_body.hpp"

#include "compiler/plan_drawing.hpp"
#include "compiler/recorders.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"

namespace scenario {

namespace {

constexpr std::int64_t limite_tracciato = 1000000;
constexpr std::int64_t margine = 100;

}  // namespace

esito leggi_pendenza(lettura& l) {
    const std::int32_t p = l.posizione("gradient chainage");
    const std::int32_t g = l.campi.number<std::int32_t>("gradient");
    if (l.fuori_campo(p, margine)) {
        return esito::fine_lettura;
    }
    const std::int64_t n = near(p / 50.0);
    if (n > 0) {
        // At least one cell, even when the cursor is already at or past n.
        do {
            // Gradient + 100 keeps its low 8 bits.
            l.cella_at(l.cursore_pendenza).pendenza = wrap8(l.pendenza_precedente + 100);
            ++l.cursore_pendenza;
        } while (l.cursore_pendenza < n);
    }
    l.pendenza_precedente = g;
    return esito::avanti;
}

esito leggi_curva(lettura& l) {
    const std::int32_t s = l.posizione("curve start");
    const field_place campo_s = l.campi.last();
    const std::int32_t d = l.campi.number<std::int32_t>("curve length");
    const field_place campo_d = l.campi.last();
    if (l.fuori_campo(s, margine)) {
        return esito::fine_lettura;
    }
    double k = 0.0;
    for (const char classe : {'1', '2', '3', '4', '5', '6'}) {
        if (l.parola.find(classe) != std::string_view::npos) {
            k = curvatura(classe);
            break;
        }
    }
    if (k == 0.0) {
        return l.termina(103, std::nullopt, l.campo_parola);
    }
    if (contiene(l.parola, "s")) {
        k = -k;
    }
    tracciato_linea& t = l.stato.tracciato;
    std::int64_t& c = l.cursore_disegno;
    // A curve that starts behind the cursor draws only its points ahead of it.
    // Each stretch stops after the point that passes the limit, as drawing point by
    // point and testing after each would.
    disegna_fino(t, c, std::min<std::int64_t>(s, limite_tracciato), 0.0);
    if (c > limite_tracciato) {
        return l.termina(103, std::nullopt, campo_s);
    }
    const std::int64_t fine = std::int64_t{s} + d;
    disegna_fino(t, c, std::min(fine, limite_tracciato), k);
    if (c > limite_tracciato) {
        return l.termina(103, std::nullopt, campo_d);
    }
    return esito::avanti;
}

esito leggi_montagna(lettura& l) {
    std::int32_t inizio = l.posizione("tunnel start");
    std::int32_t fine = l.campi.number<std::int32_t>("tunnel end");
    std::int32_t tipo = l.campi.number<std::int32_t>("tunnel type");
    if (l.fuori_campo(inizio, margine)) {
        return esito::fine_lettura;
    }
    return l.registratore(inizio, [&] { memo_montagna(l.stato, l.gallerie, inizio, fine, tipo); });
}

esito leggi_indicatori(lettura& l) {
    const std::int32_t posizione = l.posizione("board chainage");
    std::int32_t v[8];
    const char* nomi[8] = {"left speed A",  "left speed B",  "left speed C",  "left stripes",
                           "right speed A", "right speed B", "right speed C", "right stripes"};
    for (int i = 0; i < 8; ++i) {
        v[i] = l.campi.number<std::int32_t>(nomi[i]);
    }
    if (l.fuori_campo(posizione, margine)) {
        return esito::fine_lettura;
    }
    return l.registratore(posizione, [&] {
        memo_indicatori_v_max(l.stato, posizione, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    });
}

esito leggi_cartello(lettura& l) {
    const std::int32_t p = l.posizione("board chainage");
    const field_place campo_p = l.campi.last();
    l.stato.riga.assign(l.campi.text("board text"));
    if (l.fuori_campo(p, margine)) {
        return esito::fine_lettura;
    }
    cella& c = l.cella_at(near(p / 50.0 + 1));
    if (!libera(c)) {
        return l.termina(6, p, campo_p);
    }
    // Board texts go from entry 80 downwards; entry 0 and below are not theirs.
    if (l.cartelli <= 0) {
        throw reader_failure("no header entry left for the board text (more than 80 boards)");
    }
    c.tipo_cella = cartello;
    c.valore1 = wrap16(l.cartelli);
    l.voce_at(l.cartelli).nome = l.stato.riga;
    --l.cartelli;
    return esito::avanti;
}

void completa_pendenze(lettura& l) {
    const std::int64_t n = l.ultima_cella();
    do {
        l.cella_at(l.cursore_pendenza).pendenza = wrap8(l.pendenza_precedente + 100);
        ++l.cursore_pendenza;
    } while (l.cursore_pendenza < n - 2);
}

void completa_tracciato(lettura& l) {
    if (l.stato.con_tracciato == 0) {
        return;
    }
    tracciato_linea& t = l.stato.tracciato;
    // The last two points stay empty.
    disegna_fino(t, l.cursore_disegno, t.ultimo_metro() - 2, 0.0);
}

}  // namespace scenario
