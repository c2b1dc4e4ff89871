# Cross build for 64-bit Windows with Debian's MinGW-w64. The posix thread model gives the C++
# standard library its full std::thread support; libgcc, libstdc++ and winpthread are linked in
# statically, so every program is one file that runs (under Wine too) with nothing beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(quorvin_mingw x86_64-w64-mingw32)
find_program(quorvin_mingw_cxx NAMES ${quorvin_mingw}-g++-posix ${quorvin_mingw}-g++ REQUIRED)
find_program(quorvin_mingw_cc NAMES ${quorvin_mingw}-gcc-posix ${quorvin_mingw}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${quorvin_mingw_cxx})
set(CMAKE_C_COMPILER ${quorvin_mingw_cc})
set(CMAKE_RC_COMPILER ${quorvin_mingw}-windres)

# Headers, libraries and CMake packages come from the MinGW tree (and the static Qt below) only,
# never from the build machine's /usr/include.
set(CMAKE_FIND_ROOT_PATH /usr/${quorvin_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The static Qt for MinGW (tools/windows/qt.sh puts it in place): QUORVIN_QT_MINGW, from the cache
# or the environment, or the user's cache folder. Its host tools (moc, rcc, uic) are the build
# machine's own Qt of the same version.
if(NOT QUORVIN_QT_MINGW)
    if(DEFINED ENV{QUORVIN_QT_MINGW})
        set(QUORVIN_QT_MINGW "$ENV{QUORVIN_QT_MINGW}")
    else()
        set(QUORVIN_QT_MINGW "$ENV{HOME}/.cache/quorvin/qt6-mingw-static-6.4.2")
    endif()
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVIN_QT_MINGW)
if(EXISTS "${QUORVIN_QT_MINGW}/lib/cmake/Qt6/Qt6Config.cmake")
    # Qt's own toolchain file does the same: the prefix path names lib/cmake, the root path the
    # tree itself, so that CMake's re-rooting finds the packages.
    list(PREPEND CMAKE_PREFIX_PATH "${QUORVIN_QT_MINGW}/lib/cmake")
    list(PREPEND CMAKE_FIND_ROOT_PATH "${QUORVIN_QT_MINGW}")
    set(QT_HOST_PATH /usr)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()

# GCC 12's -Wrestrict misfires inside libstdc++'s string concatenation at -O2 and above (GCC bug
# 105329); the warnings are about the library, not about this code.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")

# ctest runs the Windows programs under Wine, in the prefix the wrapper keeps.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
