# Cross-compiles for 64-bit Windows with MinGW-w64 (posix thread model: GoogleTest needs std::mutex).
# The tools are looked for on the PATH and in Debian's places; VELT_MINGW_ROOT names another sysroot.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VELT_MINGW_TRIPLE x86_64-w64-mingw32)

find_program(VELT_MINGW_CC NAMES ${VELT_MINGW_TRIPLE}-gcc-posix ${VELT_MINGW_TRIPLE}-gcc
             HINTS /usr/bin)
find_program(VELT_MINGW_CXX NAMES ${VELT_MINGW_TRIPLE}-g++-posix ${VELT_MINGW_TRIPLE}-g++
             HINTS /usr/bin)
find_program(VELT_MINGW_RC NAMES ${VELT_MINGW_TRIPLE}-windres HINTS /usr/bin)
if(NOT VELT_MINGW_CC OR NOT VELT_MINGW_CXX OR NOT VELT_MINGW_RC)
    message(FATAL_ERROR "MinGW-w64 (${VELT_MINGW_TRIPLE}-g++-posix and windres) not found: "
                        "install g++-mingw-w64-x86-64 (tools/setup.sh)")
endif()
set(CMAKE_C_COMPILER ${VELT_MINGW_CC})
set(CMAKE_CXX_COMPILER ${VELT_MINGW_CXX})
set(CMAKE_RC_COMPILER ${VELT_MINGW_RC})

set(VELT_MINGW_ROOT /usr/${VELT_MINGW_TRIPLE} CACHE PATH "The MinGW-w64 sysroot (libraries, zlib)")
set(CMAKE_FIND_ROOT_PATH ${VELT_MINGW_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
