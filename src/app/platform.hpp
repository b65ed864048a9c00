#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace scenario {

// What the run needs of the operating system. The console implementation serves
// POSIX systems; the Win32 one shows a real window and message box, which closes when
// the platform is destroyed.
class platform {
  public:
    virtual ~platform() = default;
    // The folder that holds the program file, without a trailing separator; throws
    // file_error when the system cannot tell.
    virtual std::string own_folder() = 0;
    // Shows the window with its one label and draws it at once.
    virtual void show_window(std::string_view label) = 0;
    // A modal message with one OK button; returns when the user has answered.
    virtual void message_box(std::string_view prompt) = 0;
    // Tells the user why the run could not finish (a file that could not be written).
    virtual void report_failure(std::string_view message) = 0;
};

std::unique_ptr<platform> make_platform();

}  // namespace scenario
