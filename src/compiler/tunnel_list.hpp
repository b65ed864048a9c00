#pragma once

#include <cstdint>
#include <vector>

namespace scenario {

// The tunnels memo_montagna has recorded so far, in order: it compares each new one
// with the last. The line reader clears the list before the body of its document.
struct tunnel_list {
    std::vector<std::int32_t> starts;
    std::vector<std::int32_t> ends;

    void clear() {
        starts.clear();
        ends.clear();
    }
};

}  // namespace scenario
