# Shared by the two Windows toolchains. QUILLO_MINGW_TRIPLE and
# QUILLO_WINE_ARCH are set by the toolchain file that includes this one.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QUILLO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Wine carries no libstdc++ or libgcc DLLs: everything links in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run through Wine, in the prefix of this build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;${QUILLO_WINE_ARCH})
