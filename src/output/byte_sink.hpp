#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace scenario {

// Where encoded bytes go: memory (tests, fuzzing) or a file being replaced.
class byte_sink {
  public:
    virtual ~byte_sink() = default;
    virtual void write(std::string_view bytes) = 0;
};

class string_sink : public byte_sink {
  public:
    void write(std::string_view bytes) override { bytes_.append(bytes); }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

}  // namespace scenario
