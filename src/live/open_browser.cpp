#include "live/open_browser.hpp"

#include "model/failure.hpp"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <cstdlib>
#endif

namespace scenario::live {

void open_browser(const std::string& url) {
#ifdef _WIN32
    const auto done = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    const bool started = done > 32;
#else
    // The URL is the server's own (digits, dots, a colon and slashes): nothing to quote.
    const std::string command = "xdg-open '" + url + "' >/dev/null 2>&1 &";
    const bool started = std::system(command.c_str()) == 0;
#endif
    if (!started) {
        throw failure("could not start a browser");
    }
}

}  // namespace scenario::live
