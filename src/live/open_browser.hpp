#pragma once

#include <string>

namespace scenario::live {

// Asks the system to show a URL in the user's browser (xdg-open; on Windows the shell),
// without waiting for it. A request the system refuses throws failure; whether a browser
// then shows the page is not known.
void open_browser(const std::string& url);

}  // namespace scenario::live
