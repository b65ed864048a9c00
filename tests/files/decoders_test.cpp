#include "files/decoders.hpp"

#include <gtest/gtest.h>

#include <random>

#include "files/byte_sink.hpp"
#include "files/encoders.hpp"

namespace scenario::cli {
namespace {

tabella_voci sample_voci() {
    tabella_voci voci{};
    voci[1] = voce{4, -450, 450, 0, 1, "VESSANA", 4, 1, 2, 1, 1, 1, 1, 0, 0, 68940};
    voci[80].nome = "cartello";
    voci[86] = voce{0, 0, 60750, 4, 0, "5 bis", 300, 0, 19, 8, 15, 0, 0, 0, 0, 0};
    return voci;
}

griglia sample_grid() {
    griglia celle(12);
    celle[1].valore1 = 5121;
    celle[5] = cella{1, 40, -1, 0, 6, 101, 61, 2, 28, 98, 100};
    return celle;
}

tracciato_linea sample_plan() {
    tracciato_linea plan(5);
    plan.set_integer(0, 0, 0), plan.set_integer(0, 1, 0);
    plan.set_integer(1, 0, 0), plan.set_integer(1, 1, 1);
    plan.set_double(2, 0, 0.001), plan.set_double(2, 1, 2.0);
    plan.set_double(3, 0, -0.25), plan.set_double(3, 1, 2.9999995);
    return plan;
}

template <typename F>
std::string encoded(F&& encode) {
    string_sink sink;
    encode(sink);
    return sink.bytes();
}

// The offset and message of a decode failure, or offset -1 when the bytes decode.
template <typename F>
std::pair<std::int64_t, std::string> failure(F&& decode, std::string_view bytes) {
    try {
        decode(bytes);
    } catch (const decode_error& e) {
        return {static_cast<std::int64_t>(e.offset()), e.what()};
    }
    return {-1, ""};
}

TEST(Decoders, ReadBackWhatTheEncodersWrite) {
    const auto voci = sample_voci();
    EXPECT_EQ(decode_header(encoded([&](byte_sink& s) { encode_header(voci, s); })), voci);
    const auto celle = sample_grid();
    EXPECT_EQ(decode_grid(encoded([&](byte_sink& s) { encode_grid(celle, s); })), celle);
    const auto plan = sample_plan();
    EXPECT_EQ(decode_plan(encoded([&](byte_sink& s) { encode_plan(plan, s); })), plan);
}

TEST(Decoders, ReadTheTrainEntryFromItsKnownBytes) {
    const unsigned char entry86[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x4E, 0xED, 0x00, 0x00, 0x04,
                                     0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x35, 0x20, 0x62, 0x69,
                                     0x73, 0x2C, 0x01, 0x00, 0x00, 0x13, 0x00, 0x08, 0x00, 0x0F,
                                     0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    std::string bytes(86 * 34, '\0');  // 86 cleared records
    bytes.append(reinterpret_cast<const char*>(entry86), sizeof entry86);
    const tabella_voci voci = decode_header(bytes);
    const voce& v = voci[86];
    EXPECT_EQ(v.nome, "5 bis");
    EXPECT_EQ(v.inizio_area, 0);
    EXPECT_EQ(v.fine_area, 60750);
    EXPECT_EQ(v.progressiva, 4);
    EXPECT_EQ(v.numero_a, 300);
    EXPECT_EQ(v.numero_c, 19);
    EXPECT_EQ(v.numero_d, 8);
    EXPECT_EQ(v.numero_e, 15);
    EXPECT_EQ(voci[85], voce{});
}

TEST(Decoders, EveryTruncationFailsAtTheOffsetOfTheValueItCuts) {
    const auto voci = sample_voci();
    const std::string header = encoded([&](byte_sink& s) { encode_header(voci, s); });
    const std::string grid = encoded([&](byte_sink& s) { encode_grid(sample_grid(), s); });
    const std::string plan = encoded([&](byte_sink& s) { encode_plan(sample_plan(), s); });
    for (std::size_t n = 0; n < header.size(); ++n) {
        const auto [offset, why] = failure(decode_header, std::string_view(header).substr(0, n));
        ASSERT_GE(offset, 0) << n;
        EXPECT_LE(offset, static_cast<std::int64_t>(n));
        EXPECT_GT(offset + 8, static_cast<std::int64_t>(n))
            << "names the cut value, not an earlier one";
    }
    for (std::size_t n = 0; n < grid.size(); ++n) {
        const auto [offset, why] = failure(decode_grid, std::string_view(grid).substr(0, n));
        ASSERT_GE(offset, 0) << n;
        EXPECT_LE(offset, static_cast<std::int64_t>(n));
    }
    for (std::size_t n = 0; n < plan.size(); ++n) {
        const auto [offset, why] = failure(decode_plan, std::string_view(plan).substr(0, n));
        ASSERT_GE(offset, 0) << n;
        EXPECT_LE(offset, static_cast<std::int64_t>(n));
        EXPECT_GT(offset + 8, static_cast<std::int64_t>(n));
    }
}

TEST(Decoders, NameTheFieldAndRecordThatIsCut) {
    const auto voci = sample_voci();
    const std::string header = encoded([&](byte_sink& s) { encode_header(voci, s); });
    // Entry 1 starts at 34 (entry 0 is cleared); its name "VESSANA" at 34 + 16.
    const auto [offset, why] = failure(decode_header, std::string_view(header).substr(0, 34 + 20));
    EXPECT_EQ(offset, 34 + 16);
    EXPECT_EQ(why, "the file ends inside nome of entry 1 (7 bytes needed, 4 left)");

    const std::string grid = encoded([&](byte_sink& s) { encode_grid(sample_grid(), s); });
    const auto [grid_offset, grid_why] =
        failure(decode_grid, std::string_view(grid).substr(0, 10 + 15 * 5 + 3));
    EXPECT_EQ(grid_offset, 10 + 15 * 5);
    EXPECT_EQ(grid_why,
              "the file ends inside the cell record of cell 5 (of 12) (15 bytes needed, 3 left)");
}

TEST(Decoders, MalformedHeadersAndTagsAreReportedWhereTheyStand) {
    std::string grid = encoded([&](byte_sink& s) { encode_grid(sample_grid(), s); });
    EXPECT_EQ(failure(decode_grid, grid + "x").first, static_cast<std::int64_t>(grid.size()));
    std::string two_dimensions = grid;
    two_dimensions[0] = 2;
    EXPECT_EQ(failure(decode_grid, two_dimensions).first, 0);
    std::string bound = grid;
    bound[6] = 1;
    EXPECT_EQ(failure(decode_grid, bound).first, 6);
    std::string negative = grid;
    negative[5] = static_cast<char>(0x80);
    EXPECT_EQ(failure(decode_grid, negative).first, 2);

    std::string plan = encoded([&](byte_sink& s) { encode_plan(sample_plan(), s); });
    // The first tag of metre 2's first coordinate: after the header, the two integer
    // values of metres 0 and 1 (4 bytes each).
    std::string bad_tag = plan;
    bad_tag[18 + 8] = 7;
    const auto [offset, why] = failure(decode_plan, bad_tag);
    EXPECT_EQ(offset, 18 + 8);
    EXPECT_NE(why.find("unknown value tag 7 at metre 2, coordinate 0"), std::string::npos) << why;
    std::string coordinates = plan;
    coordinates[10] = 3;
    EXPECT_EQ(failure(decode_plan, coordinates).first, 10);
    EXPECT_EQ(failure(decode_plan, plan + std::string(2, '\0')).first,
              static_cast<std::int64_t>(plan.size()));
}

TEST(Decoders, HugeCountsFailWithoutTakingMemoryForThem) {
    // A grid header claiming 2^31 - 1 cells over 15 bytes of data.
    std::string grid =
        std::string("\x01\x00\xff\xff\xff\x7f\x00\x00\x00\x00", 10) + std::string(15, '\0');
    const auto [offset, why] = failure(decode_grid, grid);
    EXPECT_EQ(offset, 25);
    EXPECT_NE(why.find("cell 1 (of 2147483647)"), std::string::npos) << why;
    // A plan header claiming 2^31 - 1 metres.
    std::string plan = std::string(
                           "\x02\x00\xff\xff\xff\x7f\x00\x00\x00\x00\x02\x00\x00\x00"
                           "\x00\x00\x00\x00",
                           18) +
                       std::string(4, '\0');
    EXPECT_EQ(failure(decode_plan, plan).first, 22);
    EXPECT_EQ(failure(decode_plan, std::string_view(plan).substr(0, 18)).first, 18);
}

TEST(Decoders, DamagedFilesDecodeOrFailCleanly) {
    const auto voci = sample_voci();
    const std::string files[] = {encoded([&](byte_sink& s) { encode_header(voci, s); }),
                                 encoded([&](byte_sink& s) { encode_grid(sample_grid(), s); }),
                                 encoded([&](byte_sink& s) { encode_plan(sample_plan(), s); })};
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = files[round % 3];
        for (int k = 0; k < 3; ++k) {
            bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
        }
        bytes.resize(bytes.size() - random() % 4);
        for (const auto& decode : {+[](std::string_view b) { decode_header(b); },
                                   +[](std::string_view b) { decode_grid(b); },
                                   +[](std::string_view b) { decode_plan(b); }}) {
            const auto [offset, why] = failure(decode, bytes);
            EXPECT_LE(offset, static_cast<std::int64_t>(bytes.size()));
        }
    }
}

}  // namespace
}  // namespace scenario::cli
