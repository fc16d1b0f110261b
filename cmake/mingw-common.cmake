# The parts of the mingw toolchain files that do not depend on the target
# architecture. The including file sets TVS_MINGW_TRIPLET and
# CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)
# The Debian default compiler uses the win32 thread model, which lacks
# std::mutex and std::thread (GoogleTest needs them), so name the posix one.
set(MINGW_THREAD_MODEL "posix" CACHE STRING "posix or win32 (gcc 12: win32 has no std::mutex)")
set(CMAKE_C_COMPILER   ${TVS_MINGW_TRIPLET}-gcc-${MINGW_THREAD_MODEL})
set(CMAKE_CXX_COMPILER ${TVS_MINGW_TRIPLET}-g++-${MINGW_THREAD_MODEL})
set(CMAKE_RC_COMPILER  ${TVS_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TVS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static runtime: the executables must import nothing but Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
