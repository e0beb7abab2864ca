#pragma once

#include <array>

// The plug-in's identity and capabilities as hosts see them. The text values live in
// PluginIdentity.def, which the build reads as well, so the wrappers and the code agree.
namespace brevalon::PluginIdentity
{
#define IDENTITY(key, value) inline constexpr const char* key = value;
#include "processor/PluginIdentity.def"
#undef IDENTITY

// From the VERSION file, through the build.
inline constexpr const char* version = BREVALON_VERSION_STRING;
inline constexpr int versionMajor = BREVALON_VERSION_MAJOR;
inline constexpr int versionMinor = BREVALON_VERSION_MINOR;
inline constexpr int versionPatch = BREVALON_VERSION_PATCH;
inline constexpr int versionCode = (versionMajor << 16) | (versionMinor << 8) | versionPatch;
inline constexpr int vstVendorVersion = versionMajor * 100 + versionMinor * 10 + versionPatch;

// A four-character code as hosts read it: big-endian 32-bit.
constexpr int fourCharCode (const char* code) noexcept
{
    return (int)(((unsigned)(unsigned char)code[0] << 24) | ((unsigned)(unsigned char)code[1] << 16) |
                 ((unsigned)(unsigned char)code[2] << 8) | (unsigned)(unsigned char)code[3]);
}

struct ChannelConfiguration
{
    int inputs;
    int outputs;
};

inline constexpr ChannelConfiguration vst2Channels{ 2, 2 };
// AAX processing components, by component index: stereo and mono.
inline constexpr std::array<ChannelConfiguration, 2> aaxComponents{ { { 2, 2 }, { 1, 1 } } };
// AAX plug-in ids: the prefix's code plus the component index.
constexpr int aaxNativeId (int component) noexcept
{
    return fourCharCode (aaxNativeIdPrefix) + component;
}
constexpr int aaxAudioSuiteId (int component) noexcept
{
    return fourCharCode (aaxAudioSuiteIdPrefix) + component;
}

inline constexpr bool isSynth = false;
inline constexpr bool wantsMidiInput = false;
inline constexpr bool producesMidiOutput = false;
inline constexpr bool hasEditor = true;
inline constexpr bool supportsHostBypass = true;
inline constexpr bool aaxMultiMonoAllowed = true;
} // namespace brevalon::PluginIdentity
