#include "model/tracciato.hpp"

#include <algorithm>
#include <cstring>
#include <string>

#include "model/reader_failure.hpp"

namespace scenario {

tracciato_linea::tracciato_linea(std::int64_t ultimo_metro) {
    if (ultimo_metro < 0) {
        throw reader_failure("plan length " + std::to_string(ultimo_metro) + " is negative");
    }
    metres_ = static_cast<std::size_t>(ultimo_metro) + 1;
    bytes_ = 2 * metres_ * slot_bytes;
    slots_ = zeroed_block(bytes_);
    kinds_.assign(valori(), static_cast<std::uint8_t>(tipo_valore::vuoto));
    doubles_in_block_.assign((valori() + slots_per_block - 1) / slots_per_block, 0);
}

void tracciato_linea::mark_doubles(std::size_t first, std::size_t count) {
    constexpr auto doppio = static_cast<std::uint8_t>(tipo_valore::doppio);
    const std::size_t end = first + count;
    while (first < end) {
        const std::size_t block = first / slots_per_block;
        const std::size_t stop = std::min(end, (block + 1) * slots_per_block);
        const auto from = kinds_.begin() + static_cast<std::ptrdiff_t>(first);
        const auto to = kinds_.begin() + static_cast<std::ptrdiff_t>(stop);
        doubles_in_block_[block] += static_cast<std::uint32_t>(
            (stop - first) - static_cast<std::size_t>(std::count(from, to, doppio)));
        std::fill(from, to, doppio);
        first = stop;
    }
}

tracciato_linea::tracciato_linea(const tracciato_linea& o)
    : metres_(o.metres_),
      bytes_(o.bytes_),
      kinds_(o.kinds_),
      doubles_in_block_(o.doubles_in_block_) {
    if (bytes_ != 0) {
        slots_ = zeroed_block(bytes_);
        std::memcpy(slots_.data(), o.slots_.data(), bytes_);
    }
}

tracciato_linea& tracciato_linea::operator=(const tracciato_linea& o) {
    if (this != &o) {
        tracciato_linea copia(o);
        *this = std::move(copia);
    }
    return *this;
}

bool tracciato_linea::operator==(const tracciato_linea& o) const {
    if (metres_ != o.metres_) {
        return false;
    }
    for (std::size_t i = 0; i < valori(); ++i) {
        const auto m = static_cast<std::int64_t>(i % metres_);
        const int c = static_cast<int>(i / metres_);
        if (kind(m, c) != o.kind(m, c) || value(m, c) != o.value(m, c)) {
            return false;
        }
    }
    return true;
}

}  // namespace scenario
