# The Windows console host that checks the built DLLs under Wine (tools/windows/build.sh runs it).
add_executable (WindowsPluginTest "${PROJECT_SOURCE_DIR}/tests/windows/WindowsPluginTest.cpp")
get_target_property (brevalon_juce_module_path juce::juce_audio_processors INTERFACE_JUCE_MODULE_PATH)
target_include_directories (WindowsPluginTest SYSTEM PRIVATE
    "${PROJECT_SOURCE_DIR}/cmake/vst2-shim"
    "${CMAKE_BINARY_DIR}/fst-headers"
    "${brevalon_juce_module_path}/juce_audio_processors/format_types/VST3_SDK")
target_link_libraries (WindowsPluginTest PRIVATE brevalon_warnings)
# The FST headers announce their unknowns with #warning.
target_compile_options (WindowsPluginTest PRIVATE -Wno-cpp)
target_link_options (WindowsPluginTest PRIVATE -static -static-libgcc -static-libstdc++)
