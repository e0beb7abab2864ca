#pragma once

#include "state/SharedFolder.h"
#include "state/XmlFile.h"

#include <juce_core/juce_core.h>

#include <memory>

namespace brevalon
{

// The global user-preset file ("Brevalon.conf" in the shared folder) that every instance reads
// at start-up and updates when the user saves, overwrites or deletes a preset.
//
// All instances in the process share one recursive lock around reading and writing the file
// (taken after an engine's lock, never before). A write replaces the file in one rename, so a
// crash or a concurrent reader never sees a half-written file, and a file that does not parse is
// never written over.
class UserPresetFile
{
public:
    static constexpr const char* rootTag = "Quillfen";

    UserPresetFile (SharedFolder folder, const juce::String& fileName);

    static juce::CriticalSection& getFileLock() noexcept;

    const juce::File& getFile() const noexcept { return file; }
    const SharedFolder& getFolder() const noexcept { return folder; }

    using Content = brevalon::XmlFile::Content;

    // Reads and parses the file; `document` is set only for parsed content.
    Content read (std::unique_ptr<juce::XmlElement>& document) const;

    // Writes the document in place of the file (folder created when missing). False when
    // nothing could be written.
    bool write (const juce::XmlElement& document) const;

    // The user slots' preset numbers; the file may hold other entries, which are left alone.
    static constexpr int firstNumber = 1000;
    static bool isUserNumber (int number, int slotCount) noexcept { return number >= firstNumber && number < firstNumber + slotCount; }

    // The entry of a preset number: the first child named "preset" (any case) of `presets`
    // with this "_No_", deleted or not; null when none. Every reader and writer takes this one,
    // so what an instance shows is what overwrite and delete change.
    static juce::XmlElement* findEntry (juce::XmlElement& presets, int number);
    static const juce::XmlElement* findEntry (const juce::XmlElement& presets, int number);
    // The entry when it is not deleted.
    static const juce::XmlElement* findPreset (const juce::XmlElement& presets, int number);

private:
    SharedFolder folder;
    juce::File file;
};

} // namespace brevalon
