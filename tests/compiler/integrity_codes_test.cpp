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

// Straight from the definition: 25 characters of lower(train + scenario) + pad.
std::pair<int, int> by_hand(const std::string& work) {
    int plain = 0;
    int weighted = 0;
    for (int i = 0; i < 25; ++i) {
        const int c = static_cast<unsigned char>(work[static_cast<std::size_t>(i)]);
        plain += c;
        weighted += (i + 1) * c;
    }
    return {plain, weighted};
}

TEST(IntegrityCodes, BuiltInNamesUseTheFirstSixPadLetters) {
    const auto v = names("Vessana_Pralbo", "5 bis");
    const auto [plain, weighted] = by_hand("5 bisvessana_pralbommttff");
    EXPECT_EQ(codice_gara_og(v), plain);
    EXPECT_EQ(codice_gara_st(v), weighted);
}

TEST(IntegrityCodes, EmptyNamesUseThePadAlone) {
    const auto v = names("", "");
    const auto [plain, weighted] = by_hand("mmttffrrbbkkzzwwggaassppd");
    EXPECT_EQ(codice_gara_og(v), plain);
    EXPECT_EQ(codice_gara_st(v), weighted);
}

TEST(IntegrityCodes, OnlyTheFirstTwentyFiveCharactersCount) {
    const std::string long_name(30, 'a');
    EXPECT_EQ(codice_gara_og(names(long_name, "")), 25 * 'a');
    EXPECT_EQ(codice_gara_og(names(long_name, "")), codice_gara_og(names(long_name + "zzz", "")));
    EXPECT_EQ(codice_gara_st(names(std::string(25, 'b'), "")), 'b' * 325);
}

TEST(IntegrityCodes, CaseDoesNotMatterButOrderDoes) {
    EXPECT_EQ(codice_gara_st(names("VESSANA_PRALBO", "5 BIS")),
              codice_gara_st(names("vessana_pralbo", "5 bis")));
    const auto v = names("Vessana_Pralbo", "5 bis");
    const auto swapped = names("5 bis", "Vessana_Pralbo");
    EXPECT_EQ(codice_gara_og(v), codice_gara_og(swapped));
    EXPECT_NE(codice_gara_st(v), codice_gara_st(swapped));
}

TEST(IntegrityCodes, CharactersAbove127CountWithTheirSingleByteCode) {
    const auto v = names("\xE8", "");  // e grave in the single-byte code page
    const auto [plain, weighted] = by_hand("\xE8mmttffrrbbkkzzwwggaasspp");
    EXPECT_EQ(codice_gara_og(v), plain);
    EXPECT_EQ(codice_gara_st(v), weighted);
    EXPECT_GT(codice_gara_og(v), 0);
    // Uppercase letters outside ASCII are left as they are, whatever the locale.
    EXPECT_NE(codice_gara_og(names("\xC8", "")), codice_gara_og(v));
}

TEST(IntegrityCodes, WeightedCodeMayExceedSixteenBits) {
    const auto v = names(std::string(25, '\xFF'), "");
    EXPECT_EQ(codice_gara_og(v), 25 * 255);
    EXPECT_EQ(codice_gara_st(v), 255 * 325);
}

}  // namespace
}  // namespace scenario
