#include <algorithm>

#include "model/packing.hpp"
#include "output/block_buffer.hpp"
#include "output/encoders.hpp"

namespace scenario {

std::uint64_t plan_file_size(std::uint64_t m) {
    return 18 + 2 * (8 + 10 * (m - 3) + 4);
}

namespace {

constexpr std::size_t widest_value = 10;  // a 2-byte tag and 8 bytes of double
constexpr std::size_t values_per_block = block_buffer::capacity / widest_value;

// Encodes values [first, last) into p; room for widest_value bytes each is there.
char* encode_values(const std::uint8_t* kinds, const double* values, std::size_t first,
                    std::size_t last, char* p) {
    for (std::size_t i = first; i < last; ++i) {
        const auto kind = static_cast<tipo_valore>(kinds[i]);
        p = put_le(p, static_cast<std::uint16_t>(kinds[i]));
        if (kind == tipo_valore::doppio) {
            p = put_le(p, values[i]);
        } else if (kind == tipo_valore::intero) {
            p = put_le(p, static_cast<std::int16_t>(values[i]));
        }
    }
    return p;
}

}  // namespace

// The plan is about two million values: they are encoded a block at a time straight
// into a large buffer, which goes to the sink in one write per block.
void encode_plan(const tracciato_linea& tracciato, byte_sink& out) {
    block_buffer buffer(out);
    const auto metres =
        fit<std::int32_t>(static_cast<std::int64_t>(tracciato.punti()), "line plan length");
    char* p = buffer.room(18);
    p = put_le(p, std::uint16_t{2});  // two dimensions
    if (plan_header_metre_pair_first) {
        p = put_le(p, metres), p = put_le(p, std::int32_t{0});
        p = put_le(p, std::int32_t{2}), p = put_le(p, std::int32_t{0});
    } else {
        p = put_le(p, std::int32_t{2}), p = put_le(p, std::int32_t{0});
        p = put_le(p, metres), p = put_le(p, std::int32_t{0});
    }
    buffer.commit(p);
    const std::uint8_t* kinds = tracciato.kinds().data();
    const double* values = tracciato.values().data();
    const std::size_t count = tracciato.kinds().size();
    for (std::size_t first = 0; first < count; first += values_per_block) {
        const std::size_t last = std::min(count, first + values_per_block);
        char* start = buffer.room((last - first) * widest_value);
        buffer.commit(encode_values(kinds, values, first, last, start));
    }
    buffer.flush();
}

}  // namespace scenario
