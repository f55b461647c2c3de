# The Windows program: ANSI Win32 API, oldest target Windows 95/NT 4.0 headers
# where MinGW allows, runtime linked statically so it runs on a bare system.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
add_link_options(-static -static-libgcc -static-libstdc++)

set(DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "What a user installs")

# Every program of the build in one folder, so tests know where to find them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
