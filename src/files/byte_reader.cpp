#include "files/byte_reader.hpp"

#include <algorithm>

namespace scenario {

void byte_reader::fetch(std::size_t n, const char* field) {
    need(n, field);
    // Keep the bytes not read yet, then fill the buffer as far as the bytes go.
    const std::size_t kept = held_ - at_;
    std::memmove(buffer_.get(), buffer_.get() + at_, kept);
    base_ += at_;
    at_ = 0;
    held_ = kept;
    const std::uint64_t next = base_ + held_;
    const auto more = static_cast<std::size_t>(std::min<std::uint64_t>(capacity_ - held_, end_ - next));
    source_->read_at(next, buffer_.get() + held_, more);
    held_ += more;
}

std::string byte_reader::text(std::size_t n, const char* field) {
    need(n, field);
    std::string out;
    if (n <= capacity_) {
        if (held_ - at_ < n) {
            fetch(n, field);
        }
        out.assign(buffer_.get() + at_, n);
        at_ += n;
        return out;
    }
    // Longer than the buffer: what it holds, then the rest straight from the source.
    const std::size_t kept = held_ - at_;
    out.resize(n);
    std::memcpy(out.data(), buffer_.get() + at_, kept);
    source_->read_at(base_ + held_, out.data() + kept, n - kept);
    base_ += at_ + n;
    at_ = held_ = 0;
    return out;
}

void byte_reader::skip(std::uint64_t n, const char* field) {
    need(n, field);
    if (held_ - at_ >= n) {
        at_ += static_cast<std::size_t>(n);
        return;
    }
    base_ += at_ + n;
    at_ = held_ = 0;
}

}  // namespace scenario
