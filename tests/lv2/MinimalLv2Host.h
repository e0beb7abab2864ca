#pragma once

#include <lilv/lilv.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace brevalon::test
{

// A small LV2 host over lilv, as a digital audio workstation drives a plug-in: one instance with
// every port connected (stereo audio, the control ports at their defaults, an atom input the host
// writes messages to and the notify output it reads), run in blocks of a given size. It records
// the values the plug-in announces on its notify output (patch:Set), by property URI.
class MinimalLv2Host
{
public:
    // Loads the bundle (a folder) and finds the plug-in with that URI. isLoaded() tells whether
    // both worked.
    MinimalLv2Host (const std::string& bundlePath, const std::string& pluginUri);
    ~MinimalLv2Host();

    bool isLoaded() const noexcept { return plugin != nullptr; }

    // The properties the plug-in declares writable (patch:writable), and the default value
    // (lv2:default) the plug-in's description gives one of them; NaN when it gives none.
    std::vector<std::string> writableProperties() const;
    float declaredDefault (const std::string& propertyUri) const;

    // Creates and activates the instance. False when the plug-in refuses to instantiate.
    bool instantiate (double sampleRate, int maximumBlockSize);

    // Runs one block of silence. With `requestValues` the host first asks for every property
    // value (a patch:Get without subject, as Ardour does when it shows a plug-in's controls).
    // With `readMessages` false the notify output is not read, as a host does for a block it runs
    // only to learn the latency.
    void run (int numSamples, bool requestValues = false, bool readMessages = true);

    // The last value announced for each property URI so far.
    const std::map<std::string, float>& announcedValues() const noexcept { return announced; }

private:
    static LV2_URID mapUri (LV2_URID_Map_Handle handle, const char* uri);
    LV2_URID map (const std::string& uri);
    const std::string& unmap (LV2_URID urid) const;
    void readNotifyOutput();

    std::vector<std::string> uris{ "" }; // URID 0 is reserved
    LV2_URID_Map uridMap{ this, &MinimalLv2Host::mapUri };

    LilvWorld* world = nullptr;
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;

    int32_t maximumBlock = 0;
    int32_t sequenceSize = 0;
    std::vector<float> controls;
    std::vector<std::vector<float>> audio;
    std::vector<uint64_t> atomInput, atomOutput; // 64-bit words keep the atoms aligned
    std::vector<uint32_t> atomInputPorts, atomOutputPorts;
    std::map<std::string, float> announced;
};

} // namespace brevalon::test
