# JUCE from Debian, compiled once into a static library that every JUCE-based target of the
# product links. The modules are linked privately so their sources are not compiled again by
# each consumer; their include folders and definitions are passed on.

# The definitions every JUCE build of the project shares (the product's and the test host's).
function (brevalon_juce_definitions target)
    target_compile_definitions (${target} PUBLIC
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_STRICT_REFCOUNTEDPOINTER=1
        ${ARGN})
endfunction ()

# Debian's JUCE leaves out its own copies of the codec libraries.
add_library (brevalon_system_codecs INTERFACE)
if (WIN32)
    # The Windows plug-ins: static MinGW builds of libpng and libjpeg (tools/windows/build-deps.sh)
    # and zlib; FLAC and Ogg only serve the renderer, which is not built for Windows.
    set (BREVALON_WINDOWS_DEPS_PREFIX "" CACHE PATH "Where tools/windows/build-deps.sh installed libpng and libjpeg")
    find_library (BREVALON_PNG_LIBRARY png PATHS "${BREVALON_WINDOWS_DEPS_PREFIX}/lib" REQUIRED NO_DEFAULT_PATH)
    find_library (BREVALON_JPEG_LIBRARY jpeg PATHS "${BREVALON_WINDOWS_DEPS_PREFIX}/lib" REQUIRED NO_DEFAULT_PATH)
    find_library (BREVALON_ZLIB_LIBRARY NAMES libz.a z REQUIRED)
    target_include_directories (brevalon_system_codecs SYSTEM INTERFACE "${BREVALON_WINDOWS_DEPS_PREFIX}/include")
    target_link_libraries (brevalon_system_codecs INTERFACE ${BREVALON_PNG_LIBRARY} ${BREVALON_JPEG_LIBRARY} ${BREVALON_ZLIB_LIBRARY})
    set (BREVALON_WITH_FLAC_AND_OGG 0)
else ()
    find_package (PkgConfig REQUIRED)
    pkg_check_modules (BREVALON_SYSTEM_CODECS REQUIRED IMPORTED_TARGET flac vorbis vorbisfile vorbisenc ogg libpng libjpeg zlib)
    target_link_libraries (brevalon_system_codecs INTERFACE PkgConfig::BREVALON_SYSTEM_CODECS)
    set (BREVALON_WITH_FLAC_AND_OGG 1)
endif ()

add_library (brevalon_juce STATIC)
target_link_libraries (brevalon_juce
    PRIVATE juce::juce_audio_utils juce::juce_audio_processors juce::juce_audio_formats juce::juce_dsp juce::juce_gui_extra
    PUBLIC juce::juce_recommended_config_flags brevalon_system_codecs)
brevalon_juce_definitions (brevalon_juce
    JUCE_USE_FLAC=${BREVALON_WITH_FLAC_AND_OGG}
    JUCE_USE_OGGVORBIS=${BREVALON_WITH_FLAC_AND_OGG})
target_include_directories (brevalon_juce SYSTEM INTERFACE $<TARGET_PROPERTY:brevalon_juce,INCLUDE_DIRECTORIES>)
target_compile_definitions (brevalon_juce INTERFACE $<TARGET_PROPERTY:brevalon_juce,COMPILE_DEFINITIONS>)
