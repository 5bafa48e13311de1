# Cross-compiles for 32-bit Windows, the platform Quillo ships for.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QUILLO_MINGW_TRIPLE i686-w64-mingw32)
set(QUILLO_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
