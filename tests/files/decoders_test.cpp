#include <gtest/gtest.h>

#include <random>

#include "files/byte_reader.hpp"
#include "files/byte_sink.hpp"
#include "files/grid_file.hpp"
#include "files/header_file.hpp"
#include "files/plan_file.hpp"
#include "support/whole_decoders.hpp"

namespace scenario {
namespace {

using testing::decode_grid;
using testing::decode_header;
using testing::decode_plan;
using testing::memory_source;

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
    celle[5] = cella{tipo::segnale, 40, -1, 0, 6, 101, 61, 2, 28, 98, 100};
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

// Every field near the ends of its range and the longest name a record can hold: a
// field left out, read with another width or signedness, shows.
TEST(Decoders, ReadBackAVariedStateFieldForField) {
    const auto s16 = [](int v) { return static_cast<std::int16_t>(v); };
    tabella_voci voci{};
    for (int k = 0; k < 87; ++k) {
        const auto u8 = [&](int d) { return static_cast<std::uint8_t>((k * 37 + d) % 256); };
        const std::string nome(static_cast<std::size_t>(7 * k), static_cast<char>('A' + k % 26));
        voci[static_cast<std::size_t>(k)] = voce{u8(0),
                                                 -2147483647 - 1 + k,
                                                 2147483647 - k,
                                                 -1000 * k,
                                                 u8(1),
                                                 nome,
                                                 s16(-32768 + k),
                                                 s16(32767 - k),
                                                 s16(-k),
                                                 s16(300 * k),
                                                 -1,
                                                 u8(2),
                                                 u8(3),
                                                 u8(4),
                                                 255,
                                                 86400 * k - 1};
    }
    voci[0].nome = std::string(65535, '\xE8');
    const std::string header = encoded([&](byte_sink& s) { encode_header(voci, s); });
    // 87 records of 34 bytes, names of 7 k bytes for k = 1 to 86, and 65535.
    EXPECT_EQ(header.size(), 87u * 34u + 7u * 86u * 87u / 2u + 65535u);
    EXPECT_EQ(decode_header(header), voci);

    // Larger than a reader's buffer (64 KiB), so that values lie across its refills.
    griglia celle(5000);
    for (int i = 0; i < 5000; ++i) {
        const auto u8 = [&](int d) { return static_cast<std::uint8_t>((i * 53 + d) % 256); };
        celle[static_cast<std::size_t>(i)] =
            cella{static_cast<tipo>(u8(0)), s16(-32768 + i), s16(32767 - i), s16(-100 * i), s16(100 * i), u8(1),
                  u8(2), u8(3),           u8(4),          u8(5),         u8(6)};
    }
    const std::string grid = encoded([&](byte_sink& s) { encode_grid(celle, s); });
    EXPECT_EQ(grid.size(), 10u + 15u * 5000u);
    EXPECT_EQ(decode_grid(grid), celle);

    tracciato_linea plan(7000);
    plan.set_integer(0, 0, -32768), plan.set_integer(0, 1, 32767);
    plan.set_integer(1, 0, 0), plan.set_integer(1, 1, 1);
    plan.draw(2, 6998, 0.001);
    const std::string plan_bytes = encoded([&](byte_sink& s) { encode_plan(plan, s); });
    // Header 18; per coordinate two integers (4), 6997 doubles (10), two empty (2).
    EXPECT_EQ(plan_bytes.size(), 18u + 2u * (2u * 4u + 6997u * 10u + 2u * 2u));
    EXPECT_EQ(decode_plan(plan_bytes), plan);
}

// A reader with a buffer of 8 bytes over bytes 2 to 26 of a source: values across
// refills, a text and a skip longer than what the buffer holds, offsets counted from
// the source's start, and the cut reported where the value starts.
TEST(Decoders, TheBufferedReaderReadsAcrossItsBuffer) {
    const std::string bytes = std::string("..\x0A\x00" "ABCDEFGHIJ" "\x01\x02\x03\x04", 18) +
                              "0123456" + std::string("\x09\x00", 2) + "tail";
    memory_source source(bytes);
    byte_reader in(source, 2, 27, 8);
    EXPECT_EQ(in.counted_text<std::uint16_t>("name"), "ABCDEFGHIJ");
    EXPECT_EQ(in.i32("n"), 0x04030201);
    in.skip(5, "gap");
    EXPECT_EQ(in.text(2, "two"), "56");
    EXPECT_EQ(in.offset(), 25u);
    EXPECT_EQ(in.u16("nine"), 9);
    try {
        in.i32("last");
        ADD_FAILURE() << "read past the end";
    } catch (const decode_error& e) {
        EXPECT_EQ(e.offset(), 27u);
        EXPECT_STREQ(e.what(), "the file ends inside last (4 bytes needed, 0 left)");
    }
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
}  // namespace scenario
