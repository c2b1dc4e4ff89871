# The hardening Debian builds its own packages with: stack protector, fortified libc calls, and a
# read-only relocation table bound at start-up. For the Linux build only; MinGW's linker knows no
# -z options and the Windows program has protections of its own.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux" OR NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    return()
endif()

add_compile_options(-fstack-protector-strong)
add_link_options(LINKER:-z,relro,-z,now)
# glibc fortifies only optimised code, and warns otherwise. Sanitizers watch memory themselves and
# see less behind the fortified wrappers.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize" AND NOT QUORVIN_BUILD_FUZZERS)
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
endif()
