# Builds that give the same bytes from any folder at any time: the compilers write the source and
# build folders as "." (into __FILE__, debug information and the like). MinGW's linker leaves its
# time stamp out through the Windows toolchain's link flags; the dates in the package come from
# SOURCE_DATE_EPOCH, which the release script sets.

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    return()
endif()

# The compilers try the map given last first, so a generated file in a build folder inside the
# source folder becomes ./name too, not ./build-folder/name.
add_compile_options("-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                    "-ffile-prefix-map=${PROJECT_BINARY_DIR}=.")
