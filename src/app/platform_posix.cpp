#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "app/platform.hpp"
#include "files/file_error.hpp"
#include "files/file_ops.hpp"

namespace scenario {

namespace {

class console_platform : public platform {
  public:
    std::string own_folder() override {
        char buffer[PATH_MAX + 1] = {};
        const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
        if (n <= 0) {
            throw file_error("/proc/self/exe", last_error_text(),
                             "cannot find the program's own folder");
        }
        return folder_of(std::string_view(buffer, static_cast<std::size_t>(n)));
    }
    void show_window(std::string_view label) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(label.size()), label.data());
    }
    void message_box(std::string_view prompt) override {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(prompt.size()), prompt.data());
    }
    void report_failure(std::string_view message) override {
        std::fprintf(stderr, "genera_scenario: %.*s\n", static_cast<int>(message.size()),
                     message.data());
    }
};

}  // namespace

std::unique_ptr<platform> make_platform() {
    return std::make_unique<console_platform>();
}

}  // namespace scenario
