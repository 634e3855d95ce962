# SPDX-License-Identifier: GPL-3.0-or-later
# Toolchain for 64-bit Windows with Debian's mingw-w64 cross compilers.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZINDREL_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix thread model: GoogleTest needs std::mutex, which the win32 model's libstdc++ lacks.
set(CMAKE_C_COMPILER ${ZINDREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZINDREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZINDREL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZINDREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
