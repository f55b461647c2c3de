# Cross toolchain: 64-bit Windows (x86_64) with MinGW-w64 from Debian's
# packages, win32 thread model (no winpthreads to ship). 64-bit Explorer
# loads only 64-bit extensions: this tree builds those (build/win64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triplet x86_64-w64-mingw32)
find_program(_mingw_cxx NAMES ${_triplet}-g++-win32)
find_program(_mingw_cc NAMES ${_triplet}-gcc-win32)
find_program(_mingw_rc NAMES ${_triplet}-windres)
if(NOT _mingw_cxx OR NOT _mingw_cc OR NOT _mingw_rc)
  message(FATAL_ERROR "MinGW-w64 for x86_64 is missing: run scripts/setup "
                      "(Debian packages g++-mingw-w64-x86-64-win32, binutils-mingw-w64-x86-64).")
endif()
set(CMAKE_C_COMPILER ${_mingw_cc})
set(CMAKE_CXX_COMPILER ${_mingw_cxx})
set(CMAKE_RC_COMPILER ${_mingw_rc})

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
