#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/platform.hpp"

namespace scenario::testing {

// Records what the run shows.
class fake_platform : public platform {
  public:
    explicit fake_platform(std::string folder) : folder_(std::move(folder)) {}

    std::string own_folder() override { return folder_; }
    void show_window(std::string_view label) override { shown.emplace_back(label); }
    void message_box(std::string_view prompt) override { messages.emplace_back(prompt); }
    void report_failure(std::string_view message) override { failures.emplace_back(message); }

    std::vector<std::string> shown;
    std::vector<std::string> messages;
    std::vector<std::string> failures;

  private:
    std::string folder_;
};

}  // namespace scenario::testing
