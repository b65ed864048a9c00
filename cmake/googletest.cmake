# Provides GTest::gtest, GTest::gtest_main, GTest::gmock and GTest::gmock_main.
# A cross build compiles GoogleTest from its sources (SCENARIO_GTEST_SOURCE_DIR) for
# the target; a native build uses the installed package.
if(SCENARIO_GTEST_SOURCE_DIR)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    # GoogleTest is third-party code: it is built with its own warning flags, not ours.
    get_directory_property(scenario_options COMPILE_OPTIONS)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
    add_subdirectory(${SCENARIO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "${scenario_options}")
    foreach(name gtest gtest_main gmock gmock_main)
        if(TARGET ${name} AND NOT TARGET GTest::${name})
            add_library(GTest::${name} ALIAS ${name})
        endif()
    endforeach()
else()
    find_package(GTest REQUIRED)
endif()
