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

install (TARGETS brevalon-render Brevalon_Standalone RUNTIME DESTINATION bin COMPONENT applications)
