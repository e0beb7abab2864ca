#pragma once

#include "state/SharedFolder.h"
#include "state/XmlFile.h"

#include <juce_core/juce_core.h>

#include <memory>

namespace brevalon
{

class ParamManager;
class PresetRecord;

// The global user presets: the file in the shared folder ("Brevalon.conf") that every instance
// reads at start-up and updates when the user saves, overwrites or deletes a preset, and the
// user slots of the program list that hold them.
//
// The file is shared: only the entries numbered for the user slots (1000..) are read, and a
// write changes only its own entry, so what other products or versions keep there stays. The
// entry of a number is the first one carrying it, for every reader and writer. A write replaces
// the file in one rename, so a crash or a concurrent reader never sees a half-written file, and
// a file that does not parse is never written over.
//
// All instances in the process share one recursive lock around reading and writing the file
// (taken after an engine's lock, never before).
class UserPresetStore
{
public:
    UserPresetStore (SharedFolder folder, const juce::String& fileName);

    static juce::CriticalSection& getFileLock() noexcept;

    const juce::String& getFileName() const noexcept { return fileName; }
    const juce::File& getFile() const noexcept { return file; }
    // Creates the shared folder when it is missing; true when it exists afterwards.
    bool createFolder() const { return folder.createIfMissing(); }

    // Reads every preset of the file into its user slot (the program's name and values, and
    // its active flag).
    void load (ParamManager& model) const;
    // The lowest user slot that the file does not use, or -1 when all are used. The file
    // decides, so presets saved by other instances count.
    int firstFreeSlot (const ParamManager& model) const;
    // False when the file exists but cannot be read: it is never written over (it may hold
    // presets a later version or the user wrote), so nothing can be saved into it.
    bool isWritable() const;
    // True when the file holds a preset, not deleted, in that slot.
    bool holdsPreset (const ParamManager& model, int slot) const;
    // Writes the program's name and values into its entry (made anew, or undeleted and reused).
    void write (const ParamManager& model, int slot) const;
    // Marks the slot's entry deleted.
    void markDeleted (const ParamManager& model, int slot) const;
    // The slot back to its placeholder, then filled from the file again when the file still
    // holds its preset: another instance may have changed or deleted it.
    void reload (ParamManager& model, int slot) const;

private:
    XmlFile::Content read (std::unique_ptr<juce::XmlElement>& document) const;
    // Reads the file; its "presets" element when it parses and its root is the maker's, or null.
    const juce::XmlElement* readPresetsOfMakerFile (std::unique_ptr<juce::XmlElement>& document) const;
    static const juce::XmlElement* findEntry (const juce::XmlElement& presets, int number);
    static juce::XmlElement* findEntry (juce::XmlElement& presets, int number);
    static const juce::XmlElement* findPreset (const juce::XmlElement& presets, int number);
    static void readPreset (ParamManager& model, const juce::XmlElement& preset, int slot);

    SharedFolder folder;
    juce::String fileName;
    juce::File file;
};

} // namespace brevalon
