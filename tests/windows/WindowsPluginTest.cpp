// A small Windows console host for the built plug-in DLLs, run under Wine by the Windows build:
// loads the VST 2.4 DLL through VSTPluginMain and checks what a host sees (identity, channels,
// parameters, programs, category, latency, an impulse, the state chunk), and checks that the
// VST3 module exports its factory and lists the processor class.
//
//   WindowsPluginTest Brevalon.dll Brevalon.vst3

#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst2.x/aeffectx.h>

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace
{

int failures = 0;

void check (bool condition, const std::string& what)
{
    std::printf ("%s %s\n", condition ? "ok  " : "FAIL", what.c_str());
    if (! condition)
        ++failures;
}

template <typename A, typename B> void checkEqual (const A& actual, const B& expected, const std::string& what)
{
    const bool same = actual == expected;
    check (same, what);
    if (! same)
        std::printf ("     got something else than expected\n");
}

intptr_t VSTCALLBACK hostCallback (AEffect*, int opcode, int, intptr_t, void*, float)
{
    if (opcode == audioMasterVersion)
        return 2400;
    return 0;
}

using PluginMain = AEffect*(VSTCALLBACK*)(audioMasterCallback);

std::string dispatchString (AEffect* effect, int opcode, int index = 0)
{
    char text[256] = {};
    effect->dispatcher (effect, opcode, index, 0, text, 0.0f);
    return text;
}

AEffect* createEffect (PluginMain main)
{
    AEffect* effect = main (hostCallback);
    if (effect != nullptr)
        effect->dispatcher (effect, effOpen, 0, 0, nullptr, 0.0f);
    return effect;
}

void destroyEffect (AEffect* effect)
{
    effect->dispatcher (effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher (effect, effClose, 0, 0, nullptr, 0.0f);
}

void prepare (AEffect* effect, float sampleRate, int blockSize)
{
    effect->dispatcher (effect, effSetSampleRate, 0, 0, nullptr, sampleRate);
    effect->dispatcher (effect, effSetBlockSize, 0, blockSize, nullptr, 0.0f);
    effect->dispatcher (effect, effMainsChanged, 0, 1, nullptr, 0.0f);
}

int fourCharCode (const char* code)
{
    return (int)(((unsigned)code[0] << 24) | ((unsigned)code[1] << 16) | ((unsigned)code[2] << 8) | (unsigned)code[3]);
}

void checkVst2 (const char* path)
{
    HMODULE module = LoadLibraryA (path);
    check (module != nullptr, std::string ("VST 2.4 DLL loads: ") + path);
    if (module == nullptr)
        return;
    auto main = reinterpret_cast<PluginMain> (reinterpret_cast<void*> (GetProcAddress (module, "VSTPluginMain")));
    check (main != nullptr, "exports VSTPluginMain");
    if (main == nullptr)
        return;

    AEffect* effect = createEffect (main);
    check (effect != nullptr && effect->magic == fourCharCode ("VstP"), "VSTPluginMain returns an effect");
    if (effect == nullptr)
        return;

    checkEqual (dispatchString (effect, effGetEffectName), std::string ("Brevalon"), "effect name Brevalon");
    checkEqual (dispatchString (effect, effGetProductString), std::string ("Brevalon"), "product string Brevalon");
    checkEqual (dispatchString (effect, effGetVendorString), std::string ("Quillfen"), "vendor Quillfen");
    checkEqual (effect->uniqueID, fourCharCode ("Vq4h"), "unique ID Vq4h");
    // JUCE's VST 2.4 wrapper reports versions from 1.0.0 on as the hex code itself (0x10000).
    checkEqual ((int)effect->dispatcher (effect, effGetVendorVersion, 0, 0, nullptr, 0.0f), 0x10000, "vendor version 1.0.0");
    checkEqual ((int)effect->dispatcher (effect, effGetPlugCategory, 0, 0, nullptr, 0.0f), (int)kPlugCategMastering, "category mastering");
    checkEqual (effect->numInputs, 2, "2 inputs");
    checkEqual (effect->numOutputs, 2, "2 outputs");
    checkEqual (effect->numParams, 4, "4 parameters");
    checkEqual (effect->numPrograms, 10, "10 programs");
    checkEqual (effect->initialDelay, 0, "initial delay 0 before preparing");

    const char* names[] = { "Frequency", "Slope", "Mix", "Bypass" };
    const char* texts[] = { "21.0 kHz", "75.0 %", "100.0 %", "Off" };
    for (int i = 0; i < 4; ++i)
    {
        checkEqual (dispatchString (effect, effGetParamName, i), std::string (names[i]), std::string ("parameter name ") + names[i]);
        checkEqual (dispatchString (effect, effGetParamDisplay, i), std::string (texts[i]), std::string ("parameter text ") + texts[i]);
    }
    const char* programs[] = { "Default", "Light",   "Intermediate", "Steep and reduced", "Hard",
                               "USER001", "USER002", "USER003",      "USER004",           "USER005" };
    for (int p = 0; p < 10; ++p)
        checkEqual (dispatchString (effect, effGetProgramNameIndexed, p), std::string (programs[p]),
                    std::string ("program ") + programs[p]);

    prepare (effect, 96000.0f, 512);
    checkEqual (effect->initialDelay, 45, "initial delay 45 at 96000 Hz");

    std::vector<float> left (512, 0.0f), right (512, 0.0f), outLeft (512, 0.0f), outRight (512, 0.0f);
    left[10] = 1.0f;
    float* inputs[] = { left.data(), right.data() };
    float* outputs[] = { outLeft.data(), outRight.data() };
    effect->processReplacing (effect, inputs, outputs, 512);
    size_t peak = 0;
    for (size_t i = 0; i < outLeft.size(); ++i)
        if (std::fabs (outLeft[i]) > std::fabs (outLeft[peak]))
            peak = i;
    checkEqual (peak, (size_t)55, "an impulse comes out 45 samples later");
    bool rightSilent = true;
    for (float v : outRight)
        rightSilent = rightSilent && v == 0.0f;
    check (rightSilent, "the other channel stays silent");

    // State chunk: a changed value travels to a fresh instance.
    effect->setParameter (effect, 1, 0.3f);
    void* chunk = nullptr;
    const auto size = effect->dispatcher (effect, effGetChunk, 0, 0, &chunk, 0.0f);
    check (size > 0 && chunk != nullptr, "the state chunk is saved");
    if (size > 0 && chunk != nullptr)
    {
        const std::vector<char> saved ((const char*)chunk, (const char*)chunk + size);
        AEffect* other = createEffect (main);
        other->dispatcher (other, effSetChunk, 0, (intptr_t)saved.size(), (void*)saved.data(), 0.0f);
        check (std::fabs (other->getParameter (other, 1) - 0.3f) < 1e-6f, "the chunk restores the slope in a new instance");
        checkEqual (dispatchString (other, effGetParamDisplay, 1), std::string ("30.0 %"), "restored slope text 30.0 %");
        destroyEffect (other);
    }
    destroyEffect (effect);
}

void checkVst3 (const char* path)
{
    HMODULE module = LoadLibraryA (path);
    check (module != nullptr, std::string ("VST3 module loads: ") + path);
    if (module == nullptr)
        return;
    using Steinberg::IPluginFactory;
    using Steinberg::PClassInfo;
    using GetFactory = IPluginFactory*(PLUGIN_API*)();
    auto getFactory = reinterpret_cast<GetFactory> (reinterpret_cast<void*> (GetProcAddress (module, "GetPluginFactory")));
    check (getFactory != nullptr, "exports GetPluginFactory");
    if (getFactory == nullptr)
        return;
    IPluginFactory* factory = getFactory();
    check (factory != nullptr, "GetPluginFactory returns a factory");
    if (factory == nullptr)
        return;
    bool processorListed = false;
    for (int32_t i = 0; i < factory->countClasses(); ++i)
    {
        PClassInfo info{};
        if (factory->getClassInfo (i, &info) == Steinberg::kResultOk)
            processorListed =
                processorListed || (std::strcmp (info.category, "Audio Module Class") == 0 && std::strcmp (info.name, "Brevalon") == 0);
    }
    check (processorListed, "the factory lists the Brevalon processor class");
    factory->release();
}

} // namespace

int main (int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf (stderr, "usage: %s VST2.dll VST3-module\n", argv[0]);
        return 2;
    }
    checkVst2 (argv[1]);
    checkVst3 (argv[2]);
    std::printf ("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
