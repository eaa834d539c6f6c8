# Cross-compiling for 64-bit Windows with Debian's mingw-w64. SHAREMON_MINGW_THREADS picks
# the compiler: empty for the default one (win32 thread model: no std::thread or std::mutex,
# threads through the Win32 calls), "posix" for the one whose standard library has them
# (through winpthreads, linked in statically), which GoogleTest needs.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SHAREMON_MINGW_THREADS)
set(compiler_suffix "")
if(SHAREMON_MINGW_THREADS STREQUAL "posix")
  set(compiler_suffix "-posix")
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc${compiler_suffix})
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++${compiler_suffix})
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
