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

std::string working_text(const tabella_voci& voci) {
    std::string text = voci[voce_treno].nome + voci[voce_scenario].nome;
    for (char& c : text) {
        c = static_cast<char>(lower(static_cast<unsigned char>(c)));
    }
    return text + pad;
}

}  // namespace

std::int32_t codice_gara_og(const tabella_voci& voci) {
    const std::string text = working_text(voci);
    std::int32_t sum = 0;
    for (int i = 0; i < counted; ++i) {
        sum += static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    }
    return sum;
}

std::int32_t codice_gara_st(const tabella_voci& voci) {
    const std::string text = working_text(voci);
    std::int32_t sum = 0;
    for (int i = 0; i < counted; ++i) {
        sum += (i + 1) * static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    }
    return sum;
}

}  // namespace scenario
