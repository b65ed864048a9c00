#include <gtest/gtest.h>

#include <string>

#include "files/byte_sink.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"

namespace scenario {
namespace {

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) {
            out += ' ';
        }
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string header_bytes(const tabella_voci& voci) {
    string_sink sink;
    encode_header(voci, sink);
    return sink.bytes();
}

TEST(HeaderFile, ClearedTableIsEightySevenRecordsOfThirtyFourZeroBytes) {
    const std::string bytes = header_bytes(tabella_voci{});
    ASSERT_EQ(bytes.size(), 87u * 34u);
    EXPECT_EQ(bytes.find_first_not_of('\0'), std::string::npos);
}

TEST(HeaderFile, TrainEntryIsLaidOutFieldByFieldWithTheNameInside) {
    tabella_voci voci{};
    voce& treno = voci[voce_treno];
    treno.inizio_area = 0;
    treno.fine_area = 60750;
    treno.progressiva = 4;
    treno.nome = "5 bis";
    treno.numero_a = 300;
    treno.numero_c = 19;
    treno.numero_d = 8;
    treno.numero_e = 15;
    const std::string bytes = header_bytes(voci);
    ASSERT_EQ(bytes.size(), 87u * 34u + 5u);
    EXPECT_EQ(hex(bytes.substr(86 * 34)),
              "00 00 00 00 00 4E ED 00 00 04 00 00 00 00 05 00 35 20 62 69 73 2C 01 00 00 13 00 "
              "08 00 0F 00 00 00 00 00 00 00 00 00");
}

TEST(HeaderFile, NamesShiftTheFollowingRecordsAndFieldsKeepTheirOrder) {
    tabella_voci voci{};
    voci[1].tipo_stazione = 0xAB;
    voci[1].inizio_area = -450;
    voci[1].nome = "VESSANA";
    voci[1].opzione_b = 1;
    voci[1].opzione_c = 2;
    voci[1].opzione_d = 3;
    voci[1].opzione_e = 4;
    voci[1].orario = 68940;
    voci[2].tipo_stazione = 0xCD;
    const std::string bytes = header_bytes(voci);
    const std::string r1 = bytes.substr(34, 34 + 7);
    EXPECT_EQ(hex(r1.substr(0, 5)), "AB 3E FE FF FF");  // -450 as two's complement
    EXPECT_EQ(r1.substr(14, 9), std::string("\x07\x00VESSANA", 9));
    EXPECT_EQ(hex(r1.substr(33, 8)), "01 02 03 04 4C 0D 01 00");
    EXPECT_EQ(static_cast<unsigned char>(bytes[34 + 41]), 0xCD);
}

TEST(GridFile, SizeIsTenPlusFifteenPerCellWhateverTheCellsHold) {
    for (std::size_t cells : {1u, 2u, 141u, 1411u}) {
        griglia g(cells);
        for (auto& c : g) {
            c.valore1 = -1;
            c.aderenza = 255;
        }
        string_sink sink;
        encode_grid(g, sink);
        EXPECT_EQ(sink.bytes().size(), grid_file_size(cells));
        EXPECT_EQ(sink.bytes().size(), 10 + 15 * cells);
    }
}

TEST(GridFile, ArrayHeaderCountsCellsFromLowerBoundZero) {
    string_sink sink;
    encode_grid(griglia(1411), sink);
    EXPECT_EQ(hex(sink.bytes().substr(0, 10)), "01 00 83 05 00 00 00 00 00 00");
}

TEST(GridFile, CellFieldsInOrderWithNegativeValuesAsTwosComplement) {
    griglia g(2);
    g[1] = cella{tipo::segnale, 5121, -1, -32768, 32767, 101, 84, 3, 28, 98, 100};
    string_sink sink;
    encode_grid(g, sink);
    EXPECT_EQ(hex(sink.bytes().substr(25)), "01 01 14 FF FF 00 80 FF 7F 65 54 03 1C 62 64");
}

TEST(PlanFile, HeaderListsTheMetrePairFirstAndTagsEveryValue) {
    tracciato_linea t(5);
    t.set_integer(0, 0, 0);
    t.set_integer(1, 0, 0);
    t.set_integer(0, 1, 0);
    t.set_integer(1, 1, 1);
    for (int m = 2; m <= 3; ++m) {
        t.set_double(m, 0, 0.5 * m);
        t.set_double(m, 1, -1.0 * m);
    }
    string_sink sink;
    encode_plan(t, sink);
    const std::string& b = sink.bytes();
    ASSERT_EQ(b.size(), plan_file_size(5));
    EXPECT_EQ(hex(b.substr(0, 18)), "02 00 06 00 00 00 00 00 00 00 02 00 00 00 00 00 00 00");
    // Metre 0, first coordinate: an integer 0; metre 2: the double 1.0.
    EXPECT_EQ(hex(b.substr(18, 4)), "02 00 00 00");
    EXPECT_EQ(hex(b.substr(26, 10)), "05 00 00 00 00 00 00 00 F0 3F");
    // Metres 4 and 5 stay empty: a bare tag each, just before the second coordinates.
    EXPECT_EQ(hex(b.substr(46, 4)), "00 00 00 00");
    // Second coordinate of metre 1 is the integer 1.
    EXPECT_EQ(hex(b.substr(54, 4)), "02 00 01 00");
}

TEST(PlanFile, SizeFormulaMatchesTheBuiltInRoute) {
    EXPECT_EQ(plan_file_size(70500), 1409982u);
    tracciato_linea t(70500);
    t.set_integer(0, 0, 0);
    t.set_integer(1, 0, 0);
    t.set_integer(0, 1, 0);
    t.set_integer(1, 1, 1);
    for (int m = 2; m <= 70498; ++m) {
        t.set_double(m, 0, 0.0);
        t.set_double(m, 1, 1.0 * m);
    }
    string_sink sink;
    encode_plan(t, sink);
    EXPECT_EQ(sink.bytes().size(), 1409982u);
}

}  // namespace
}  // namespace scenario
