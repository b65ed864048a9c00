// The timetable: running times worked out by hand on simple profiles (a constant limit is
// distance over speed, to the second; a step; a slowdown; acceleration and braking on the
// level and uphill), each warning pinned on both sides of its limit, and the least running
// time never above the estimate on varied profiles.
#include "timetable/timetable.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "compiled/compiled_scenario.hpp"

namespace scenario {
namespace {

std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) {
        text += l + "\r\n";
    }
    return text;
}

// A line document of a 20 km route climbing `gradient` per mille all along.
std::string line_document(int gradient = 0) {
    return crlf({"[generale]", "lunghezza percorso,    20000", "[pendenze]",
                 "pendenza,  0,   " + std::to_string(gradient), "[fine]"});
}

std::string station(int position, int kind, int length, const std::string& time,
                    const std::string& name) {
    return "stazione,   " + std::to_string(position) + ", " + std::to_string(kind) + ",  " +
           std::to_string(length) + ",  1, 0, 0,  4,1,1,  2,1,1,    1,  " + time + ", " + name;
}

// A train document: cars, sand, braked mass, clock, the given rows, then two stations, at 0 timed
// `first` and at 10,000 m timed `second` ("19, 5, 0").
std::string train_document(const std::vector<std::string>& rows, const std::string& first,
                           const std::string& second, int braked_mass = 125,
                           const std::string& clock = "18  0  0") {
    std::vector<std::string> lines{"[generale]", "numero vetture,    12", "sabbia,    300",
                                   "percentuale massa frenata,    " + std::to_string(braked_mass),
                                   "orologio,    " + clock};
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.push_back(station(0, 4, 900, first, "UNO"));
    lines.push_back(station(10000, 11, 600, second, "DUE"));
    lines.push_back("[fine]");
    return crlf(lines);
}

compiled_scenario compiled(const std::string& line, const std::string& train,
                           timetable_options options = {}) {
    compile_request request;
    request.scenario = "S";
    request.train = "T";
    request.line = document_source{"S_linea.txt", line};
    request.train_document = document_source{"S_T-.txt", train};
    request.timetable = options;
    return compile(request);
}

// The timetable of a compile that must have no error, with its last station.
struct worked {
    compiled_scenario compiled;
    timetable table;
    const timetable_station& last() const { return table.stations.back(); }
};

worked work(const std::string& line, const std::string& train, timetable_options options = {}) {
    worked w{compiled(line, train, options), {}};
    EXPECT_EQ(w.compiled.state.codice_errore, 0);
    w.table = make_timetable(w.compiled.state, options);
    EXPECT_EQ(w.table.stations.size(), 2u);
    return w;
}

// The names of the warnings a compile recorded, with their lines.
std::vector<std::string> warnings(const compiled_scenario& c) {
    std::vector<std::string> out;
    for (const diagnostic& d : c.state.diagnostics) {
        out.push_back(d.name + "@" + std::to_string(d.line));
    }
    return out;
}

using list = std::vector<std::string>;

TEST(Timetable, ConstantLimitIsDistanceOverSpeedToTheSecond) {
    // 10,000 m at 120 km/h (33 1/3 m/s): 300 s.
    const std::vector<std::string> speeds{"velocita,       0,   120"};
    const worked w = work(line_document(), train_document(speeds, "19, 0, 0", "19, 5, 0"));
    ASSERT_TRUE(w.last().least);
    EXPECT_NEAR(*w.last().least, 300.0, 1e-9);
    EXPECT_EQ(whole_seconds(*w.last().least), 300);
    EXPECT_EQ(w.last().available, 300);
    EXPECT_TRUE(warnings(w.compiled).empty());
    // A second less is a time no train can keep: -Wtimetable at the later station (line 6).
    EXPECT_EQ(warnings(compiled(line_document(),
                                train_document(speeds, "19, 0, 0", "19, 4, 59"))),
              list{"timetable@8"});
}

TEST(Timetable, OneStepAndOneSlowdown) {
    // 5000 m at 100 km/h (180 s), then 5000 m at 150 km/h (120 s).
    const worked step = work(line_document(),
                             train_document({"velocita,       0,   100", "velocita,    5000,   150"},
                                            "19, 0, 0", "19, 5, 0"));
    EXPECT_NEAR(step.last().least.value_or(0), 300.0, 1e-9);
    // 120 km/h throughout but 400 m at 40 km/h from 4000 m: 9600 m in 288 s and 400 m in
    // 36 s, 324 s.
    const std::vector<std::string> slowed{"velocita,       0,   120",
                                          "rallentamento,    4000,    40,  400, 0,  0,  0"};
    const worked slow = work(line_document(), train_document(slowed, "19, 0, 0", "19, 5, 24"));
    EXPECT_NEAR(slow.last().least.value_or(0), 324.0, 1e-9);
    EXPECT_TRUE(warnings(slow.compiled).empty());
    EXPECT_EQ(warnings(compiled(line_document(), train_document(slowed, "19, 0, 0", "19, 5, 23"))),
              list{"timetable@9"});
}

TEST(Timetable, EstimateAcceleratesAndBrakesByTheMindenFormula) {
    // 90 km/h = 25 m/s: 400 s at the speed allowed. Braked mass 125 %: braking
    // (6.1 x 13.5) / (2 x 3.85 x 3.6²) = 82.35 / 99.792 = 0.825216 m/s². From rest at
    // 0.5 m/s²: 50 s over 625 m; braking from 25 m/s: 30.295 s over 378.689 m; between them
    // 8996.311 m at 25 m/s, 359.852 s. In all 440.147 s: 441 s.
    const std::vector<std::string> speeds{"velocita,       0,    90"};
    const worked level = work(line_document(), train_document(speeds, "19, 0, 0", "19, 7, 30"));
    ASSERT_TRUE(level.table.braking);
    EXPECT_NEAR(*level.table.braking, 0.825216, 1e-6);
    EXPECT_NEAR(level.last().least.value_or(0), 400.0, 1e-9);
    EXPECT_NEAR(level.last().estimate.value_or(0), 440.147, 1e-3);
    EXPECT_EQ(margin_of(level.last()), 450 - 441);

    // 10 per mille uphill: accelerating at 0.5 - 9.81 x 0.010 = 0.4019 m/s² (62.205 s over
    // 777.557 m) and braking at (82.35 + 10) / 99.792 = 0.925425 m/s² (27.015 s over
    // 337.683 m); 8884.761 m at 25 m/s in 355.390 s. In all 444.610 s.
    const worked uphill = work(line_document(10), train_document(speeds, "19, 0, 0", "19, 7, 30"));
    EXPECT_NEAR(uphill.last().estimate.value_or(0), 444.610, 1e-3);

    // -Wtimetable-tight, when asked for, below the estimate and not at it; -Wtimetable
    // below the least running time only.
    timetable_options tight;
    tight.tight = true;
    const auto with = [&](const std::string& second, const timetable_options& options) {
        return warnings(compiled(line_document(), train_document(speeds, "19, 0, 0", second),
                                 options));
    };
    EXPECT_EQ(with("19, 7, 21", tight), list{});
    EXPECT_EQ(with("19, 7, 20", tight), list{"timetable-tight@8"});
    EXPECT_EQ(with("19, 7, 20", {}), list{});
    EXPECT_EQ(with("19, 6, 40", tight), list{"timetable-tight@8"});
    EXPECT_EQ(with("19, 6, 39", tight), list{"timetable@8"});

    // A faster acceleration asked for: 1 m/s² reaches 25 m/s in 25 s over 312.5 m, 12.5 s
    // sooner: 427.648 s.
    timetable_options brisk;
    brisk.acceleration = 1.0;
    const worked faster =
        work(line_document(), train_document(speeds, "19, 0, 0", "19, 7, 30"), brisk);
    EXPECT_NEAR(faster.last().estimate.value_or(0), 427.648, 1e-3);
}

TEST(Timetable, WithoutABrakedMassThereIsNoEstimate) {
    const worked w = work(line_document(),
                          train_document({"velocita,       0,    90"}, "19, 0, 0", "19, 7, 30", 0));
    EXPECT_FALSE(w.table.braking);
    EXPECT_FALSE(w.last().estimate);
    EXPECT_EQ(margin_of(w.last()), 450 - 400);
    // The fastest run then changes speed at once: it reaches DUE in 400 s.
    ASSERT_TRUE(w.last().arrival);
    EXPECT_NEAR(*w.last().arrival, 19 * 3600 + 400, 1e-6);
}

TEST(Timetable, ClockStartingAfterTheFirstDeparture) {
    const std::vector<std::string> speeds{"velocita,       0,   120"};
    EXPECT_EQ(warnings(compiled(line_document(),
                                train_document(speeds, "19, 0, 0", "19, 5, 0", 125, "19  0  0"))),
              list{});
    // One second late: reported at the clock's row (line 3).
    const compiled_scenario late =
        compiled(line_document(), train_document(speeds, "19, 0, 0", "19, 5, 0", 125, "19  0  1"));
    EXPECT_EQ(warnings(late), list{"timetable@5"});
    // The fastest run then leaves when the clock starts.
    const timetable t = make_timetable(late.state, {});
    ASSERT_TRUE(t.stations.front().departure);
    EXPECT_EQ(*t.stations.front().departure, 19 * 3600 + 1);
    // A clock left at 0 (no clock row) is not late, nor one just before midnight with a
    // first time just after it.
    EXPECT_EQ(warnings(compiled(line_document(),
                                train_document(speeds, "19, 0, 0", "19, 5, 0", 125, "0  0  0"))),
              list{});
    EXPECT_EQ(warnings(compiled(line_document(),
                                train_document(speeds, "0, 1, 0", "0, 6, 0", 125, "23 59  0"))),
              list{});
}

TEST(Timetable, TimesAcrossMidnightAndAWayThatAllowsNothing) {
    const std::vector<std::string> speeds{"velocita,       0,   120"};
    const worked night =
        work(line_document(), train_document(speeds, "23, 58, 0", "0, 3, 0"));
    EXPECT_EQ(night.last().available, 300);
    EXPECT_TRUE(warnings(night.compiled).empty());
    // A speed of 0 from 5000 m: no train reaches DUE.
    const compiled_scenario blocked =
        compiled(line_document(), train_document({"velocita,       0,   120",
                                                  "velocita,    5000,     0"},
                                                 "19, 0, 0", "20, 0, 0"));
    EXPECT_EQ(warnings(blocked), list{"timetable@9"});
    const timetable t = make_timetable(blocked.state, {});
    EXPECT_EQ(t.stations.back().blocked, 5000);
    EXPECT_FALSE(t.stations.back().arrival);
}

TEST(Timetable, NothingToCheckWithoutSpeedsOrWithAnError) {
    // No speed row: the profile is 0 everywhere, and nothing is said of the times.
    EXPECT_TRUE(warnings(compiled(line_document(), train_document({}, "19, 0, 0", "19, 0, 1")))
                    .empty());
    // An error (a station 650 m long, error 9) leaves the timetable unchecked.
    const std::string train = crlf({"[generale]", "velocita,       0,   120",
                                    station(0, 4, 900, "19, 0, 0", "UNO"),
                                    station(10000, 11, 650, "19, 0, 1", "DUE"), "[fine]"});
    const compiled_scenario c = compiled(line_document(), train);
    EXPECT_EQ(c.state.codice_errore, 9);
    EXPECT_TRUE(std::none_of(c.state.diagnostics.begin(), c.state.diagnostics.end(),
                             [](const diagnostic& d) { return d.name == "timetable"; }));
}

TEST(Timetable, LeastRunningTimeIsNeverAboveTheEstimate) {
    const int speeds[] = {140, 30, 90, 160, 60, 120, 45, 100};
    const int gradients[] = {0, 12, -18, 25, -6, 4, -30};
    const int braked[] = {20, 80, 125, 200};
    const double accelerations[] = {0.2, 0.5, 1.2};
    for (int seed = 0; seed < 12; ++seed) {
        std::vector<std::string> line{"[generale]", "lunghezza percorso,    20000", "[pendenze]"};
        for (int k = 0; k < 40; ++k) {
            line.push_back("pendenza,  " + std::to_string(500 * k) + ",   " +
                           std::to_string(gradients[(k * 3 + seed) % 7]));
        }
        line.push_back("[fine]");
        std::vector<std::string> train{"[generale]", "percentuale massa frenata,    " +
                                                         std::to_string(braked[seed % 4])};
        for (int k = 0; k < 20; ++k) {
            train.push_back("velocita,   " + std::to_string(1000 * k) + ",   " +
                            std::to_string(speeds[(k * 5 + seed) % 8]));
        }
        train.push_back("rallentamento,    " + std::to_string(3000 + 700 * seed) +
                        ",    25,  " + std::to_string(100 + 50 * seed) + ", 0,  0,  0");
        const int positions[] = {0, 3500, 8000, 14750, 19000};
        for (int k = 0; k < 5; ++k) {
            train.push_back(station(positions[k], k == 0 ? 4 : 11, k == 0 ? 900 : 600,
                                    std::to_string(8 + k) + ", 0, 0",
                                    "S" + std::to_string(k)));
        }
        train.push_back("[fine]");
        timetable_options options;
        options.acceleration = accelerations[seed % 3];
        const compiled_scenario c = compiled(crlf(line), crlf(train), options);
        ASSERT_EQ(c.state.codice_errore, 0) << "seed " << seed;
        const timetable t = make_timetable(c.state, options);
        ASSERT_EQ(t.stations.size(), 5u);
        double last_arrival = 0;
        for (const timetable_station& s : t.stations) {
            if (s.previous) {
                ASSERT_TRUE(s.least && s.estimate) << "seed " << seed;
                EXPECT_LE(*s.least, *s.estimate + 1e-9) << "seed " << seed << " at " << s.position;
            }
            ASSERT_TRUE(s.arrival);
            EXPECT_GE(*s.arrival, last_arrival);
            last_arrival = *s.departure;
        }
    }
}

TEST(Timetable, TextsOfTimesAndDurations) {
    EXPECT_EQ(clock_text(19 * 3600 + 9 * 60), "19:09:00");
    EXPECT_EQ(clock_text(-600), "-00:10:00");
    EXPECT_EQ(duration_text(45), "45 s");
    EXPECT_EQ(duration_text(60), "1 min 0 s");
    EXPECT_EQ(duration_text(3725), "1 h 2 min 5 s");
    EXPECT_EQ(duration_text(-600), "-10 min 0 s");
    EXPECT_EQ(whole_seconds(300.0000000001), 300);
    EXPECT_EQ(whole_seconds(300.01), 301);
}

}  // namespace
}  // namespace scenario
