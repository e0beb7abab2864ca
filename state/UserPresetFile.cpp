#include "UserPresetFile.h"

#include "XmlLookup.h"

UserPresetFile::UserPresetFile (SharedFolder folder_, const juce::String& fileName)
    : folder (std::move (folder_)),
      file (folder.getFile (fileName))
{
}

juce::CriticalSection& UserPresetFile::getFileLock() noexcept
{
    static juce::CriticalSection fileLock;
    return fileLock;
}

UserPresetFile::Content UserPresetFile::read (std::unique_ptr<juce::XmlElement>& document) const
{
    const juce::ScopedLock sl (getFileLock());
    document.reset();
    if (! file.existsAsFile())
        return Content::missing;
    document = juce::XmlDocument::parse (file);
    return document != nullptr ? Content::parsed : Content::unreadable;
}

bool UserPresetFile::write (const juce::XmlElement& document) const
{
    const juce::ScopedLock sl (getFileLock());
    if (! folder.createIfMissing())
        return false;

    // Written beside the target and renamed over it only when complete.
    juce::TemporaryFile temporary (file, juce::TemporaryFile::useHiddenFile);
    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 255;
    if (! document.writeTo (temporary.getFile(), format))
        return false;
    return temporary.overwriteTargetFileWithTemporary();
}

juce::XmlElement* UserPresetFile::findPreset (juce::XmlElement& presets, int number, bool skipDeleted)
{
    for (auto* preset = presets.getFirstChildElement(); preset != nullptr; preset = preset->getNextElement())
        if (preset->getTagName().equalsIgnoreCase ("preset") && XmlLookup::getInt (*preset, "_No_") == number
            && ! (skipDeleted && XmlLookup::getBool (*preset, "_Deleted_")))
            return preset;
    return nullptr;
}
