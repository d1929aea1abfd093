# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix), whose
# posix thread model gives std::thread and std::mutex. Tests run under Wine as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(FOLDWISE_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${FOLDWISE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FOLDWISE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${FOLDWISE_MINGW_TRIPLE}-windres)

# Packages are looked for only among Windows builds: the mingw sysroot, and a prefix of
# dependencies built for Windows (scripts/test-windows.sh builds pugixml and GoogleTest into one)
# given as -DFOLDWISE_WINDOWS_DEPS=<prefix>.
set(CMAKE_FIND_ROOT_PATH /usr/${FOLDWISE_MINGW_TRIPLE} ${FOLDWISE_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries go into every program and DLL, so they run under Wine (or on a machine
# without mingw) with nothing copied beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(FOLDWISE_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT FOLDWISE_WINE)
  find_program(FOLDWISE_WINE NAMES wine wine64)
endif()
if(FOLDWISE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${FOLDWISE_WINE})
endif()
