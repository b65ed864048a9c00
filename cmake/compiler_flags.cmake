# Warnings are errors; floating point is computed exactly as written (no fused
# multiply-add), so the line plan's doubles are the same on every compiler.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    add_compile_options(-Wall -Wextra -Wpedantic -Werror -ffp-contract=off -fno-fast-math)
elseif(MSVC)
    add_compile_options(/W4 /WX /fp:precise /utf-8)
endif()
