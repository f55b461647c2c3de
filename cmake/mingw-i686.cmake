# Cross toolchain: 32-bit Windows (i686) with MinGW-w64 from Debian's packages.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_triplet i686-w64-mingw32)
set(_packages "g++-mingw-w64-i686-win32, binutils-mingw-w64-i686")
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
