# Header-only libraries from the build machine's packages (nlohmann-json, CLI11), for
# native and cross builds alike. A cross build must not search the host's /usr/include
# (its C library headers are not the target's), so the library's own folder is copied
# into the build tree and only that copy is put on the include path. With LINK, the
# build tree gets a link to the folder instead (Boost's headers are too many to copy).
function(scenario_header_only target folder)
    find_path(${target}_root ${folder} PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    set(copy ${CMAKE_BINARY_DIR}/header_only/${target})
    if("LINK" IN_LIST ARGN)
        file(MAKE_DIRECTORY ${copy})
        file(CREATE_LINK ${${target}_root}/${folder} ${copy}/${folder} SYMBOLIC)
    else()
        file(COPY ${${target}_root}/${folder} DESTINATION ${copy})
    endif()
    add_library(${target} INTERFACE)
    target_include_directories(${target} SYSTEM INTERFACE ${copy})
endfunction()
