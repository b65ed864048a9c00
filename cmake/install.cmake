# What an install holds and the packages CPack makes of it.
#
# Linux (GNUInstallDirs under any prefix: /usr for the .deb, ~/.local without root, the
# folder of the unpacked .tar.gz): both programs in bin/, README.md, CHANGELOG.md and
# docs/ in share/doc/scenario/, the manual pages in share/man/, the bash completion where
# bash-completion looks under that prefix, the Neovim file type detection where Neovim
# looks for every user of that prefix, the Emacs mode in share/emacs/site-lisp/.
#
# Windows (the .zip): one folder with the two programs, README.txt, CHANGELOG.txt and the
# manual as text (made by a Linux build, given in SCENARIO_MANUAL_TEXT), docs/ and the
# editor files.
include(GNUInstallDirs)

set(scenario_installed_programs genera_scenario)
if(TARGET scenario)
    list(APPEND scenario_installed_programs scenario)
endif()

if(WIN32)
    set(SCENARIO_MANUAL_TEXT "" CACHE FILEPATH
        "The manual as text, made by a Linux build (manual/scenario-manual.txt), for the zip")
    # Text files as Windows tools show them: lines ended by CR LF.
    set(windows_texts ${CMAKE_BINARY_DIR}/windows-texts)
    foreach(pair "README.md:README.txt" "CHANGELOG.md:CHANGELOG.txt")
        string(REPLACE ":" ";" pair "${pair}")
        list(GET pair 0 source)
        list(GET pair 1 target)
        file(READ ${PROJECT_SOURCE_DIR}/${source} text)
        string(REPLACE "\r\n" "\n" text "${text}")
        string(REPLACE "\n" "\r\n" text "${text}")
        file(WRITE ${windows_texts}/${target} "${text}")
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    endforeach()
    install(TARGETS ${scenario_installed_programs} RUNTIME DESTINATION .)
    install(FILES ${windows_texts}/README.txt ${windows_texts}/CHANGELOG.txt DESTINATION .)
    if(SCENARIO_MANUAL_TEXT)
        install(FILES ${SCENARIO_MANUAL_TEXT} DESTINATION .)
    else()
        message(STATUS "SCENARIO_MANUAL_TEXT not given: the Windows package has no manual")
    endif()
    install(DIRECTORY docs/ DESTINATION docs)
    install(FILES editors/nvim/ftdetect/scenario.vim DESTINATION editors/nvim/ftdetect)
    install(FILES editors/emacs/scenario-mode.el DESTINATION editors/emacs)
else()
    set(scenario_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/scenario)
    install(TARGETS ${scenario_installed_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES README.md CHANGELOG.md DESTINATION ${scenario_doc_dir})
    install(DIRECTORY docs/ DESTINATION ${scenario_doc_dir}/docs)
    if(TARGET manual)
        install(DIRECTORY ${manual_dir}/man1 ${manual_dir}/man5 DESTINATION ${CMAKE_INSTALL_MANDIR})
        install(FILES ${manual_dir}/completion/scenario
                DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/bash-completion/completions)
    endif()
    install(FILES editors/nvim/ftdetect/scenario.vim
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/nvim/site/ftdetect)
    install(FILES editors/emacs/scenario-mode.el
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/emacs/site-lisp)
endif()

# The manual as one text file (groff renders each page), for the Windows package.
find_program(GROFF_PROGRAM groff)
if(TARGET manual AND GROFF_PROGRAM)
    set(manual_text ${manual_dir}/scenario-manual.txt)
    add_custom_command(OUTPUT ${manual_text}
        COMMAND ${CMAKE_COMMAND} -DMANUAL_DIR=${manual_dir} -DOUTPUT=${manual_text}
                -DGROFF=${GROFF_PROGRAM} -P ${PROJECT_SOURCE_DIR}/cmake/manual_text.cmake
        DEPENDS ${manual_dir}/pages.txt ${PROJECT_SOURCE_DIR}/cmake/manual_text.cmake
        COMMENT "Writing the manual as text"
        VERBATIM)
    add_custom_target(manual_text DEPENDS ${manual_text})
    add_dependencies(manual_text manual)
endif()

# The package preset builds the Windows zip from here, with this build's manual in it:
# the presets package-windows configure, build and pack the mingw-w64 build.
option(SCENARIO_PACKAGE_WINDOWS "Make the Windows zip with the Linux packages" OFF)
if(SCENARIO_PACKAGE_WINDOWS AND NOT WIN32)
    if(NOT TARGET manual_text)
        message(FATAL_ERROR "The Windows package takes the manual as text, which needs groff: "
                            "apt-get install groff-base, or -DSCENARIO_PACKAGE_WINDOWS=OFF")
    endif()
    find_program(MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
    if(NOT MINGW_CXX)
        message(FATAL_ERROR "The Windows package is built with mingw-w64: apt-get install "
                            "g++-mingw-w64-x86-64, or -DSCENARIO_PACKAGE_WINDOWS=OFF")
    endif()
    add_custom_target(windows_package
        COMMAND ${CMAKE_COMMAND} --preset package-windows -DSCENARIO_MANUAL_TEXT=${manual_text}
        COMMAND ${CMAKE_COMMAND} --build --preset package-windows
        COMMAND ${CMAKE_CPACK_COMMAND} --preset package-windows
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "Building and packing the Windows programs"
        USES_TERMINAL
        VERBATIM)
    add_dependencies(windows_package manual_text)
endif()

set(CPACK_PACKAGE_NAME scenario)
set(CPACK_PACKAGE_VENDOR "Scenario compiler maintainers")
set(CPACK_PACKAGE_CONTACT
    "Scenario compiler maintainers <maintainers@users.noreply.c-seed-e7299618.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compiler and authoring tool for train-driving scenarios")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "A scenario of the train-driving simulator is written in two plain-text\n"
    "documents, a line document and a train document. The authoring tool scenario\n"
    "compiles them into the binary files the simulator loads, reports what is wrong\n"
    "in them, lays them out, draws the compiled line, shows it on a live page that\n"
    "follows every save, decodes the binary files, and serves editors as a language\n"
    "server. genera_scenario writes and compiles the built-in scenario.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME scenario-${PROJECT_VERSION}-win64)
else()
    set(CPACK_GENERATOR DEB TGZ)
    set(CPACK_PACKAGE_FILE_NAME scenario-${PROJECT_VERSION}-Linux)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    # The programs are linked statically: dpkg-shlibdeps finds what they need, nothing.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion, man-db, neovim | elpa-eglot")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
include(CPack)
