#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "compiled/compiled_scenario.hpp"
#include "report/json_writer.hpp"

namespace scenario::live {

// A stretch of the route in metres, both ends included.
struct metre_range {
    std::int64_t from = 0;
    std::int64_t to = 0;
};

// The longest window /detail answers, in metres, and the longest it gives the elements'
// records for.
constexpr std::int64_t detail_window_limit = std::int64_t{1} << 21;
constexpr std::int64_t detail_records_limit = 1024;

// An element as the page draws it: what a save compares to find what it changed.
struct drawn_element {
    std::int32_t position = 0;
    std::int32_t end = 0;  // a point element: its position
    std::int32_t value = 0;
    double x = 0;  // a point element's place on the plan, in picture units (0 without one)
    double y = 0;
    std::string name;  // a station's name, an indicator board's text (Windows-1252)
    // A digest of the rest of its record (cell, entry, values, document row), which the
    // page asks for only to show it.
    std::uint64_t record = 0;

    bool drawn_alike(const drawn_element& o) const {
        return position == o.position && end == o.end && value == o.value && x == o.x &&
               y == o.y && name == o.name;
    }
};

// The live page's drawing of one compile at level of detail (docs/live.md, "The
// drawing"): the frame `scenario render` draws (titles, panels, axes, legend), the plan's
// track simplified to what the fitted view shows, the layout of the profiles, every
// element in compact form, and the errors; the full detail of any window of the route on
// request; and, against the drawing of the compile before, only what changed.
class live_drawing {
  public:
    // The drawing of a compile with the errors among these diagnostics marked. `before`,
    // the drawing of the compile before (or null), lends its plan when the plan is the same.
    live_drawing(std::shared_ptr<const compiled_scenario> drawn,
                 std::span<const diagnostic> diagnostics, std::uint64_t generation, bool stale,
                 const live_drawing* before);
    ~live_drawing();
    live_drawing(const live_drawing&) = delete;
    live_drawing& operator=(const live_drawing&) = delete;

    std::uint64_t generation() const { return generation_; }

    // The value of a result's "drawing" member.
    void write(json_writer& json) const;
    // The value of a result's "drawing_changes" member: what changed since `before`.
    void write_changes(const live_drawing& before, json_writer& json) const;
    // The answer to /detail for a window of the route (within detail_window_limit).
    void write_detail(metre_range window, json_writer& json) const;

    // What the page is told of the elements of one kind.
    const std::vector<drawn_element>& elements(element_kind kind) const {
        return elements_[static_cast<std::size_t>(kind)];
    }

  private:
    struct plan_geometry;

    std::shared_ptr<const compiled_scenario> drawn_;
    std::uint64_t generation_ = 0;
    bool stale_ = false;
    std::string frame_;       // {"svg": ..., "width": ..., "height": ...}
    std::string profiles_;    // the profiles' layout, as JSON
    std::string errors_;      // the error marks, as JSON
    std::string kilometres_;  // the kilometre points of the plan, as JSON
    std::string marked_;      // the elements each diagnostic's row made, as JSON
    std::shared_ptr<const plan_geometry> plan_;  // null without a plan
    std::array<std::vector<drawn_element>, element_kinds> elements_;
    std::int64_t last_metre_ = 0;  // the end of the drawn route: the profiles' axis or the plan
};

}  // namespace scenario::live
