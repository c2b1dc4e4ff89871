# Cross build for 64-bit Windows with Debian's MinGW-w64. The posix thread model gives the C++
# standard library its full std::thread support; libgcc and libstdc++ are linked in statically so
# the programs run (under Wine too) without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(quorvin_mingw x86_64-w64-mingw32)
find_program(quorvin_mingw_cxx NAMES ${quorvin_mingw}-g++-posix ${quorvin_mingw}-g++ REQUIRED)
find_program(quorvin_mingw_cc NAMES ${quorvin_mingw}-gcc-posix ${quorvin_mingw}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${quorvin_mingw_cxx})
set(CMAKE_C_COMPILER ${quorvin_mingw_cc})
set(CMAKE_RC_COMPILER ${quorvin_mingw}-windres)

# Headers, libraries and CMake packages come from the MinGW tree only, never from /usr/include.
set(CMAKE_FIND_ROOT_PATH /usr/${quorvin_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12's -Wrestrict misfires inside libstdc++'s string concatenation at -O2 and above (GCC bug
# 105329); the warnings are about the library, not about this code.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")

find_program(quorvin_wine NAMES wine64 wine PATHS /usr/lib/wine)
if(quorvin_wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${quorvin_wine})
endif()
