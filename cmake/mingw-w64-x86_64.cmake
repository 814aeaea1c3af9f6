# Cross build for 64-bit Windows with Debian's mingw-w64 (the -posix thread
# model: std::thread and std::mutex need it). tools/dev windows uses it:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH="JPEG;PSL;GTEST" ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVRIN_MINGW x86_64-w64-mingw32)
# Named with -posix: installing the -win32 variant takes over the plain names.
set(CMAKE_C_COMPILER ${TAVRIN_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVRIN_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVRIN_MINGW}-windres)
set(CMAKE_ASM_NASM_COMPILER nasm)

# Libraries and headers come only from the mingw tree and the prefixes given
# in CMAKE_PREFIX_PATH; programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${TAVRIN_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND CMAKE_FIND_ROOT_PATH ${prefix})
endforeach()

# pkg-config looks at the Windows prefixes only, never at the machine's own
# .pc files. try_compile reads this file again in the same process without
# the prefixes, which must not undo this.
set(pkg_config_dirs)
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
  list(APPEND pkg_config_dirs ${prefix}/lib/pkgconfig)
endforeach()
if(pkg_config_dirs)
  string(REPLACE ";" ":" pkg_config_dirs "${pkg_config_dirs}")
  set(ENV{PKG_CONFIG_LIBDIR} "${pkg_config_dirs}")
elseif(NOT DEFINED ENV{PKG_CONFIG_LIBDIR})
  set(ENV{PKG_CONFIG_LIBDIR} "/nonexistent")
endif()
set(ENV{PKG_CONFIG_PATH} "")
set(PKG_CONFIG_USE_CMAKE_PREFIX_PATH OFF)

# One self-contained .exe: the C and C++ runtimes and winpthread linked in,
# so it needs nothing but Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs and try-runs run under Wine, always in the project's own
# prefix (never ~/.wine): WINEPREFIX from the environment, else
# wine-prefix/ in the top build folder.
if(NOT TAVRIN_WINEPREFIX)
  if(DEFINED ENV{WINEPREFIX} AND NOT "$ENV{WINEPREFIX}" STREQUAL "")
    set(TAVRIN_WINEPREFIX "$ENV{WINEPREFIX}")
  else()
    set(TAVRIN_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
  endif()
  set(TAVRIN_WINEPREFIX "${TAVRIN_WINEPREFIX}" CACHE PATH "Wine prefix the Windows test programs run in")
endif()
# try_compile projects read this file again in folders of their own; they keep the top build's prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TAVRIN_WINEPREFIX)
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run;${TAVRIN_WINEPREFIX}")
