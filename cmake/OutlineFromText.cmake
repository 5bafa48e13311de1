# Outlines made at build time from indented text (core/OutlineText.h):
#
#     quillo_outline_from_text(<target> SOURCE <text file> OUTPUT <.kbf file>)
#
# adds <target>, built by default, which writes OUTPUT from SOURCE with the
# build tool OutlineFromText (tools/) whenever the text or the tool changes.
# Every outline the program ships goes through this one function and tool.

if(CMAKE_CROSSCOMPILING)
    # The tool runs here, so it is built for this machine, as a project of its
    # own that the target toolchain never sees.
    include(ExternalProject)
    set(QUILLO_OUTLINE_FROM_TEXT ${CMAKE_BINARY_DIR}/host-tools/OutlineFromText${CMAKE_HOST_EXECUTABLE_SUFFIX})
    set(QUILLO_GIF_FROM_ART ${CMAKE_BINARY_DIR}/host-tools/GifFromArt${CMAKE_HOST_EXECUTABLE_SUFFIX})
    ExternalProject_Add(quillo_host_tools
        SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
        BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
        CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
        INSTALL_COMMAND ""
        # Its own build decides whether anything changed.
        BUILD_ALWAYS ON
        BUILD_BYPRODUCTS ${QUILLO_OUTLINE_FROM_TEXT} ${QUILLO_GIF_FROM_ART})
    set(QUILLO_OUTLINE_FROM_TEXT_TARGET quillo_host_tools)
    set(QUILLO_GIF_FROM_ART_TARGET quillo_host_tools)
else()
    add_subdirectory(${PROJECT_SOURCE_DIR}/tools ${CMAKE_BINARY_DIR}/tools)
    set(QUILLO_OUTLINE_FROM_TEXT $<TARGET_FILE:OutlineFromText>)
    set(QUILLO_OUTLINE_FROM_TEXT_TARGET OutlineFromText)
    set(QUILLO_GIF_FROM_ART $<TARGET_FILE:GifFromArt>)
    set(QUILLO_GIF_FROM_ART_TARGET GifFromArt)
endif()

function(quillo_outline_from_text target)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "SOURCE;OUTPUT" "")
    if(NOT ARG_SOURCE OR NOT ARG_OUTPUT)
        message(FATAL_ERROR "quillo_outline_from_text(${target}) needs SOURCE and OUTPUT")
    endif()
    get_filename_component(output_dir "${ARG_OUTPUT}" DIRECTORY)
    get_filename_component(output_name "${ARG_OUTPUT}" NAME)
    add_custom_command(
        OUTPUT "${ARG_OUTPUT}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
        COMMAND ${QUILLO_OUTLINE_FROM_TEXT} "${ARG_SOURCE}" "${ARG_OUTPUT}"
        DEPENDS "${ARG_SOURCE}" ${QUILLO_OUTLINE_FROM_TEXT_TARGET} ${QUILLO_OUTLINE_FROM_TEXT}
        COMMENT "Making the outline ${output_name}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${ARG_OUTPUT}")
endfunction()
