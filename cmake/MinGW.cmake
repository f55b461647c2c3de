# The part every MinGW-w64 toolchain file shares; it sets _triplet (the
# target, e.g. i686-w64-mingw32) and _packages (the Debian packages that
# bring its compilers) first.
#
# The win32 thread model: the posix one links winpthreads in statically, which
# imports kernel functions that Windows 95 and NT 4.0 lack.
set(CMAKE_SYSTEM_NAME Windows)
find_program(_mingw_cxx NAMES ${_triplet}-g++-win32)
find_program(_mingw_cc NAMES ${_triplet}-gcc-win32)
find_program(_mingw_rc NAMES ${_triplet}-windres)
if(NOT _mingw_cxx OR NOT _mingw_cc OR NOT _mingw_rc)
  message(FATAL_ERROR "MinGW-w64 for ${_triplet} is missing: run scripts/setup (Debian packages ${_packages}).")
endif()
set(CMAKE_C_COMPILER ${_mingw_cc})
set(CMAKE_CXX_COMPILER ${_mingw_cxx})
set(CMAKE_RC_COMPILER ${_mingw_rc})

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
find_program(CMAKE_STRIP NAMES ${_triplet}-strip)
