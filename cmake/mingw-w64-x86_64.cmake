# Windows x64 (64-bit) with MinGW-w64.
set(PALVEX_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
