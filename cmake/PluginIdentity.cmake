# Reads the identity table (lines of the form `IDENTITY (key, "value")`) into variables
# <prefix>_<key>. A value may hold ";" (a CMake list, as the VST3 categories are). Editing the
# table re-runs the configuration.
function (brevalon_read_identity def_file prefix)
    file (READ "${def_file}" content)
    set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${def_file}")

    string (REGEX MATCHALL "\nIDENTITY \\(([A-Za-z0-9_]+)," entries "\n${content}")
    if (NOT entries)
        message (FATAL_ERROR "No IDENTITY lines in ${def_file}")
    endif ()

    foreach (entry IN LISTS entries)
        string (REGEX REPLACE "\nIDENTITY \\(([A-Za-z0-9_]+)," "\\1" key "${entry}")
        if (NOT content MATCHES "IDENTITY \\(${key}, \"([^\"\n]*)\"\\)")
            message (FATAL_ERROR "${def_file}: the value of ${key} is not a quoted string")
        endif ()
        set (${prefix}_${key} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    endforeach ()
endfunction ()
