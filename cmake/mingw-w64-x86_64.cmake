# Cross-compiles the project into native 64-bit Windows programs with mingw-w64.
# The programs are linked statically (nothing to ship beside the .exe) and the
# tests run under wine when it is present.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
# The posix thread model gives the full standard thread library; with -static its
# runtime is linked into the program like the rest.
find_program(mingw_cxx NAMES ${mingw_triple}-g++-posix ${mingw_triple}-g++ REQUIRED)
find_program(mingw_cc NAMES ${mingw_triple}-gcc-posix ${mingw_triple}-gcc REQUIRED)
find_program(mingw_rc NAMES ${mingw_triple}-windres)
set(CMAKE_CXX_COMPILER ${mingw_cxx})
set(CMAKE_C_COMPILER ${mingw_cc})
if(mingw_rc)
    set(CMAKE_RC_COMPILER ${mingw_rc})
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(wine_loader NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT wine_loader)
    find_program(wine_loader NAMES wine64 wine)
endif()
if(wine_loader)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_loader})
endif()
