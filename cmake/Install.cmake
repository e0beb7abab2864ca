# `cmake --install`: the plug-ins where Linux hosts look for them, the renderer and the standalone
# application in bin, with a desktop entry and icon; the manual page, the user manual and the
# licence. With BREVALON_USER_INSTALL the plug-ins go into the installing user's
# ~/.vst3, ~/.lv2 and ~/.vst (no root needed); otherwise under the prefix in lib/vst3, lib/lv2
# and lib/vst (/usr/local/lib/lv2 and /usr/lib/lv2 are on every LV2 host's default path).
option (BREVALON_USER_INSTALL "Install the plug-ins into ~/.vst3, ~/.lv2 and ~/.vst" OFF)

if (BREVALON_USER_INSTALL)
    set (BREVALON_VST3_INSTALL_DIR "$ENV{HOME}/.vst3")
    set (BREVALON_LV2_INSTALL_DIR "$ENV{HOME}/.lv2")
    set (BREVALON_VST_INSTALL_DIR "$ENV{HOME}/.vst")
else ()
    set (BREVALON_VST3_INSTALL_DIR lib/vst3)
    set (BREVALON_LV2_INSTALL_DIR lib/lv2)
    set (BREVALON_VST_INSTALL_DIR lib/vst)
endif ()

# The VST3 and LV2 plug-ins are folders (bundles): installed whole, under their own names.
install (DIRECTORY "$<GENEX_EVAL:$<TARGET_PROPERTY:Brevalon_VST3,JUCE_PLUGIN_ARTEFACT_FILE>>"
         DESTINATION "${BREVALON_VST3_INSTALL_DIR}" USE_SOURCE_PERMISSIONS COMPONENT plugins)
install (DIRECTORY "$<GENEX_EVAL:$<TARGET_PROPERTY:Brevalon_LV2,JUCE_PLUGIN_ARTEFACT_FILE>>"
         DESTINATION "${BREVALON_LV2_INSTALL_DIR}" USE_SOURCE_PERMISSIONS COMPONENT plugins)
install (PROGRAMS "$<TARGET_FILE:Brevalon_VST>" DESTINATION "${BREVALON_VST_INSTALL_DIR}" COMPONENT plugins)

# `cmake --install --strip` (and CPack, see Package.cmake) strip what install(TARGETS) installs;
# the plug-ins' binaries are installed as files and folders, so they are stripped here.
if (CMAKE_STRIP)
    foreach (binary "${BREVALON_VST3_INSTALL_DIR}/Brevalon.vst3/Contents/x86_64-linux/Brevalon.so"
                    "${BREVALON_LV2_INSTALL_DIR}/Brevalon.lv2/libBrevalon.so" "${BREVALON_VST_INSTALL_DIR}/Brevalon.so")
        install (CODE "
            if (CMAKE_INSTALL_DO_STRIP)
                set (path \"${binary}\")
                if (NOT IS_ABSOLUTE \"\${path}\")
                    set (path \"\${CMAKE_INSTALL_PREFIX}/\${path}\")
                endif ()
                execute_process (COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${path}\" RESULT_VARIABLE result)
                if (result)
                    message (FATAL_ERROR \"cannot strip \${path}\")
                endif ()
            endif ()" COMPONENT plugins)
    endforeach ()
endif ()

install (TARGETS brevalon-render Brevalon_Standalone RUNTIME DESTINATION bin COMPONENT applications)

# The user manual and the licence, where Debian keeps a package's documents.
install (FILES "${PROJECT_SOURCE_DIR}/docs/manual.md" DESTINATION share/doc/brevalon COMPONENT documentation)
install (FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION share/doc/brevalon RENAME copyright COMPONENT documentation)

# The change log, beside the manual.
install (FILES "${PROJECT_SOURCE_DIR}/CHANGELOG.md" DESTINATION share/doc/brevalon COMPONENT documentation)

# The standalone application on the desktop: its menu entry and its icon at every hicolor size
# (drawn at build time, tools/generate_icon.cpp).
install (FILES "${PROJECT_SOURCE_DIR}/resources/desktop/brevalon.desktop" DESTINATION share/applications COMPONENT applications)
foreach (size ${BREVALON_ICON_SIZES})
    install (FILES "${PROJECT_BINARY_DIR}/icons/${size}x${size}/apps/brevalon.png"
             DESTINATION "share/icons/hicolor/${size}x${size}/apps" COMPONENT applications)
endforeach ()

# brevalon-render's manual page, with the version filled in, gzipped as man expects (-n: no
# name or time stamp inside, so the same page gives the same file).
configure_file ("${PROJECT_SOURCE_DIR}/docs/brevalon-render.1.in" "${PROJECT_BINARY_DIR}/man/brevalon-render.1" @ONLY)
add_custom_command (OUTPUT "${PROJECT_BINARY_DIR}/man/brevalon-render.1.gz"
    COMMAND gzip -9 -n -f -k "${PROJECT_BINARY_DIR}/man/brevalon-render.1"
    DEPENDS "${PROJECT_BINARY_DIR}/man/brevalon-render.1"
    COMMENT "Compressing the manual page of brevalon-render")
add_custom_target (brevalon-man-page ALL DEPENDS "${PROJECT_BINARY_DIR}/man/brevalon-render.1.gz")
install (FILES "${PROJECT_BINARY_DIR}/man/brevalon-render.1.gz" DESTINATION share/man/man1 COMPONENT documentation)

# The user manual as a PDF, where the editor's Manual button looks for it: the common
# application data folder (/opt on Linux), the maker's and the product's folders,
# "<product> - Manual.pdf". It is rendered while installing (pandoc and WeasyPrint are needed for
# `cmake --install` and the package, not for the build); `cmake --build . --target manual-pdf`
# renders it into the build tree by hand. Writing to /opt needs root, so a user install has none.
# The documents folder holds manual.pdf, a link to it.
if (NOT BREVALON_USER_INSTALL)
    set (BREVALON_MANUAL_PDF_FOLDER "/opt/${BREVALON_IDENTITY_manufacturer}/${BREVALON_IDENTITY_name}")
    set (BREVALON_MANUAL_PDF_NAME "${BREVALON_IDENTITY_name} - Manual.pdf")
    set (brevalon_manual_pdf "${PROJECT_BINARY_DIR}/manual/${BREVALON_MANUAL_PDF_NAME}")
    file (CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/manual/render-manual.cmake" @ONLY CONTENT [[
set (SOURCE "@PROJECT_SOURCE_DIR@/docs/manual.md")
set (OUTPUT "@brevalon_manual_pdf@")
set (STYLE_FOLDER "@PROJECT_SOURCE_DIR@/docs/manual-pdf")
set (TITLE "@BREVALON_IDENTITY_name@ - Manual")
set (AUTHOR "@BREVALON_IDENTITY_manufacturer@")
set (VERSION "@PROJECT_VERSION@")
include ("@PROJECT_SOURCE_DIR@/cmake/RenderManual.cmake")
]])
    add_custom_target (manual-pdf COMMAND "${CMAKE_COMMAND}" -P "${PROJECT_BINARY_DIR}/manual/render-manual.cmake" VERBATIM)
    install (SCRIPT "${PROJECT_BINARY_DIR}/manual/render-manual.cmake" COMPONENT documentation)
    install (FILES "${brevalon_manual_pdf}" DESTINATION "${BREVALON_MANUAL_PDF_FOLDER}" COMPONENT documentation)
    install (CODE "
        set (link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/doc/brevalon/manual.pdf\")
        message (STATUS \"Installing: \${link}\")
        file (REMOVE \"\${link}\")
        file (CREATE_LINK \"${BREVALON_MANUAL_PDF_FOLDER}/${BREVALON_MANUAL_PDF_NAME}\" \"\${link}\" SYMBOLIC)"
        COMPONENT documentation)
endif ()
