# Cross-building the Windows programs with Debian's MinGW-w64 (the POSIX
# threads flavour, GCC 12). Its long double is the x87 80-bit format the
# score is defined in.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The tests run under Wine.
find_program(KVORN_WINE wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(KVORN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KVORN_WINE})
endif()
