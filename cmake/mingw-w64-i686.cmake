# Windows x86 (32-bit) with MinGW-w64: for adapters whose own Tessik.dll is a 32-bit library.
# Its tests run under 32-bit Wine, in a prefix of their own.
set(PALVEX_MINGW_PROCESSOR i686)
set(PALVEX_WINE_RUNNER ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine32.sh)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
