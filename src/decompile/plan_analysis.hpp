#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "files/byte_reader.hpp"
#include "model/passo_disegno.hpp"
#include "model/tracciato.hpp"

namespace scenario {

// Metres first to last of a plan, each drawn from the two before it with curvature k
// (never 0: the metres between runs are straight).
struct curve_run {
    std::int64_t first = 0;
    std::int64_t last = 0;
    double k = 0.0;
};

// What the points of a line plan say about the curve rows that drew it.
struct plan_analysis {
    std::int64_t last_metre = -1;  // E: the plan holds metres 0 to E
    std::vector<curve_run> curves;  // in metre order, none sharing a metre
    std::int64_t last_drawn = 1;     // the last metre holding a drawn point (doubles)
    // Metres 0 and 1 as stored: x0, y0, x1, y1.
    std::array<valore_piano, 4> start{};
    // The first metre from 2 on whose point no curve class (nor a straight step) draws
    // from the two points before it, and how many such metres there are. Such a metre
    // is taken to go on as the metre before it did, from the points the curve rows
    // would have drawn.
    std::optional<std::int64_t> first_unmatched;
    std::int64_t unmatched = 0;
};

// The curvatures a curve row can draw with: 0 (a straight step) and each class, right
// (positive) and left (negative).
constexpr int curve_classes = 6;
double class_curvature(int curve_class);  // 1 to 6

// Reads a plan point by point, in metre order, and finds the curvature of each step:
// the one whose step from the two points before gives the stored point bit for bit.
// Holds only the runs it has found, never the points.
class plan_analyser {
  public:
    void start(std::int64_t metres);
    void point(std::int64_t metro, const valore_piano& x, const valore_piano& y);
    plan_analysis finish();

  private:
    void step_with(double k);
    void close_run();

    plan_analysis result_;
    passo_disegno drawn_;  // the last two points as curve rows would draw them
    double k_ = 0.0;        // the curvature of the run going on
    std::int64_t run_first_ = 2;
    std::int64_t next_ = 0;  // the metre expected next
};

// Analyses a plan file laid out as the compiler writes one (two dimensions, the metres
// first, both coordinates of a point with the same tag, nothing after the last value),
// reading it once from front to back; false for any other file (stream_plan then
// analyses it, or says where it goes wrong), the analyser's result then unfinished.
bool analyse_plan_file(byte_source& source, plan_analyser& a);

// The analysis of a plan held in memory (a compile's): from its stretches when they draw
// every metre from 2 on (a compile's plan always does), else walking it once.
plan_analysis analyse_plan(const tracciato_linea& plan);

}  // namespace scenario
