#include "compiler/progressive_ordina.hpp"

#include <algorithm>
#include <array>

#include "model/packing.hpp"

namespace scenario {

namespace {

// The three fields of a kilometre-reference zone; a zone always moves whole.
struct zone {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::int32_t flag = 0;
};

zone read_zone(const voce& v) {
    return {v.inizio_area, v.fine_area, v.progressiva};
}

void write_zone(voce& v, const zone& z) {
    v.inizio_area = z.start;
    v.fine_area = z.end;
    v.progressiva = z.flag;
}

// The new content of entries 81, 82, 83 in that order.
std::array<zone, 3> order(const zone& z81, const zone& z82, const zone& z83) {
    const std::int64_t sum = std::int64_t{z81.start} + z82.start + z83.start;
    if (sum == 0) {
        // No starts to go by: the first zone with an end decides.
        if (z83.end > 0) {
            return {z83, z82, z81};
        }
        if (z82.end > 0) {
            return {z82, z81, z83};
        }
        if (z81.end > 0) {
            return {z81, z82, z83};
        }
        return {};
    }
    // Largest start first, then decreasing starts; between equal starts the zone
    // from the higher entry goes first (the stable sort keeps this order).
    std::array<zone, 3> zones{z83, z82, z81};
    std::stable_sort(zones.begin(), zones.end(),
                     [](const zone& a, const zone& b) { return a.start > b.start; });
    if (zones[0].start == zones[1].start) {
        return {};  // a shared largest start clears all three zones
    }
    return zones;
}

}  // namespace

void progressive_ordina(tabella_voci& voci) {
    std::array<zone, 3> zones =
        order(read_zone(voci[voce_zona_tre]), read_zone(voci[voce_zona_due]),
              read_zone(voci[voce_zona_uno]));
    for (zone& z : zones) {
        if (z.flag == 1) {
            z.end = fit<std::int32_t>(std::int64_t{z.end} + 100, "kilometre-reference zone end");
        }
    }
    write_zone(voci[voce_zona_tre], zones[0]);
    write_zone(voci[voce_zona_due], zones[1]);
    write_zone(voci[voce_zona_uno], zones[2]);
}

}  // namespace scenario
