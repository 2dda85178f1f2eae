# Cross build for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-posix).
# The posix thread model gives std::thread and std::mutex; everything is linked
# statically so the programs run under Wine or on Windows without any DLL of ours.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVIK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVIK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVIK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVIK_MINGW_TRIPLE}-windres)

# Libraries and headers come from the mingw-w64 sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${QUORVIK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Test programs run under Wine when ctest runs them on this machine.
# Wine's own 64-bit loader first: the wrapper script warns about a missing 32-bit Wine.
find_program(QUORVIK_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(QUORVIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORVIK_WINE})
endif()
