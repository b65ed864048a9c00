# Writes OUTPUT, the source of scenario::cli::tool_version(): the project's VERSION, and
# when SOURCE_DIR is a git checkout of its own (not a tarball unpacked somewhere inside
# another one) the description "git describe --always --dirty" gives of it, unless that
# is the release tag vVERSION itself. Run at every build; OUTPUT is written only when its
# text changes, so a build of an unchanged checkout compiles nothing again.
#
# cmake -DVERSION=1.0.0 -DSOURCE_DIR=... -DOUTPUT=... [-DGIT=git] -P version.cmake
set(text "${VERSION}")
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
    execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" rev-parse --show-toplevel
                    OUTPUT_VARIABLE top RESULT_VARIABLE top_status
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    file(REAL_PATH "${SOURCE_DIR}" source_real)
    if(top_status EQUAL 0)
        file(REAL_PATH "${top}" top)
    endif()
    if(top_status EQUAL 0 AND top STREQUAL source_real)
        execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" describe --always --dirty
                        OUTPUT_VARIABLE description RESULT_VARIABLE status
                        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(status EQUAL 0 AND description AND NOT description STREQUAL "v${VERSION}")
            set(text "${VERSION} (git ${description})")
        endif()
    endif()
endif()

string(CONFIGURE [=[
// Made by cmake/version.cmake at build time.
#include "cli/version.hpp"

const char* scenario::cli::tool_version() {
    return "@text@";
}
]=] source @ONLY)
set(old "")
if(EXISTS "${OUTPUT}")
    file(READ "${OUTPUT}" old)
endif()
if(NOT old STREQUAL source)
    file(WRITE "${OUTPUT}" "${source}")
endif()
