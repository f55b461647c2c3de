# Cross toolchain: 64-bit Windows (x86_64) with MinGW-w64 from Debian's
# packages. 64-bit Explorer loads only 64-bit extensions: this tree builds
# those (build/win64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triplet x86_64-w64-mingw32)
set(_packages "g++-mingw-w64-x86-64-win32, binutils-mingw-w64-x86-64")
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
