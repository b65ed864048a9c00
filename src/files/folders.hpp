#pragma once

#include <string>

namespace scenario {

// Makes the folder `folder` and every missing folder above it; an existing folder is
// left as it is. A part of the path that exists but is not a folder, or a folder that
// cannot be made, throws file_error naming that part.
void make_folders(const std::string& folder);

}  // namespace scenario
