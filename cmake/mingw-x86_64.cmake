# Cross-compiles the same sources for 64-bit Windows. Used to run the tests
# under Wine on hosts whose kernel cannot execute 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLO_MINGW_TRIPLE x86_64-w64-mingw32)
set(QUILLO_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
