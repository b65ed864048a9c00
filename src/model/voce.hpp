#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <tuple>

#include "model/record_fields.hpp"

namespace scenario {

// The longest text a header record holds (its length is stored in 16 bits).
constexpr std::size_t longest_text = 65535;

// One header record. Its fields as the files hold them are voce_fields.
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

// The fields of a header record in the order of the header file; nome is the one
// text. The encoder, the decoder and the dump all walk this list.
inline constexpr std::tuple voce_fields{
    record_field<&voce::tipo_stazione>{"tipo_stazione"},
    record_field<&voce::inizio_area>{"inizio_area"},
    record_field<&voce::fine_area>{"fine_area"},
    record_field<&voce::progressiva>{"progressiva"},
    record_field<&voce::opzione_a>{"opzione_a"},
    record_field<&voce::nome>{"nome"},
    record_field<&voce::numero_a>{"numero_a"},
    record_field<&voce::numero_b>{"numero_b"},
    record_field<&voce::numero_c>{"numero_c"},
    record_field<&voce::numero_d>{"numero_d"},
    record_field<&voce::numero_e>{"numero_e"},
    record_field<&voce::opzione_b>{"opzione_b"},
    record_field<&voce::opzione_c>{"opzione_c"},
    record_field<&voce::opzione_d>{"opzione_d"},
    record_field<&voce::opzione_e>{"opzione_e"},
    record_field<&voce::orario>{"orario"},
};
static_assert(std::tuple_size_v<decltype(voce_fields)> == member_count<voce>,
              "voce_fields names every member of voce");

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
