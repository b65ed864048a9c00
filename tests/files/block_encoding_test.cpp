#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "files/block_buffer.hpp"
#include "files/grid_file.hpp"
#include "files/plan_file.hpp"

namespace scenario {
namespace {

// Remembers the size of every write, to see how the bytes reach a file.
class recording_sink : public byte_sink {
  public:
    void write(std::string_view bytes) override {
        sizes.push_back(bytes.size());
        all.append(bytes);
    }
    void write_at(std::uint64_t offset, std::string_view bytes) override {
        sizes.push_back(bytes.size());
        if (all.size() < offset + bytes.size()) {
            all.resize(offset + bytes.size());
        }
        all.replace(offset, bytes.size(), bytes);
    }
    std::vector<std::size_t> sizes;
    std::string all;
};

void append_le(std::string& out, std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

TEST(PlanFile, LargePlanCrossesBufferBlocksWithoutLosingOrSplittingValues) {
    // More values than one buffer holds, with every kind near the block boundaries.
    const std::int64_t last = 300000;
    tracciato_linea t(last);
    for (std::int64_t m = 0; m <= last; ++m) {
        for (int c = 0; c < 2; ++c) {
            if (m % 7 == 3) {
                continue;  // empty
            }
            if (m % 11 == 5) {
                t.set_integer(m, c, static_cast<std::int16_t>(m % 30000 - 15000));
            } else {
                t.set_double(m, c, 0.001 * static_cast<double>(m) - c);
            }
        }
    }
    std::string expected;
    append_le(expected, 2, 2);
    append_le(expected, static_cast<std::uint64_t>(last + 1), 4);
    append_le(expected, 0, 4);
    append_le(expected, 2, 4);
    append_le(expected, 0, 4);
    for (int c = 0; c < 2; ++c) {
        for (std::int64_t m = 0; m <= last; ++m) {
            const tipo_valore kind = t.kind(m, c);
            append_le(expected, static_cast<std::uint64_t>(kind), 2);
            if (kind == tipo_valore::intero) {
                append_le(expected, static_cast<std::uint16_t>(t.value(m, c)), 2);
            } else if (kind == tipo_valore::doppio) {
                append_le(expected, std::bit_cast<std::uint64_t>(t.value(m, c)), 8);
            }
        }
    }
    recording_sink sink;
    encode_plan(t, sink);
    ASSERT_EQ(sink.all.size(), expected.size());
    EXPECT_TRUE(sink.all == expected);
    // Large sequential writes: a handful of pieces, none above the buffer size.
    EXPECT_LE(sink.sizes.size(), expected.size() / (plan_write_bytes / 2) + 1);
    for (const std::size_t n : sink.sizes) {
        EXPECT_LE(n, plan_write_bytes);
    }
}

TEST(GridFile, GridLargerThanOneBufferKeepsEveryCellInPlace) {
    griglia g(100000);
    for (std::size_t i = 0; i < g.size(); ++i) {
        g[i].valore4 = static_cast<std::int16_t>(i);
        g[i].aderenza = static_cast<std::uint8_t>(i);
    }
    recording_sink sink;
    encode_grid(g, sink);
    ASSERT_EQ(sink.all.size(), grid_file_size(g.size()));
    for (const std::size_t i :
         {std::size_t{0}, std::size_t{69904}, std::size_t{69905}, std::size_t{99999}}) {
        const std::size_t at = 10 + 15 * i;
        EXPECT_EQ(static_cast<std::uint8_t>(sink.all[at + 7]), (i & 0xFF)) << i;
        EXPECT_EQ(static_cast<std::uint8_t>(sink.all[at + 8]), ((i >> 8) & 0xFF)) << i;
        EXPECT_EQ(static_cast<std::uint8_t>(sink.all[at + 14]), (i & 0xFF)) << i;
    }
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(PlanFile, AValueRetaggedInsideAFullBlockOfDoublesIsStillEncodedByItsNewKind) {
    tracciato_linea t(3 * tracciato_linea::page_metres);
    for (std::int64_t m = 0; m <= t.last_metre(); ++m) {
        t.set_double(m, 0, 1.5);
        t.set_double(m, 1, 2.5);
    }
    t.set_integer(5000, 0, -2);  // a double becomes an integer
    t.set_double(5000, 0, 3.0);  // and a double again
    t.set_integer(6000, 1, 7);
    recording_sink sink;
    encode_plan(t, sink);
    // All doubles but one integer: 10 bytes each, the integer 4.
    ASSERT_EQ(sink.all.size(), 18 + 10 * t.values() - 6);
    const std::size_t at = 18 + 10 * (t.points() + 6000);
    EXPECT_EQ(sink.all.substr(at, 4), std::string("\x02\x00\x07\x00", 4));
    double v = 0;
    std::memcpy(&v, sink.all.data() + 18 + 10 * 5000 + 2, 8);
    EXPECT_EQ(v, 3.0);
}

TEST(Plan, EqualityComparesKindsAndValuesNotTheBytesBehindThem) {
    tracciato_linea a(10);
    tracciato_linea b(10);
    a.set_double(3, 1, 2.0);
    a.set_integer(3, 1, 2);  // the double's bytes stay behind the integer
    b.set_integer(3, 1, 2);
    EXPECT_TRUE(a == b);
    b.set_double(3, 1, 2.0);
    EXPECT_FALSE(a == b);
    EXPECT_FALSE(a == tracciato_linea(11));
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

// Copies a plan point by point, as stored values only.
struct stored_copy {
    tracciato_linea& t;
    static void set(tracciato_linea& t, std::int64_t m, int c, valore_piano v) {
        if (v.tipo == tipo_valore::intero) {
            t.set_integer(m, c, static_cast<std::int16_t>(v.numero));
        } else if (v.tipo == tipo_valore::doppio) {
            t.set_double(m, c, v.numero);
        }
    }
    void empties(std::int64_t, std::int64_t) {}
    void stored(std::int64_t m, valore_piano x, valore_piano y) {
        set(t, m, 0, x);
        set(t, m, 1, y);
    }
    void drawn(std::int64_t m, double x, double y) {
        t.set_double(m, 0, x);
        t.set_double(m, 1, y);
    }
};

TEST(PlanFile, DrawnStretchesEncodeAsTheSamePointsStoredOneByOne) {
    // Long enough for both coordinates to cross several buffers, with stretches that
    // start from drawn and from stored points, empty metres and a lone integer.
    const std::int64_t last = 120000;
    tracciato_linea drawn(last);
    drawn.set_integer(0, 0, 0);
    drawn.set_integer(1, 1, 1);
    drawn.draw(2, 30000, 0.0);
    drawn.draw(30001, 30001, 0.003);
    drawn.draw(30002, 61000, -0.0004);
    drawn.set_integer(61001, 0, -9);  // y of 61001 stays empty
    drawn.draw(61002, 90000, 0.001);
    drawn.draw(95000, last - 2, 0.0);  // 90001 to 94999 empty
    tracciato_linea stored(last);
    stored_copy copy{stored};
    drawn.visit(copy);
    ASSERT_TRUE(stored.stretches().empty());

    recording_sink a;
    encode_plan(drawn, a);
    recording_sink b;
    encode_plan(stored, b);
    // Empty: 0/y, 1/x, 61001/y, both coordinates of the gap and of the last two metres.
    const std::size_t empties = 3 + 2 * 4999 + 2 * 2;
    const std::size_t integers = 3;  // 0/x, 1/y, 61001/x
    const std::size_t doubles = 2 * (last + 1) - empties - integers;
    ASSERT_EQ(a.all.size(), 18 + 2 * empties + 4 * integers + 10 * doubles);
    EXPECT_TRUE(a.all == b.all);
    for (const std::size_t n : a.sizes) {
        EXPECT_LE(n, plan_write_bytes);
    }
}

}  // namespace
}  // namespace scenario
