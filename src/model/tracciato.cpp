#include "model/tracciato.hpp"

#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif
#include <string>

#include "model/reader_failure.hpp"

namespace scenario {

namespace {

// Asks the system to map a large zeroed block at once rather than page by page as the
// line reader first writes to it; where it cannot, the pages come on first use.
void prefault(char* p, std::size_t n) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = (reinterpret_cast<std::uintptr_t>(p) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(p) + n) / page * page;
    if (end > first) {
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
    }
#else
    (void)p;
    (void)n;
#endif
}

}  // namespace

tracciato_linea::tracciato_linea(std::int64_t ultimo_metro) {
    if (ultimo_metro < 0) {
        throw reader_failure("plan length " + std::to_string(ultimo_metro) + " is negative");
    }
    metres_ = static_cast<std::size_t>(ultimo_metro) + 1;
    bytes_ = 2 * metres_ * slot_bytes;
    // Every slot starts as tag 0 (empty) with zero padding.
    slots_.reset(static_cast<char*>(std::calloc(bytes_, 1)));
    if (!slots_) {
        throw std::bad_alloc();
    }
    prefault(slots_.get(), bytes_);
    kinds_.assign(valori(), static_cast<std::uint8_t>(tipo_valore::vuoto));
    doubles_in_block_.assign((valori() + slots_per_block - 1) / slots_per_block, 0);
}

tracciato_linea::tracciato_linea(const tracciato_linea& o)
    : metres_(o.metres_),
      bytes_(o.bytes_),
      kinds_(o.kinds_),
      doubles_in_block_(o.doubles_in_block_) {
    if (bytes_ != 0) {
        slots_.reset(static_cast<char*>(std::malloc(bytes_)));
        if (!slots_) {
            throw std::bad_alloc();
        }
        std::memcpy(slots_.get(), o.slots_.get(), bytes_);
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
