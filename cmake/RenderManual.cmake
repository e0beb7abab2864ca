# Renders the user manual (Markdown) as a PDF: pandoc makes HTML with the template and style of
# docs/manual-pdf/, WeasyPrint sets it in the DejaVu fonts. Nothing is done while the PDF is
# newer than all its sources.
#
#   cmake -D SOURCE=manual.md -D OUTPUT=out.pdf -D STYLE_FOLDER=docs/manual-pdf -D TITLE=...
#         -D AUTHOR=... -D VERSION=... -P RenderManual.cmake
foreach (variable SOURCE OUTPUT STYLE_FOLDER TITLE AUTHOR VERSION)
    if (NOT DEFINED ${variable})
        message (FATAL_ERROR "RenderManual.cmake: ${variable} is not set")
    endif ()
endforeach ()

set (sources "${SOURCE}" "${STYLE_FOLDER}/template.html" "${STYLE_FOLDER}/manual.css" "${STYLE_FOLDER}/print.lua"
             "${CMAKE_CURRENT_LIST_FILE}" "${CMAKE_PARENT_LIST_FILE}")
set (stale FALSE)
if (NOT EXISTS "${OUTPUT}")
    set (stale TRUE)
endif ()
foreach (source IN LISTS sources)
    if ("${source}" IS_NEWER_THAN "${OUTPUT}")
        set (stale TRUE)
    endif ()
endforeach ()
if (NOT stale)
    return ()
endif ()

find_program (PANDOC pandoc)
find_program (WEASYPRINT weasyprint)
if (NOT PANDOC OR NOT WEASYPRINT)
    message (FATAL_ERROR "The manual's PDF is made with pandoc and WeasyPrint: apt install pandoc weasyprint")
endif ()

get_filename_component (output_folder "${OUTPUT}" DIRECTORY)
file (MAKE_DIRECTORY "${output_folder}")
get_filename_component (source_folder "${SOURCE}" DIRECTORY)
# Written beside the PDF and moved over it when complete, so a failed run leaves no PDF that
# looks up to date.
set (partial "${output_folder}/.manual-partial.pdf")
# Relative links and images in the manual are found beside it.
execute_process (
    COMMAND "${PANDOC}" "${SOURCE}" --from markdown --to html5 --standalone
            --template "${STYLE_FOLDER}/template.html" --css "${STYLE_FOLDER}/manual.css"
            --lua-filter "${STYLE_FOLDER}/print.lua"
            --metadata "pagetitle=${TITLE}" --metadata "author=${AUTHOR}" --variable "version=${VERSION}"
            --resource-path "${source_folder}" --pdf-engine weasyprint --output "${partial}"
    WORKING_DIRECTORY "${source_folder}"
    RESULT_VARIABLE result
    ERROR_VARIABLE messages)
if (result OR NOT EXISTS "${partial}")
    file (REMOVE "${partial}")
    message (FATAL_ERROR "pandoc could not render ${SOURCE}:\n${messages}")
endif ()
# WeasyPrint warns about what it cannot lay out (an unknown style, a missing image): the PDF
# would lack it.
if (messages MATCHES "WARNING|ERROR")
    file (REMOVE "${partial}")
    message (FATAL_ERROR "rendering ${SOURCE} was not clean:\n${messages}")
endif ()
file (RENAME "${partial}" "${OUTPUT}")
message (STATUS "Rendered ${OUTPUT}")
