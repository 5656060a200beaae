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

# GoogleTest from the Debian source package, built with this tree's flags.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

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
    if(ARG_TIMEOUT)
        set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    else()
        set_tests_properties(${name} PROPERTIES TIMEOUT 300)
    endif()
endfunction()

# velt_dist(target): after each build, the folder a Windows user copies holds the program, zlib
# and the skin folder.
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
        COMMAND ${CMAKE_COMMAND} -E copy_if_different /usr/x86_64-w64-mingw32/lib/zlib1.dll
                ${VELT_DIST}/
        ${copy_skins}
        VERBATIM)
endfunction()
