#pragma once

#include <stdexcept>
#include <string>

namespace scenario {

// A file operation the platform refused: names the file and the reason.
class file_error : public std::runtime_error {
  public:
    file_error(std::string path, std::string reason)
        : std::runtime_error("cannot write \"" + path + "\": " + reason),
          path_(std::move(path)),
          reason_(std::move(reason)) {}
    file_error(std::string path, std::string reason, const std::string& message)
        : std::runtime_error(message), path_(std::move(path)), reason_(std::move(reason)) {}

    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string path_;
    std::string reason_;
};

}  // namespace scenario
