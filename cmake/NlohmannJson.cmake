# nlohmann-json, header-only. A cross build finds none in its own tree and takes the build
# machine's copy, through a folder that holds that one header folder and nothing else: the build
# machine's /usr/include must never reach the cross compiler.
find_package(nlohmann_json 3 QUIET)
if(NOT nlohmann_json_FOUND AND CMAKE_CROSSCOMPILING AND EXISTS /usr/include/nlohmann/json.hpp)
    set(quorvin_json_dir ${CMAKE_BINARY_DIR}/host-json)
    file(MAKE_DIRECTORY ${quorvin_json_dir})
    file(CREATE_LINK /usr/include/nlohmann ${quorvin_json_dir}/nlohmann SYMBOLIC)
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${quorvin_json_dir})
elseif(NOT nlohmann_json_FOUND)
    find_package(nlohmann_json 3 REQUIRED)
endif()
