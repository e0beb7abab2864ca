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
    target_include_directories (${target} PUBLIC "${staging}")
endfunction ()
