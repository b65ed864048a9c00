#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "compiler/progressive_ordina.hpp"
#include "model/reader_failure.hpp"

namespace scenario {
namespace {

struct zona {
    std::int32_t inizio, fine, progressiva;
    bool operator==(const zona&) const = default;
};

std::ostream& operator<<(std::ostream& os, const zona& z) {
    return os << "(" << z.inizio << ", " << z.fine << ", " << z.progressiva << ")";
}

// Entries 81, 82, 83 after ordering zones given as entries 81, 82, 83.
std::array<zona, 3> ordina(zona z81, zona z82, zona z83) {
    tabella_voci voci{};
    const zona ingresso[3] = {z81, z82, z83};
    for (int i = 0; i < 3; ++i) {
        voci[81 + i].inizio_area = ingresso[i].inizio;
        voci[81 + i].fine_area = ingresso[i].fine;
        voci[81 + i].progressiva = ingresso[i].progressiva;
    }
    progressive_ordina(voci);
    std::array<zona, 3> uscita{};
    for (int i = 0; i < 3; ++i) {
        uscita[i] = {voci[81 + i].inizio_area, voci[81 + i].fine_area, voci[81 + i].progressiva};
    }
    return uscita;
}

using risultato = std::array<zona, 3>;

TEST(ProgressiveOrdina, BuiltInZonesKeepTheirPlacesAndGain100) {
    EXPECT_EQ(ordina({55500, 60300, 1}, {34950, 57000, 1}, {24500, 35000, 1}),
              (risultato{{{55500, 60400, 1}, {34950, 57100, 1}, {24500, 35100, 1}}}));
}

TEST(ProgressiveOrdina, DistinctStartsGoInDecreasingOrderWhicheverEntryHoldsThem) {
    const zona a{300, 3, 0}, b{200, 2, 0}, c{100, 1, 0};
    const risultato atteso{{a, b, c}};
    EXPECT_EQ(ordina(a, b, c), atteso);
    EXPECT_EQ(ordina(a, c, b), atteso);
    EXPECT_EQ(ordina(b, a, c), atteso);
    EXPECT_EQ(ordina(b, c, a), atteso);
    EXPECT_EQ(ordina(c, a, b), atteso);
    EXPECT_EQ(ordina(c, b, a), atteso);
}

TEST(ProgressiveOrdina, EqualFollowersAreOrderedByTheTieTable) {
    // Ends tell the zones apart: 81, 82, 83 are the entries they came from.
    EXPECT_EQ(ordina({500, 81, 0}, {100, 82, 0}, {100, 83, 0}),
              (risultato{{{500, 81, 0}, {100, 83, 0}, {100, 82, 0}}}));
    EXPECT_EQ(ordina({100, 81, 0}, {500, 82, 0}, {100, 83, 0}),
              (risultato{{{500, 82, 0}, {100, 83, 0}, {100, 81, 0}}}));
    EXPECT_EQ(ordina({100, 81, 0}, {100, 82, 0}, {500, 83, 0}),
              (risultato{{{500, 83, 0}, {100, 82, 0}, {100, 81, 0}}}));
}

TEST(ProgressiveOrdina, OneZoneOnlyLeadsAndTheEmptyOnesFollow) {
    EXPECT_EQ(ordina({0, 0, 0}, {30000, 40000, 2}, {0, 0, 0}),
              (risultato{{{30000, 40000, 2}, {0, 0, 0}, {0, 0, 0}}}));
}

TEST(ProgressiveOrdina, SharedLargestStartClearsAllZones) {
    const risultato vuoto{};
    EXPECT_EQ(ordina({10000, 20000, 1}, {40000, 50000, 1}, {40000, 45000, 1}), vuoto);
    EXPECT_EQ(ordina({40000, 50000, 1}, {40000, 45000, 1}, {10000, 20000, 1}), vuoto);
    EXPECT_EQ(ordina({7, 1, 1}, {7, 2, 1}, {7, 3, 1}), vuoto);
}

TEST(ProgressiveOrdina, WithoutStartsTheEndsDecide) {
    const zona z81{0, 81, 0}, z82{0, 82, 0}, z83{0, 83, 0}, vuota{0, 0, 0};
    EXPECT_EQ(ordina(z81, z82, z83), (risultato{{z83, z82, z81}}));
    EXPECT_EQ(ordina(z81, z82, vuota), (risultato{{z82, z81, vuota}}));
    EXPECT_EQ(ordina(z81, vuota, vuota), (risultato{{z81, vuota, vuota}}));
    EXPECT_EQ(ordina({0, 35000, 1}, vuota, vuota), (risultato{{{0, 35100, 1}, vuota, vuota}}));
    // A zone with a flag but neither start nor end is cleared.
    EXPECT_EQ(ordina({0, 0, 1}, {0, -5, 1}, {0, 0, 2}), risultato{});
    // Starts that sum to 0 also leave the decision to the ends.
    EXPECT_EQ(ordina({-100, 81, 0}, {100, 82, 0}, {0, 83, 0}),
              (risultato{{{0, 83, 0}, {100, 82, 0}, {-100, 81, 0}}}));
}

TEST(ProgressiveOrdina, OnlyFlag1MovesTheEnd) {
    EXPECT_EQ(ordina({300, 1000, 2}, {200, 1000, 1}, {100, 1000, 0}),
              (risultato{{{300, 1000, 2}, {200, 1100, 1}, {100, 1000, 0}}}));
}

TEST(ProgressiveOrdina, TouchesOnlyTheThreeZoneFields) {
    tabella_voci voci{};
    voci[81].nome = "zona";
    voci[81].orario = 42;
    voci[81].inizio_area = 100;
    voci[83].inizio_area = 300;
    voci[80].inizio_area = 999;
    voci[84].fine_area = 999;
    progressive_ordina(voci);
    EXPECT_EQ(voci[81].inizio_area, 300);
    EXPECT_EQ(voci[81].nome, "zona");
    EXPECT_EQ(voci[81].orario, 42);
    EXPECT_EQ(voci[82].inizio_area, 100);
    EXPECT_EQ(voci[80].inizio_area, 999);
    EXPECT_EQ(voci[84].fine_area, 999);
}

TEST(ProgressiveOrdina, EndThatCannotGrowFailsLoudly) {
    tabella_voci voci{};
    voci[81].inizio_area = 100;
    voci[81].fine_area = std::numeric_limits<std::int32_t>::max() - 50;
    voci[81].progressiva = 1;
    EXPECT_THROW(progressive_ordina(voci), reader_failure);
}

}  // namespace
}  // namespace scenario
