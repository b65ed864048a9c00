#include "compiler/progressive_ordina.hpp"

#include <algorithm>
#include <array>

#include "model/packing.hpp"

namespace scenario {

namespace {

// The three fields of a kilometre-reference zone; a zone always moves whole.
struct zona {
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    std::int32_t progressiva = 0;
};

zona leggi(const voce& v) {
    return {v.inizio_area, v.fine_area, v.progressiva};
}

void scrivi(voce& v, const zona& z) {
    v.inizio_area = z.inizio;
    v.fine_area = z.fine;
    v.progressiva = z.progressiva;
}

// The new content of entries 81, 82, 83 in that order.
std::array<zona, 3> ordina(const zona& z81, const zona& z82, const zona& z83) {
    const std::int64_t somma = std::int64_t{z81.inizio} + z82.inizio + z83.inizio;
    if (somma == 0) {
        // No starts to go by: the first zone with an end decides.
        if (z83.fine > 0) {
            return {z83, z82, z81};
        }
        if (z82.fine > 0) {
            return {z82, z81, z83};
        }
        if (z81.fine > 0) {
            return {z81, z82, z83};
        }
        return {};
    }
    // Largest start first, then decreasing starts; between equal starts the zone
    // from the higher entry goes first (the stable sort keeps this order).
    std::array<zona, 3> zone{z83, z82, z81};
    std::stable_sort(zone.begin(), zone.end(),
                     [](const zona& a, const zona& b) { return a.inizio > b.inizio; });
    if (zone[0].inizio == zone[1].inizio) {
        return {};  // a shared largest start clears all three zones
    }
    return zone;
}

}  // namespace

void progressive_ordina(tabella_voci& voci) {
    std::array<zona, 3> zone =
        ordina(leggi(voci[voce_zona_tre]), leggi(voci[voce_zona_due]), leggi(voci[voce_zona_uno]));
    for (zona& z : zone) {
        if (z.progressiva == 1) {
            z.fine = fit<std::int32_t>(std::int64_t{z.fine} + 100, "kilometre-reference zone end");
        }
    }
    scrivi(voci[voce_zona_tre], zone[0]);
    scrivi(voci[voce_zona_due], zone[1]);
    scrivi(voci[voce_zona_uno], zone[2]);
}

}  // namespace scenario
