# Cross toolchain: 32-bit Windows (i686) with MinGW-w64 from Debian's packages.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(_triplet i686-w64-mingw32)
# The win32 thread model: the posix one links winpthreads in statically, which
# imports kernel functions that Windows 95 and NT 4.0 lack.
find_program(_mingw_cxx NAMES ${_triplet}-g++-win32)
find_program(_mingw_cc NAMES ${_triplet}-gcc-win32)
find_program(_mingw_rc NAMES ${_triplet}-windres)
if(NOT _mingw_cxx OR NOT _mingw_cc OR NOT _mingw_rc)
  message(FATAL_ERROR "MinGW-w64 for i686 is missing: run scripts/setup "
                      "(Debian packages g++-mingw-w64-i686-win32, binutils-mingw-w64-i686).")
endif()
set(CMAKE_C_COMPILER ${_mingw_cc})
set(CMAKE_CXX_COMPILER ${_mingw_cxx})
set(CMAKE_RC_COMPILER ${_mingw_rc})

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
