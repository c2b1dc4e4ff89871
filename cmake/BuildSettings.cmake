# Every build setting, declared here before anything reads it, and the one generated header,
# quorvin/BuildSettings.h, that hands the program's own to the code: the store's host and scheme,
# the chat browser's path and the version. Link quorvin_core to include it.

option(QUORVIN_BUILD_GUI "Build the windows and the programs themselves" ON)
# Windows has a web-browser control of its own; elsewhere Qt WebEngine shows the store page.
if(WIN32)
    set(quorvin_webengine_default OFF)
else()
    set(quorvin_webengine_default ON)
endif()
option(QUORVIN_WITH_WEBENGINE "Show the store page in an embedded Qt WebEngine view"
    ${quorvin_webengine_default})
option(QUORVIN_BUILD_TESTS "Build the tests" ON)
option(QUORVIN_BUILD_BENCHMARKS "Build the benchmarks" ON)
option(QUORVIN_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)
set(QUORVIN_FUZZ_SECONDS 12 CACHE STRING "How long each fuzzing test runs, in seconds")
# A program that runs from its build tree finds what was built beside it by the tree's absolute
# path; a package's build has no use for it and must not carry that path.
option(QUORVIN_RUN_FROM_BUILD_TREE "Let the programs find their modules in the build tree" ON)
cmake_path(GET PROJECT_SOURCE_DIR PARENT_PATH quorvin_source_parent)
set(QUORVIN_REAL_TABLES_DIR "${quorvin_source_parent}/shared/smbios-real" CACHE PATH
    "Real machines' SMBIOS tables that the tests compare with dmidecode --from-dump")

set(QUORVIN_STORE_HOST "www.brindlemark.example" CACHE STRING
    "Host name of the memory store's web server (store page and live chat)")
# Plain http is the address as it has always been, which the store's server may rely on; a store
# whose server has TLS builds with https (docs/build-settings.md).
set(QUORVIN_STORE_SCHEME "http" CACHE STRING
    "Scheme of the store page's and the live chat's addresses: http or https")
set_property(CACHE QUORVIN_STORE_SCHEME PROPERTY STRINGS http https)
if(NOT QUORVIN_STORE_SCHEME MATCHES "^https?$")
    message(FATAL_ERROR "QUORVIN_STORE_SCHEME is \"${QUORVIN_STORE_SCHEME}\"; it must be http "
        "or https")
endif()
if(WIN32)
    set(quorvin_default_browser "C:\\Program Files\\Internet Explorer\\iexplore.exe")
else()
    set(quorvin_default_browser "/usr/bin/xdg-open")
endif()
set(QUORVIN_CHAT_BROWSER "${quorvin_default_browser}" CACHE STRING
    "Exact path of the program that opens the live-chat page")

# The header's values as C string literals: Windows' separators in a Windows path, however the
# setting writes it, and backslashes and quotes escaped once, here.
function(quorvin_c_literal out text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()
set(quorvin_browser_path "${QUORVIN_CHAT_BROWSER}")
if(WIN32)
    string(REPLACE "/" "\\" quorvin_browser_path "${quorvin_browser_path}")
endif()
quorvin_c_literal(QUORVIN_STORE_HOST_LITERAL "${QUORVIN_STORE_HOST}")
quorvin_c_literal(QUORVIN_CHAT_BROWSER_LITERAL "${quorvin_browser_path}")
# "1.00": the version strings the program shows, from the project's 1.0.0.0.
set(QUORVIN_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}0")
set(QUORVIN_VERSION_COMMAS
    "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},${PROJECT_VERSION_TWEAK}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/BuildSettings.h.in
    ${PROJECT_BINARY_DIR}/generated/quorvin/BuildSettings.h @ONLY)
