# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Lopwinder developers
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, POSIX thread model (Qt needs it):
# the layer check and the shipped program alike.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# GCC's own archiver wrappers, which hand binutils the LTO plug-in: an archive of link-time
# optimised objects then has a symbol index the link can use.
foreach(lang C CXX)
    set(CMAKE_${lang}_COMPILER_AR x86_64-w64-mingw32-gcc-ar-posix)
    set(CMAKE_${lang}_COMPILER_RANLIB x86_64-w64-mingw32-gcc-ranlib-posix)
endforeach()
set(CMAKE_AR x86_64-w64-mingw32-gcc-ar-posix)
set(CMAKE_RANLIB x86_64-w64-mingw32-gcc-ranlib-posix)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
