// The plan keeps drawn stretches as recipes and computes their points when read; these
// tests hold it to a plain array of points, drawn point by point, through any mix of
// drawing and single writes, in any order.
#include "model/tracciato.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

#include "model/reader_failure.hpp"

namespace scenario {
namespace {

// The plan as an array: what tracciato_linea must always read as.
struct dense_plan {
    explicit dense_plan(std::int64_t last) : v(2, std::vector<valore_piano>(last + 1)) {}

    void set(std::int64_t m, int c, valore_piano x) { v[c][m] = x; }
    void draw(std::int64_t primo, std::int64_t ultimo, double k) {
        for (std::int64_t q = primo; q <= ultimo; ++q) {
            passo_disegno p{v[0][q - 2].numero, v[1][q - 2].numero, v[0][q - 1].numero,
                            v[1][q - 1].numero};
            p.avanza(k);
            v[0][q] = {tipo_valore::doppio, p.x1};
            v[1][q] = {tipo_valore::doppio, p.y1};
        }
    }

    std::vector<std::vector<valore_piano>> v;
};

// Every metre as the walk gives it, in order, with a check that no metre is skipped
// or visited twice.
struct walked {
    std::vector<valore_piano> x, y;
    std::int64_t next = 0;

    void empties(std::int64_t primo, std::int64_t ultimo) {
        EXPECT_EQ(primo, next);
        for (; next <= ultimo; ++next) {
            x.push_back({});
            y.push_back({});
        }
    }
    void stored(std::int64_t m, valore_piano a, valore_piano b) {
        EXPECT_EQ(m, next++);
        x.push_back(a);
        y.push_back(b);
    }
    void drawn(std::int64_t m, double a, double b) {
        EXPECT_EQ(m, next++);
        x.push_back({tipo_valore::doppio, a});
        y.push_back({tipo_valore::doppio, b});
    }
};

bool same(const valore_piano& a, const valore_piano& b) {
    return a.tipo == b.tipo &&
           std::bit_cast<std::uint64_t>(a.numero) == std::bit_cast<std::uint64_t>(b.numero);
}

void expect_reads_as(const tracciato_linea& t, const dense_plan& d, int step) {
    const auto last = static_cast<std::int64_t>(d.v[0].size()) - 1;
    ASSERT_EQ(t.last_metre(), last);
    walked w;
    t.visit(w);
    ASSERT_EQ(w.x.size(), static_cast<std::size_t>(last + 1)) << "step " << step;
    ASSERT_EQ(w.y.size(), w.x.size()) << "step " << step;
    for (std::int64_t m = 0; m <= last; ++m) {
        for (int c = 0; c < 2; ++c) {
            const valore_piano& want = d.v[c][m];
            ASSERT_TRUE(same(t.at(m, c), want)) << "step " << step << ", metre " << m << "/" << c;
            ASSERT_TRUE(same((c == 0 ? w.x : w.y)[m], want))
                << "walk, step " << step << ", metre " << m << "/" << c;
        }
    }
}

TEST(PlanStretches, AnyMixOfDrawingAndWritesReadsAsThePointByPointPlan) {
    constexpr std::int64_t last = 240;
    const double curvatures[] = {0.0, 0.001, -0.003, 0.0004, 0.0};
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&](std::int64_t lo, std::int64_t hi) {
            return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng);
        };
        tracciato_linea t(last);
        dense_plan d(last);
        t.set_integer(0, 0, 0), d.set(0, 0, {tipo_valore::intero, 0});
        t.set_integer(1, 1, 1), d.set(1, 1, {tipo_valore::intero, 1});
        std::int64_t cursor = 2;
        for (int step = 0; step < 120; ++step) {
            const auto what = pick(0, 9);
            const double k = curvatures[pick(0, 4)];
            if (what < 4 && cursor <= last) {  // forwards, as the line reader draws
                const std::int64_t end = std::min(last, cursor + pick(0, 40));
                t.draw(cursor, end, k);
                d.draw(cursor, end, k);
                cursor = end + 1 + pick(0, 2);  // sometimes a metre or two left out
            } else if (what < 6) {              // anywhere, over older stretches too
                const std::int64_t primo = pick(2, last);
                const std::int64_t ultimo = std::min(last, primo + pick(0, 30));
                t.draw(primo, ultimo, k);
                d.draw(primo, ultimo, k);
            } else {
                const std::int64_t m = pick(0, last);
                const int c = static_cast<int>(pick(0, 1));
                if (what < 8) {
                    const double v = static_cast<double>(pick(-50, 50)) / 8;
                    t.set_double(m, c, v);
                    d.set(m, c, {tipo_valore::doppio, v});
                } else {
                    const auto v = static_cast<std::int16_t>(pick(-3, 3));
                    t.set_integer(m, c, v);
                    d.set(m, c, {tipo_valore::intero, static_cast<double>(v)});
                }
            }
            if (step % 10 == 9) {
                expect_reads_as(t, d, step);
                const tracciato_linea copy = t;
                ASSERT_TRUE(copy == t);
            }
            if (testing::Test::HasFatalFailure()) {
                FAIL() << "seed " << seed;
            }
        }
        expect_reads_as(t, d, 120);
    }
}

TEST(PlanStretches, AWriteToAStretchOrToThePointsItStartsFromKeepsEveryOtherPoint) {
    tracciato_linea t(100);
    dense_plan d(100);
    t.set_integer(1, 1, 1), d.set(1, 1, {tipo_valore::intero, 1});
    t.draw(2, 40, 0.002), d.draw(2, 40, 0.002);
    t.draw(41, 41, -0.001), d.draw(41, 41, -0.001);  // a one-metre stretch
    t.set_double(42, 0, 0.5), d.set(42, 0, {tipo_valore::doppio, 0.5});
    t.draw(43, 90, 0.001), d.draw(43, 90, 0.001);  // starts from 41 (drawn) and 42 (set)
    expect_reads_as(t, d, 0);
    EXPECT_EQ(t.stretches().size(), 3u);
    // Metre 1 is where the first stretch starts from: its points must not move.
    t.set_integer(1, 1, 7), d.set(1, 1, {tipo_valore::intero, 7});
    expect_reads_as(t, d, 1);
    t.set_double(60, 1, -2.0), d.set(60, 1, {tipo_valore::doppio, -2.0});
    expect_reads_as(t, d, 2);
    t.set_integer(42, 1, 3), d.set(42, 1, {tipo_valore::intero, 3});
    expect_reads_as(t, d, 3);
}

TEST(PlanStretches, StretchesOutsideTheDrawablePlanAreRefused) {
    tracciato_linea t(100);
    EXPECT_THROW(t.draw(1, 10, 0.0), reader_failure);    // needs two points before
    EXPECT_THROW(t.draw(50, 101, 0.0), reader_failure);  // past the last metre
    EXPECT_THROW(t.draw(50, 49, 0.0), reader_failure);   // ends before it starts
    EXPECT_THROW(t.at(101, 0), reader_failure);
    EXPECT_THROW(t.at(5, 2), reader_failure);
    EXPECT_TRUE(t.stretches().empty());
    t.draw(2, 100, 0.0);
    EXPECT_EQ(t.kind(100, 1), tipo_valore::doppio);
}

}  // namespace
}  // namespace scenario
