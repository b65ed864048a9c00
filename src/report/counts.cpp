#include "report/counts.hpp"

#include <array>

namespace scenario {

namespace {

struct count_name {
    std::string_view key;
    std::string_view one;
    std::string_view many;
    std::int64_t element_counts::*member;
};

constexpr std::array<count_name, 11> read_counts{{
    {"curves", "curve", "curves", &element_counts::curves},
    {"gradient_rows", "gradient row", "gradient rows", &element_counts::gradient_rows},
    {"speed_rows", "speed row", "speed rows", &element_counts::speed_rows},
    {"adhesion_rows", "adhesion row", "adhesion rows", &element_counts::adhesion_rows},
    {"tunnels", "tunnel", "tunnels", &element_counts::tunnels},
    {"indicator_boards", "indicator board", "indicator boards", &element_counts::indicator_boards},
    {"speed_boards", "speed board", "speed boards", &element_counts::speed_boards},
    {"signals", "signal", "signals", &element_counts::signals},
    {"slowdowns", "slowdown", "slowdowns", &element_counts::slowdowns},
    {"code_entries", "code entry", "code entries", &element_counts::code_entries},
    {"stations", "station", "stations", &element_counts::stations},
}};

}  // namespace

std::vector<named_count> counts_of(const run_state& state) {
    std::vector<named_count> counts{
        {"cells", "cell", "cells", static_cast<std::int64_t>(state.celle.size())}};
    for (const count_name& c : read_counts) {
        counts.push_back({c.key, c.one, c.many, state.trace.counts.*c.member});
    }
    return counts;
}

}  // namespace scenario
