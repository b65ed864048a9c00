// The codes are sums over the first 25 characters of lower(train + scenario) + the pad
// "mmttffrrbbkkzzwwggaassppdd": plain, and weighted by position 1 to 25. Expected sums
// are worked out by hand from the character codes.
#include "compiler/integrity_codes.hpp"

#include <gtest/gtest.h>

#include <string>

namespace scenario {
namespace {

tabella_voci names(const std::string& scenario_name, const std::string& train) {
    tabella_voci v{};
    v[voce_scenario].nome = scenario_name;
    v[voce_treno].nome = train;
    return v;
}

void expect_codes(const tabella_voci& v, std::int32_t plain, std::int32_t weighted) {
    EXPECT_EQ(codice_gara_og(v), plain);
    EXPECT_EQ(codice_gara_st(v), weighted);
}

TEST(IntegrityCodes, BuiltInNamesAndOrder) {
    // "5 bisvessana_pralbommttff"
    expect_codes(names("Vessana_Pralbo", "5 bis"), 2545, 34581);
    // "vessana_pralbo5 bismmttff": the same characters in another order.
    expect_codes(names("5 bis", "Vessana_Pralbo"), 2545, 32783);
}

TEST(IntegrityCodes, EveryLetterFromAToZIsLowered) {
    // "nopqrstuvwxyzabcdefghijkl": 110 + ... + 122 and 97 + ... + 108.
    expect_codes(names("ABCDEFGHIJKLM", "NOPQRSTUVWXYZ"), 2738, 34866);
    expect_codes(names("abcdefghijklm", "nopqrstuvwxyz"), 2738, 34866);
    // '@' (64) and '[' (91), the neighbours of A and Z, stay: "@[mmttffrrbbkkzzwwggaassp".
    expect_codes(names("@[", ""), 2671, 35464);
}

TEST(IntegrityCodes, ThePadFillsShortNamesAndOnlyTwentyFiveCharactersCount) {
    // "mmttffrrbbkkzzwwggaassppd"
    expect_codes(names("", ""), 2728, 35374);
    expect_codes(names(std::string(30, 'a'), ""), 25 * 97, 325 * 97);
}

TEST(IntegrityCodes, CharactersAbove127CountWithTheirSingleByteCode) {
    // e grave (232) and E grave (200) in the single-byte code page: not lowered, whatever
    // the locale. "\xE8mmttffrrbbkkzzwwggaasspp"
    expect_codes(names("\xE8", ""), 2860, 35734);
    expect_codes(names("\xC8", ""), 2828, 35702);
    // The weighted code may exceed 16 bits.
    expect_codes(names(std::string(25, '\xFF'), ""), 25 * 255, 325 * 255);
}

}  // namespace
}  // namespace scenario
