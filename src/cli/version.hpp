#pragma once

namespace scenario::cli {

// The tool's version as "scenario --version" shows it: the project's version ("1.0.0"),
// followed by the git description of the checkout it was built from, when it was
// ("1.0.0 (git 63b1149-dirty)"). Made at build time by cmake/version.cmake.
const char* tool_version();

}  // namespace scenario::cli
