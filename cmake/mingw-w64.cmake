# Cross build for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model): the framework and the program against the real Win32 headers and
# libraries (user32, gdi32, comctl32, opengl32, glu32).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVEX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Executables carry their C and C++ runtime and the thread library, so that
# they run without DLLs of the compiler beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Built programs that the build or the tests run (the image-file generator,
# the test programs) run under Wine.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  foreach(candidate /usr/lib/wine/wine64 /usr/bin/wine64 /usr/bin/wine)
    if(EXISTS ${candidate})
      set(CMAKE_CROSSCOMPILING_EMULATOR ${candidate})
      break()
    endif()
  endforeach()
endif()
