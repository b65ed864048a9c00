#include "model/zeroed_block.hpp"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace scenario {

namespace {

#if defined(__linux__)
constexpr std::size_t huge_page = std::size_t{2} << 20;
// Below this a block is not worth a mapping of its own.
constexpr std::size_t least_mapped = std::size_t{4} << 20;

// Maps `bytes` (a multiple of huge_page) of zeroed memory aligned to huge_page, so that
// the system can back it with huge pages, and asks for all of it to be mapped now.
char* map_zeroed(std::size_t bytes) {
    const std::size_t span = bytes + huge_page;
    void* p = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        return nullptr;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const auto aligned = (start + huge_page - 1) / huge_page * huge_page;
    if (aligned > start) {
        munmap(p, aligned - start);
    }
    const std::uintptr_t end = aligned + bytes;
    if (start + span > end) {
        munmap(reinterpret_cast<void*>(end), start + span - end);
    }
    char* block = reinterpret_cast<char*>(aligned);
#if defined(MADV_HUGEPAGE)
    madvise(block, bytes, MADV_HUGEPAGE);
#endif
#if defined(MADV_POPULATE_WRITE)
    madvise(block, bytes, MADV_POPULATE_WRITE);
#endif
    return block;
}
#endif

}  // namespace

zeroed_block::zeroed_block(std::size_t bytes) {
    if (bytes == 0) {
        return;
    }
#if defined(__linux__)
    if (bytes >= least_mapped && bytes <= SIZE_MAX / 2) {
        const std::size_t rounded = (bytes + huge_page - 1) / huge_page * huge_page;
        data_ = map_zeroed(rounded);
        if (data_ != nullptr) {
            mapped_ = rounded;
            return;
        }
    }
#endif
    data_ = static_cast<char*>(std::calloc(bytes, 1));
    if (data_ == nullptr) {
        throw std::bad_alloc();
    }
}

void zeroed_block::release() noexcept {
#if defined(__linux__)
    if (mapped_ != 0) {
        munmap(data_, mapped_);
    } else {
        std::free(data_);
    }
#else
    std::free(data_);
#endif
    data_ = nullptr;
    mapped_ = 0;
}

}  // namespace scenario
