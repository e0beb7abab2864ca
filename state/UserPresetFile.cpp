#include "state/UserPresetFile.h"

#include "state/XmlLookup.h"

namespace brevalon
{

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
    return brevalon::XmlFile::read (file, document);
}

bool UserPresetFile::write (const juce::XmlElement& document) const
{
    const juce::ScopedLock sl (getFileLock());
    return folder.createIfMissing() && brevalon::XmlFile::write (file, brevalon::XmlFile::serialise (document));
}

const juce::XmlElement* UserPresetFile::findEntry (const juce::XmlElement& presets, int number)
{
    for (auto* preset = presets.getFirstChildElement(); preset != nullptr; preset = preset->getNextElement())
        if (preset->getTagName().equalsIgnoreCase ("preset") && XmlLookup::findAttribute (*preset, "_No_") != nullptr
            && XmlLookup::getInt (*preset, "_No_") == number)
            return preset;
    return nullptr;
}

juce::XmlElement* UserPresetFile::findEntry (juce::XmlElement& presets, int number)
{
    return const_cast<juce::XmlElement*> (findEntry (static_cast<const juce::XmlElement&> (presets), number));
}

const juce::XmlElement* UserPresetFile::findPreset (const juce::XmlElement& presets, int number)
{
    const auto* entry = findEntry (presets, number);
    return entry != nullptr && ! XmlLookup::getBool (*entry, "_Deleted_") ? entry : nullptr;
}

} // namespace brevalon
