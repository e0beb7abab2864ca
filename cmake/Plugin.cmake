# The plug-in: VST3, LV2, VST 2.4 and Standalone, all fed from the identity table
# processor/PluginIdentity.def, which the C++ code reads as well (PluginIdentity.h).
include ("${PROJECT_SOURCE_DIR}/cmake/PluginIdentity.cmake")
brevalon_read_identity ("${PROJECT_SOURCE_DIR}/processor/PluginIdentity.def" BREVALON_IDENTITY)

# VST 2.4 from the FST headers, through a folder that offers them under the names JUCE includes.
juce_set_vst2_sdk_path ("${PROJECT_SOURCE_DIR}/cmake/vst2-shim")

if (WIN32)
    # The Windows build makes the two formats Windows hosts load.
    set (BREVALON_PLUGIN_FORMATS VST3 VST)
else ()
    set (BREVALON_PLUGIN_FORMATS VST3 LV2 VST Standalone)

    # JUCE writes the LV2 manifest by loading the built plug-in in a helper program, which creates a
    # processor; a processor reads the user presets and writes "global.conf" in the user's settings
    # folder. This build of JUCE's helper gives it an empty temporary settings folder, so the manifest
    # (whose presets are the program names) is the same on every machine and the build leaves nothing
    # in the user's folder. JUCE uses a target of this name when it exists.
    find_package (Threads REQUIRED)
    add_library (brevalon_lv2_helper_settings OBJECT "${PROJECT_SOURCE_DIR}/tools/lv2-helper/TemporarySettingsFolder.cpp")
    target_link_libraries (brevalon_lv2_helper_settings PRIVATE brevalon_warnings)
    get_target_property (brevalon_juce_module_path juce::juce_audio_plugin_client INTERFACE_JUCE_MODULE_PATH)
    add_executable (juce_lv2_helper "${brevalon_juce_module_path}/juce_audio_plugin_client/LV2/juce_LV2TurtleDumpProgram.cpp")
    add_executable (juce::juce_lv2_helper ALIAS juce_lv2_helper)
    target_compile_features (juce_lv2_helper PRIVATE cxx_std_17)
    set_target_properties (juce_lv2_helper PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
    target_link_libraries (juce_lv2_helper PRIVATE brevalon_lv2_helper_settings ${CMAKE_DL_LIBS} Threads::Threads)
endif ()

juce_add_plugin (Brevalon
    PRODUCT_NAME "${BREVALON_IDENTITY_name}"
    PLUGIN_NAME "${BREVALON_IDENTITY_name}"
    COMPANY_NAME "${BREVALON_IDENTITY_manufacturer}"
    COMPANY_WEBSITE "${BREVALON_IDENTITY_companyWebsite}"
    BUNDLE_ID "${BREVALON_IDENTITY_bundleIdentifier}"
    VERSION "${PROJECT_VERSION}"
    PLUGIN_CODE "${BREVALON_IDENTITY_pluginCode}"
    PLUGIN_MANUFACTURER_CODE "${BREVALON_IDENTITY_manufacturerCode}"
    FORMATS ${BREVALON_PLUGIN_FORMATS}
    IS_SYNTH FALSE
    NEEDS_MIDI_INPUT FALSE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    # The editor takes typed values (text entry), so it asks the host for the keyboard.
    EDITOR_WANTS_KEYBOARD_FOCUS TRUE
    VST2_CATEGORY "${BREVALON_IDENTITY_vst2Category}"
    VST3_CATEGORIES ${BREVALON_IDENTITY_vst3Categories}
    AAX_IDENTIFIER "${BREVALON_IDENTITY_aaxEffectIdentifier}"
    AAX_CATEGORY "${BREVALON_IDENTITY_aaxCategory}"
    LV2URI "${BREVALON_IDENTITY_lv2Uri}"
    COPY_PLUGIN_AFTER_BUILD FALSE)

# Linux VST 2.4 plug-ins are named like the plug-in (hosts list the file name), without "lib".
set_target_properties (Brevalon_VST PROPERTIES PREFIX "")

# The shared code is the factory only: JUCE and the processor come compiled from brevalon_processor
# (linking JUCE's module targets here would compile their sources a second time).
add_library (brevalon_plugin_entry STATIC "${PROJECT_SOURCE_DIR}/processor/PluginEntry.cpp")
target_link_libraries (brevalon_plugin_entry PUBLIC brevalon_processor brevalon_editor PRIVATE brevalon_warnings)
target_link_libraries (Brevalon PRIVATE brevalon_plugin_entry)

target_compile_definitions (Brevalon PUBLIC
    # Debian's JUCE defines the LV2 URI as the plug-in name before the LV2URI argument is read.
    JucePlugin_LV2URI="${BREVALON_IDENTITY_lv2Uri}"
    # VST3 parameter ids are the parameters' indices, as the ids "0".."3" are in every format.
    JUCE_FORCE_USE_LEGACY_PARAM_IDS=1
    # The VST3 has its own class id and stores the plain state; claiming to replace the VST 2.4
    # needs the VST 2.4 bank structures, which the FST headers do not have.
    JUCE_VST3_CAN_REPLACE_VST2=0)

if (NOT WIN32)
    # JUCE's manifest helper writes the bundle's Turtle on every build of the LV2; this tool then
    # corrects it (see tools/lv2-helper/Lv2TurtleFixup.cpp): the parameters' defaults, classes and
    # lists the LV2 schemas do not allow. tests/lv2 validates the result.
    add_executable (brevalon-lv2-turtle "${PROJECT_SOURCE_DIR}/tools/lv2-helper/Lv2TurtleFixup.cpp")
    target_link_libraries (brevalon-lv2-turtle PRIVATE brevalon_processor brevalon_lv2_helper_settings brevalon_warnings)
    add_dependencies (Brevalon_LV2 brevalon-lv2-turtle)
    add_custom_command (TARGET Brevalon_LV2 POST_BUILD
        COMMAND brevalon-lv2-turtle "$<TARGET_FILE_DIR:Brevalon_LV2>"
        VERBATIM)
endif ()

if (WIN32)
    # The MinGW compiler does not search /usr/include: the FST headers the VST 2.4 shim includes
    # are copied into the build tree.
    file (COPY /usr/include/pluginterfaces/fst DESTINATION "${CMAKE_BINARY_DIR}/fst-headers/pluginterfaces")
    foreach (target Brevalon Brevalon_VST Brevalon_VST3)
        target_include_directories (${target} SYSTEM PRIVATE "${CMAKE_BINARY_DIR}/fst-headers")
    endforeach ()
    # The DLLs carry the C++ runtime and import only Windows system DLLs.
    foreach (target Brevalon_VST Brevalon_VST3)
        target_link_options (${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endforeach ()
endif ()
