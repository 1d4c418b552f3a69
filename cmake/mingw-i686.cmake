# The shipped target: 32-bit Windows, built with mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Floating-point arithmetic in SSE2, not the x87 unit GCC's 32-bit code uses by default:
# the colour, gamma and tone-map steps then round as the 64-bit build does, and run
# faster (four times as fast under qemu's emulation). Every x86 processor since 2003 has
# SSE2, and Windows 8 and later require it.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# 32-bit Wine; on these machines it runs through qemu's user-mode emulator.
set(WINE_LOADER wine)
