#pragma once

#include <cstddef>
#include <cstdint>

#include "render/marks.hpp"
#include "render/svg_writer.hpp"

namespace scenario::render {

// The attributes of an annotated picture, written on the element opened last; a plain
// picture (ids null) gets none. data-element is the element's number (element_ids),
// the same on the plan and the profiles; data-diagnostic is an error mark's index
// among the diagnostics the marks were taken from.
inline void element_attr(svg_writer& w, const element_ids* ids, std::size_t element_ids::*list,
                         std::size_t index) {
    if (ids != nullptr) {
        w.attr("data-element", static_cast<std::int64_t>(ids->*list + index));
    }
}

inline void diagnostic_attr(svg_writer& w, const element_ids* ids, const error_mark& e) {
    if (ids != nullptr) {
        w.attr("data-diagnostic", static_cast<std::int64_t>(e.diagnostic));
    }
}

}  // namespace scenario::render
