#pragma once

#include <string>

namespace scenario::live {

// Asks the system to show a URL in the user's browser (xdg-open; on Windows the shell),
// without waiting for it. Best effort: returns whether the request could be made.
bool open_browser(const std::string& url);

}  // namespace scenario::live
