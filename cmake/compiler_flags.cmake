# Floating point is computed exactly as written (no fused multiply-add), so the line
# plan's doubles are the same on every compiler. Warnings are on everywhere; they stop
# the build only with SCENARIO_WERROR, which the project's own presets and CI turn on
# (a packager's plain build with another compiler version must not fail on a warning).
option(SCENARIO_WERROR "Treat compiler warnings as errors" OFF)
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra -Wpedantic -ffp-contract=off -fno-fast-math)
    if(SCENARIO_WERROR)
        add_compile_options(-Werror)
    endif()
elseif(MSVC)
    add_compile_options(/W4 /fp:precise /utf-8)
    if(SCENARIO_WERROR)
        add_compile_options(/WX)
    endif()
endif()
