#include "controls/SharedTypefaces.h"

#include "FontData.h"

namespace brevalon
{

namespace
{
juce::CriticalSection& typefaceLock()
{
    static juce::CriticalSection lock;
    return lock;
}

struct Faces
{
    juce::Typeface::Ptr regular;
    juce::Typeface::Ptr bold;
};

Faces& faces()
{
    static Faces shared;
    return shared;
}

juce::Typeface::Ptr createFace (const char* style, const char* fallbackData, int fallbackSize)
{
    static const bool systemHasVerdana = juce::Font::findAllTypefaceNames().contains ("Verdana");
    if (systemHasVerdana)
        return juce::Typeface::createSystemTypefaceFor (juce::Font ("Verdana", style, 13.0f));
    return juce::Typeface::createSystemTypefaceFor (fallbackData, (size_t)fallbackSize);
}

// The faces, created on first use. Callers hold typefaceLock().
Faces& createdFaces()
{
    auto& shared = faces();
    if (shared.regular == nullptr)
        shared.regular = createFace ("Regular", FontData::DejaVuSans_ttf, FontData::DejaVuSans_ttfSize);
    if (shared.bold == nullptr)
        shared.bold = createFace ("Bold", FontData::DejaVuSansBold_ttf, FontData::DejaVuSansBold_ttfSize);
    return shared;
}
} // namespace

juce::Typeface::Ptr SharedTypefaces::getRegularTypeface()
{
    const juce::ScopedLock lock (typefaceLock());
    return createdFaces().regular;
}

juce::Typeface::Ptr SharedTypefaces::getBoldTypeface()
{
    const juce::ScopedLock lock (typefaceLock());
    return createdFaces().bold;
}

juce::Font SharedTypefaces::getRegularFont (float height)
{
    return juce::Font (getRegularTypeface()).withHeight (height);
}

juce::Font SharedTypefaces::getBoldFont (float height)
{
    return juce::Font (getBoldTypeface()).withHeight (height);
}

void SharedTypefaces::release()
{
    const juce::ScopedLock lock (typefaceLock());
    faces() = {};
}

bool SharedTypefaces::areCreated()
{
    const juce::ScopedLock lock (typefaceLock());
    return faces().regular != nullptr && faces().bold != nullptr;
}

} // namespace brevalon
