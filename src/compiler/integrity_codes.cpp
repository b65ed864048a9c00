#include "compiler/integrity_codes.hpp"

#include <string>

namespace scenario {

namespace {

constexpr const char* pad = "mmttffrrbbkkzzwwggaassppdd";
constexpr int counted = 25;

// Lower case of a single-byte character: only A to Z change, whatever the locale.
unsigned char lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

std::string testo_di_lavoro(const tabella_voci& voci) {
    std::string testo = voci[voce_treno].nome + voci[voce_scenario].nome;
    for (char& c : testo) {
        c = static_cast<char>(lower(static_cast<unsigned char>(c)));
    }
    return testo + pad;
}

}  // namespace

std::int32_t codice_gara_og(const tabella_voci& voci) {
    const std::string testo = testo_di_lavoro(voci);
    std::int32_t somma = 0;
    for (int i = 0; i < counted; ++i) {
        somma += static_cast<unsigned char>(testo[static_cast<std::size_t>(i)]);
    }
    return somma;
}

std::int32_t codice_gara_st(const tabella_voci& voci) {
    const std::string testo = testo_di_lavoro(voci);
    std::int32_t somma = 0;
    for (int i = 0; i < counted; ++i) {
        somma += (i + 1) * static_cast<unsigned char>(testo[static_cast<std::size_t>(i)]);
    }
    return somma;
}

}  // namespace scenario
