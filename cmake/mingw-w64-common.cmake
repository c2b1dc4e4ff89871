# Cross build for Windows with Debian's MinGW-w64, shared by the 64-bit and the 32-bit toolchain
# (each sets quorvin_mingw and CMAKE_SYSTEM_PROCESSOR first). The posix thread model gives the C++
# standard library its full std::thread support; libgcc, libstdc++ and winpthread are linked in
# statically, so every program is one file that runs (under Wine too) with nothing beside it.
set(CMAKE_SYSTEM_NAME Windows)

find_program(quorvin_mingw_cxx NAMES ${quorvin_mingw}-g++-posix ${quorvin_mingw}-g++ REQUIRED)
find_program(quorvin_mingw_cc NAMES ${quorvin_mingw}-gcc-posix ${quorvin_mingw}-gcc REQUIRED)
set(CMAKE_CXX_COMPILER ${quorvin_mingw_cxx})
set(CMAKE_C_COMPILER ${quorvin_mingw_cc})
set(CMAKE_RC_COMPILER ${quorvin_mingw}-windres)

# Headers, libraries and CMake packages come from the MinGW tree only, never from the build
# machine's /usr/include.
set(CMAKE_FIND_ROOT_PATH /usr/${quorvin_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows 7 is the oldest system served: its API is the one compiled against, anything newer is
# looked up at run time. GCC 12's -Wrestrict misfires inside libstdc++'s string concatenation at
# -O2 and above (GCC bug 105329); the warnings are about the library, not about this code.
# Paths in the objects are relative to the source folder and the PE header carries no link time,
# so that two builds of one source are alike. Unused functions and data are left out of the
# programs, which have to stay small single files.
get_filename_component(quorvin_source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(quorvin_windows_version "-D_WIN32_WINNT=0x0601 -DWINVER=0x0601")
set(CMAKE_CXX_FLAGS_INIT
    "${quorvin_windows_version} -Wno-restrict -ffile-prefix-map=${quorvin_source_root}=. -ffunction-sections -fdata-sections")
set(CMAKE_C_FLAGS_INIT "${quorvin_windows_version}")
set(CMAKE_RC_FLAGS_INIT "${quorvin_windows_version}")
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static-libgcc -static-libstdc++ -static -Wl,--no-insert-timestamp -Wl,--gc-sections")

# ctest runs the Windows programs under Wine, in the prefix the wrapper keeps (QUORVIN_WINE names
# the loader: the 32-bit one for 32-bit programs).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
