# The Windows program: ANSI Win32 API, declarations of Windows 95/NT 4.0 and
# their common controls 4.00 only, so that nothing newer compiles in by
# accident; runtime linked statically so it runs on a bare system.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0400 WINVER=0x0400 _WIN32_IE=0x0200)
add_link_options(-static -static-libgcc -static-libstdc++)

# Two editions from the same sources: x86 (build/win32, for every Windows
# from 95 on) and x64 (build/win64, for 64-bit Windows, whose Explorer loads
# only 64-bit extensions and whose System32 a 32-bit program cannot see).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ROOTCASTER_EDITION x64)
  set(ROOTCASTER_WIN64 TRUE)
else()
  set(ROOTCASTER_EDITION x86)
  set(ROOTCASTER_WIN64 FALSE)
endif()

# Every program and DLL says in its PE header that it needs Windows 4.0 (95 and
# NT 4.0). A 64-bit image cannot: the oldest 64-bit Windows is 5.2.
if(ROOTCASTER_WIN64)
  set(PE_WINDOWS_VERSION 5 2)
else()
  set(PE_WINDOWS_VERSION 4 0)
endif()
list(GET PE_WINDOWS_VERSION 0 _pe_major)
list(GET PE_WINDOWS_VERSION 1 _pe_minor)
add_link_options(-Wl,--major-subsystem-version,${_pe_major},--minor-subsystem-version,${_pe_minor}
                 -Wl,--major-os-version,${_pe_major},--minor-os-version,${_pe_minor})

# What a user installs: the x86 edition in dist/, the x64 edition in dist/x64/
# under the same file names. Setups go to dist/ itself.
set(DIST_ROOT ${CMAKE_SOURCE_DIR}/dist CACHE PATH "What a user installs")
if(ROOTCASTER_WIN64)
  set(DIST_DIR ${DIST_ROOT}/x64)
else()
  set(DIST_DIR ${DIST_ROOT})
endif()

# Every program of the build in one folder, so tests know where to find them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# add_to_dist(<target>): the built program or DLL is copied into dist/ at
# every build, without its debug information (the build tree keeps the full
# one, for debugging).
function(add_to_dist target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL SHARED_LIBRARY)
    set(shipped ${DIST_DIR}/${target}.dll)
  else()
    set(shipped ${DIST_DIR}/${target}.exe)
  endif()
  add_custom_command(OUTPUT ${shipped}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
    COMMAND ${CMAKE_STRIP} --strip-all -o ${shipped} $<TARGET_FILE:${target}>
    DEPENDS ${target}
    VERBATIM)
  add_custom_target(dist_${target} ALL DEPENDS ${shipped})
endfunction()
