#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// Where encoded bytes go: memory (tests, fuzzing) or a file being replaced. An encoder
// writes a sink either in order, with write(), or by position, with write_at(), which
// puts bytes at an offset from the start; bytes between the end and that offset are
// left for later writes to fill.
class byte_sink {
  public:
    virtual ~byte_sink() = default;
    virtual void write(std::string_view bytes) = 0;
    virtual void write_at(std::uint64_t offset, std::string_view bytes) = 0;
};

class string_sink : public byte_sink {
  public:
    void write(std::string_view bytes) override { bytes_.append(bytes); }
    void write_at(std::uint64_t offset, std::string_view bytes) override {
        const auto at = static_cast<std::size_t>(offset);
        if (bytes_.size() < at + bytes.size()) {
            bytes_.resize(at + bytes.size());
        }
        bytes_.replace(at, bytes.size(), bytes);
    }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

}  // namespace scenario
