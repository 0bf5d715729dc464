# Cross toolchain: MinGW-w64 for 32-bit Windows, posix thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(NUVRA_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${NUVRA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NUVRA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${NUVRA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NUVRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static run-time: the executables must start on a machine without MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
