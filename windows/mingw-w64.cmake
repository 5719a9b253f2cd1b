# CMake toolchain for 64-bit Windows, cross-compiled on Debian with its mingw-w64 packages.
# The win32 thread model is named outright (Debian's plain names follow an alternative that
# may point at the posix one): nothing here uses C++ threads, and so the program needs no
# winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(dravel_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${dravel_mingw}-gcc-win32)
set(CMAKE_CXX_COMPILER ${dravel_mingw}-g++-win32)
set(CMAKE_RC_COMPILER ${dravel_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${dravel_mingw})
# Programs from the build machine; headers, libraries and CMake packages from the target's
# tree and the folders named on the command line (SDL2_DIR) only.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The C and C++ runtimes go into each binary, so that the only DLLs shipped are our own.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
