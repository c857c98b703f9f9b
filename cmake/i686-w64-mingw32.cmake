# Cross-compiles the analyzer module for 32-bit Windows with Debian's mingw-w64 toolchain
# (the posix thread model, whose C++ runtime has std::mutex and std::thread), and runs the
# Windows test programs under wine:
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TAGSTRIP_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TAGSTRIP_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAGSTRIP_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAGSTRIP_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${TAGSTRIP_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${TAGSTRIP_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program and module carries its own C++ runtime, so that it needs nothing from
# the system but KERNEL32 and msvcrt.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
