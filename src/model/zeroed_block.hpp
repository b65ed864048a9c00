#pragma once

#include <cstddef>
#include <utility>

namespace scenario {

// A block of memory that arrives zeroed, for the line plan's slots (20 MB on the
// longest route). On Linux it is mapped at once, in huge pages where the system gives
// them, rather than faulted in page by page as the line reader first writes to it;
// elsewhere it comes from calloc. Move-only; an empty block holds nothing.
class zeroed_block {
  public:
    zeroed_block() = default;
    // Throws std::bad_alloc when the memory cannot be had.
    explicit zeroed_block(std::size_t bytes);
    ~zeroed_block() { release(); }
    zeroed_block(zeroed_block&& o) noexcept
        : data_(std::exchange(o.data_, nullptr)), mapped_(std::exchange(o.mapped_, 0)) {}
    zeroed_block& operator=(zeroed_block&& o) noexcept {
        if (this != &o) {
            release();
            data_ = std::exchange(o.data_, nullptr);
            mapped_ = std::exchange(o.mapped_, 0);
        }
        return *this;
    }
    zeroed_block(const zeroed_block&) = delete;
    zeroed_block& operator=(const zeroed_block&) = delete;

    char* data() const { return data_; }

  private:
    void release() noexcept;

    char* data_ = nullptr;
    std::size_t mapped_ = 0;  // bytes of a mapping; 0 when data_ came from calloc
};

}  // namespace scenario
