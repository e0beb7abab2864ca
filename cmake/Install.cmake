# `cmake --install`: the plug-ins where Linux hosts look for them, the renderer and the standalone
# application in bin. With BREVALON_USER_INSTALL the plug-ins go into the installing user's
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
