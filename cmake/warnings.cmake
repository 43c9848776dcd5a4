# Warning flags shared by every target of the project.
add_library(quillmere_warnings INTERFACE)
target_compile_options(quillmere_warnings INTERFACE
    -Wall -Wextra -Wpedantic
    -Wnon-virtual-dtor -Woverloaded-virtual -Wformat=2
    -Wshadow -Wcast-qual -Wundef)
if(QUILLMERE_WERROR)
    target_compile_options(quillmere_warnings INTERFACE -Werror)
endif()
# Text is single-byte at the edges; never let Qt convert char* silently.
target_compile_definitions(quillmere_warnings INTERFACE
    QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_UP_TO=0x060400)

# quillmere_library(NAME [LINKS ...]): a static library of every .cpp in the calling folder.
function(quillmere_library name)
    cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LINKS} PRIVATE quillmere_warnings)
endfunction()
