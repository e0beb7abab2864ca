# Makes `target` expose `folder` (a path from the repository root), and nothing else, to itself
# and to the targets that link it: a staging folder in the build tree holds a link to the source
# folder under its repository path, so "state/StateEngine.h" resolves only for users of the state
# library.
function (brevalon_expose_folder target folder)
    set (staging "${PROJECT_BINARY_DIR}/include/${target}")
    get_filename_component (parent "${staging}/${folder}" DIRECTORY)
    file (MAKE_DIRECTORY "${parent}")
    if (NOT EXISTS "${staging}/${folder}")
        file (CREATE_LINK "${PROJECT_SOURCE_DIR}/${folder}" "${staging}/${folder}" SYMBOLIC)
    endif ()
    # A header-only (INTERFACE) library can only pass the folder on.
    get_target_property (type ${target} TYPE)
    if (type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories (${target} INTERFACE "${staging}")
    else ()
        target_include_directories (${target} PUBLIC "${staging}")
    endif ()
endfunction ()
