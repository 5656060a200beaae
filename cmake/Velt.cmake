# Build settings shared by every folder, and the two helpers that declare libraries and tests.
#
# Two kinds of build tree use this project:
#   native  (host compiler): the portable core, its unit tests and fuzz targets, with ASan + UBSan;
#   Windows (MinGW-w64):     everything, Velt.exe and dist/Velt/, Windows tests run under Wine.

set(VELT_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(VELT_ROOT ${VELT_ROOT} ABSOLUTE)

if(WIN32)
    set(VELT_WINDOWS ON)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    add_link_options(-static -static-libgcc -static-libstdc++)
    set(VELT_DIST ${VELT_ROOT}/dist/Velt CACHE PATH "The folder a Windows user copies")
    set(VELT_WINDOWS_DIST "Z:${VELT_DIST}") # the same folder as Windows programs under Wine see it
else()
    set(VELT_WINDOWS OFF)
    option(VELT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
    if(VELT_SANITIZE)
        add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                            -fno-omit-frame-pointer)
        add_link_options(-fsanitize=address,undefined)
    endif()
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        set(VELT_FUZZ ON)
    else()
        set(VELT_FUZZ OFF)
    endif()
endif()

# Win32 records start as {sizeof(record)}: the rest zero-filled on purpose.
set(VELT_WARNINGS -Wall -Wextra -Wshadow -Wno-missing-field-initializers)

# GoogleTest sources (Debian's package googletest puts them in /usr/src/googletest), built with
# this tree's flags for either target.
find_path(VELT_GOOGLETEST_DIR NAMES googletest/include/gtest/gtest.h
          HINTS ENV GOOGLETEST_DIR PATHS /usr/src/googletest NO_CMAKE_FIND_ROOT_PATH)
if(NOT VELT_GOOGLETEST_DIR)
    message(FATAL_ERROR "GoogleTest sources not found: install the package googletest "
                        "(tools/setup.sh) or set VELT_GOOGLETEST_DIR to their folder")
endif()
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${VELT_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(VELT_WINDOWS)
    # zlib for MinGW-w64: the DLL shipped beside the program and the static library the tests
    # build their PNG files with (Debian's package libz-mingw-w64-dev).
    find_file(VELT_ZLIB_DLL zlib1.dll HINTS ${VELT_MINGW_ROOT}/bin ${VELT_MINGW_ROOT}/lib
              NO_CMAKE_FIND_ROOT_PATH)
    find_library(VELT_ZLIB_STATIC NAMES libz.a z)
    if(NOT VELT_ZLIB_DLL OR NOT VELT_ZLIB_STATIC)
        message(FATAL_ERROR "zlib for MinGW-w64 not found: install libz-mingw-w64-dev "
                            "(tools/setup.sh) or set VELT_ZLIB_DLL and VELT_ZLIB_STATIC")
    endif()

    # Windows programs run under Wine with this tree's own prefix and a private display, begun
    # and ended around the tests by two fixture entries (tools/wine-test.sh): ctest never
    # touches ~/.wine or the user's screen.
    foreach(tool wine wineserver Xvfb xdotool)
        find_program(VELT_HOST_${tool} ${tool} HINTS /usr/bin /usr/lib/wine)
        if(NOT VELT_HOST_${tool})
            message(WARNING "${tool} not found: the Windows tests will not run (tools/setup.sh)")
        endif()
    endforeach()
    set(VELT_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix CACHE PATH
        "The Wine prefix the Windows tests run in")
    set(VELT_WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${VELT_ROOT}/tools/wine-test.sh ${VELT_WINE_PREFIX} ${VELT_WINE_SESSION})
    add_test(NAME wine_session_start
             COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --start)
    add_test(NAME wine_session_stop COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} --stop)
    set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 300)
    set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
endif()

# velt_under_wine(test...): Windows test entries run inside the Wine session.
function(velt_under_wine)
    if(VELT_WINDOWS)
        set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine_session)
    endif()
endfunction()

# velt_library(name [WINDOWS_ONLY] SOURCES ... [LIBS ...])
function(velt_library name)
    cmake_parse_arguments(ARG "WINDOWS_ONLY" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_WINDOWS_ONLY AND NOT VELT_WINDOWS)
        return()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${VELT_ROOT})
    target_compile_options(${name} PRIVATE ${VELT_WARNINGS})
    if(ARG_LIBS)
        target_link_libraries(${name} PUBLIC ${ARG_LIBS})
    endif()
endfunction()

# velt_test(name [WINDOWS_ONLY] SOURCES ... [LIBS ...] [TIMEOUT s]): one GoogleTest program, one ctest entry.
function(velt_test name)
    cmake_parse_arguments(ARG "WINDOWS_ONLY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(ARG_WINDOWS_ONLY AND NOT VELT_WINDOWS)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${VELT_ROOT})
    target_compile_options(${name} PRIVATE ${VELT_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    velt_under_wine(${name})
    if(ARG_TIMEOUT)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    else()
        set_tests_properties(${name} PROPERTIES TIMEOUT 300)
    endif()
    # A program that ends before its summary has not passed, whatever its exit status: under Wine
    # a test program has been seen to end silently with status 0 in the middle of a test.
    set_tests_properties(${name} PROPERTIES PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]"
                                            FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# velt_dist(target): after each build, the folder a Windows user copies holds the program, zlib,
# the README, the skin folder and a starter Config.ini.
function(velt_dist target)
    file(GLOB skins ${VELT_ROOT}/resources/skin/*.png ${VELT_ROOT}/resources/skin/*.jpg
                    ${VELT_ROOT}/resources/skin/*.bmp ${VELT_ROOT}/resources/skin/*.gif)
    set(copy_skins "")
    if(skins)
        set(copy_skins COMMAND ${CMAKE_COMMAND} -E copy_if_different ${skins} ${VELT_DIST}/skin/)
    endif()
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory ${VELT_DIST}/skin
        COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${target}> ${VELT_DIST}/
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELT_ZLIB_DLL} ${VELT_DIST}/
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELT_ROOT}/resources/README.txt
                ${VELT_DIST}/
        COMMAND ${CMAKE_COMMAND} -DSOURCE=${VELT_ROOT}/resources/Config.ini
                -DDESTINATION=${VELT_DIST}/Config.ini -P ${VELT_ROOT}/cmake/CopyIfMissing.cmake
        ${copy_skins}
        VERBATIM)
endfunction()
