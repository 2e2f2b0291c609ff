# Cross-compiles Palvex for Windows with MinGW-w64 GCC (POSIX thread model). Included by the
# toolchain file of each target processor, which sets PALVEX_MINGW_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PALVEX_MINGW_PROCESSOR})
set(triplet ${PALVEX_MINGW_PROCESSOR}-w64-mingw32)

set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and benchmarks built here run under Wine, or under the runner the processor's file names.
if(NOT PALVEX_WINE_RUNNER)
    find_program(PALVEX_WINE_RUNNER wine REQUIRED)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${PALVEX_WINE_RUNNER})
