#include "compiler/train_reader.hpp"
#include "model/near.hpp"
#include "model/packing.hpp"
#include "model/reader_failure.hpp"

namespace scenario {

namespace {

constexpr std::int64_t margine_stazione = 800;
constexpr std::int64_t distanza_minima = 350;  // between one station area and the next

// Station kinds below this one have a reference cell and, unless 5 or 6, markers.
constexpr int tipo_senza_cella = 25;

struct area {
    std::int64_t inizio;
    std::int64_t fine;
};

// The station area; kinds 5 to 8 also lose opzione_d.
area area_stazione(voce& r, std::int64_t p, std::int64_t lp) {
    switch (r.tipo_stazione) {
        case 5:
        case 6:
            r.opzione_d = 0;
            return {p - lp, p + 150};
        case 7:
        case 8:
            r.opzione_d = 0;
            return {p - lp, p + lp};
        default: {
            const double meta = static_cast<double>(lp) / 2.0;
            const double fine = static_cast<double>(p) + meta + (r.opzione_d != 0 ? 50.0 : 0.0);
            return {near(static_cast<double>(p) - meta), near(fine)};
        }
    }
}

}  // namespace

esito leggi_stazione(lettura& l) {
    const std::int32_t s = l.stazione;
    // A station entry must not take an entry that already holds a board text.
    if (s > l.cartelli) {
        throw reader_failure("station entry " + std::to_string(s) + " holds a board text");
    }
    voce& r = l.voce_at(s);
    const std::int32_t p = l.posizione("station chainage");
    const field_place campo_p = l.campi.last();
    r.progressiva = p;
    if (l.fuori_campo(p, margine_stazione)) {
        return esito::fine_lettura;
    }
    if (p % 50 != 0) {
        return l.termina(8, p, campo_p);
    }
    r.tipo_stazione = l.campi.number<std::uint8_t>("station kind");
    const std::int32_t lp = l.campi.number<std::int32_t>("station length");
    if (lp % 100 != 0) {
        return l.termina(9, p, l.campi.last());
    }
    r.opzione_a = l.campi.number<std::uint8_t>("station field 4");
    r.opzione_e = l.campi.number<std::uint8_t>("station field 5");
    r.opzione_d = l.campi.number<std::uint8_t>("station field 6");
    r.numero_a = l.campi.number<std::int16_t>("station field 7");
    r.numero_b = l.campi.number<std::int16_t>("station field 8");
    r.opzione_b = l.campi.number<std::uint8_t>("station field 9");
    r.numero_c = l.campi.number<std::int16_t>("station field 10");
    r.numero_d = l.campi.number<std::int16_t>("station field 11");
    r.numero_e = l.campi.number<std::int16_t>("station field 12");
    r.opzione_c = l.campi.number<std::uint8_t>("station field 13");
    const std::int64_t ore = l.campi.number<std::int32_t>("station hours");
    const std::int64_t minuti = l.campi.number<std::int32_t>("station minutes");
    const std::int64_t secondi = l.campi.number<std::int32_t>("station seconds");
    r.orario = fit<std::int32_t>((ore * 60 + minuti) * 60 + secondi, "station time");
    r.nome.assign(l.campi.text("station name"));
    l.stato.riga = r.nome;

    const area a = area_stazione(r, p, lp);
    r.inizio_area = fit<std::int32_t>(a.inizio, "station area start");
    r.fine_area = fit<std::int32_t>(a.fine, "station area end");
    if (lp < 600) {
        r.opzione_e = 0;
    }
    if (s == 1) {
        // After the area has used the value read.
        r.opzione_d = 0;
        r.opzione_e = 0;
    }

    const int tipo = r.tipo_stazione;
    const double cinquantesimi = r.fine_area / 50.0;
    if (tipo < tipo_senza_cella && tipo != 5 && tipo != 6) {
        for (int i = 1; i <= 4; ++i) {
            const double marcatore = cinquantesimi - i - 1;
            if (marcatore > 1) {
                l.cella_at(near(marcatore)).avvicinamento = wrap8(80 + i);
            }
        }
    }
    const double riferimento = cinquantesimi - 1;
    if (tipo < tipo_senza_cella) {
        if (riferimento <= 1) {
            return l.termina(24, std::nullopt, campo_p);
        }
        cella& c = l.cella_at(near(riferimento));
        c.tipo_cella = stazione;
        c.valore1 = wrap16(s);
    }
    if (s > 1 && std::int64_t{r.inizio_area} - distanza_minima < l.voce_at(s - 1).fine_area) {
        return l.termina(22, p, campo_p);
    }
    ++l.stazione;
    if (l.stazione >= l.cartelli) {
        return l.termina(10, std::nullopt, campo_p);
    }
    return esito::avanti;
}

}  // namespace scenario
