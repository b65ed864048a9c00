#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace scenario {

// One header record. Field order is the order in the header file.
struct voce {
    std::uint8_t tipo_stazione = 0;
    std::int32_t inizio_area = 0;
    std::int32_t fine_area = 0;
    std::int32_t progressiva = 0;
    std::uint8_t opzione_a = 0;
    std::string nome;
    std::int16_t numero_a = 0;
    std::int16_t numero_b = 0;
    std::int16_t numero_c = 0;
    std::int16_t numero_d = 0;
    std::int16_t numero_e = 0;
    std::uint8_t opzione_b = 0;
    std::uint8_t opzione_c = 0;
    std::uint8_t opzione_d = 0;
    std::uint8_t opzione_e = 0;
    std::int32_t orario = 0;

    bool operator==(const voce&) const = default;
};

constexpr int numero_voci = 87;
using tabella_voci = std::array<voce, numero_voci>;

// Fixed entries of the header table.
constexpr int voce_primo_cartello = 80;  // board texts grow downwards from here
constexpr int voce_zona_tre = 81;
constexpr int voce_zona_due = 82;
constexpr int voce_zona_uno = 83;
constexpr int voce_percorso = 84;  // braked mass, route length, cars
constexpr int voce_scenario = 85;  // scenery values, scenario name, markers
constexpr int voce_treno = 86;     // signal repetition, train name, sand, clock

// Reserved marker values.
constexpr std::int16_t marcatore_intestazione = 610;  // entry 85, numero_a
constexpr std::int16_t marcatore_griglia = 5121;      // cell 1, valore1

}  // namespace scenario
