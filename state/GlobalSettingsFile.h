#pragma once

#include "state/SharedFolder.h"

#include <functional>

namespace brevalon
{

class ParamList;

// Keeps a list of user-wide settings in an XML file of the shared folder, which every instance
// reads and writes: root element "Quillfen", one child per setting named by its id, holding the
// setting's text. Another instance's write is picked up by poll, at most once a second, when the
// file has changed since this object last read or wrote it.
//
// Used from the message thread (and the thread the host saves state on); takes no lock.
class GlobalSettingsFile
{
public:
    // Wall-clock milliseconds.
    using Clock = std::function<juce::int64()>;
    static constexpr juce::int64 pollIntervalMs = 1000;

    // settings must outlive this object. An empty clock means the system's wall clock.
    explicit GlobalSettingsFile (ParamList& settings, SharedFolder folder = {}, Clock clock = {});

    // Uses the file of that name in the shared folder from now on and loads it.
    void attach (const juce::String& fileName);
    // Creates a missing file with the present values; otherwise sets every setting that the file
    // names with a text the setting understands. A file that does not parse, is larger than the
    // XML guard allows, or whose root is not "Quillfen", changes nothing. Names and texts match without regard to case.
    void load();
    // Writes the present values into the file, creating the shared folder when it is missing.
    // The file is shared with other products and versions: the settings' elements are updated in
    // place and every other element is kept; a file that does not parse (or that the XML guard
    // rejects) is replaced. Writes through a symbolic link to its target. True when written.
    bool save();
    // save, and take the written file as seen, so this object's own write is not loaded back.
    bool saveAndRemember();
    // At most once per interval: loads the file when it differs from what was last seen.
    void poll();

    const juce::String& getFileName() const noexcept { return fileName; }
    const juce::File& getFile() const noexcept { return file; }

private:
    // What was last seen of the file. JUCE reports modification times in whole seconds on Linux,
    // so two writes within one second share a time: size and a digest of the content tell them apart.
    struct Stamp
    {
        bool exists = false;
        juce::int64 modified = 0;
        juce::int64 size = 0;
        juce::uint64 digest = 0;

        bool operator== (const Stamp& other) const noexcept
        {
            return exists == other.exists && modified == other.modified && size == other.size && digest == other.digest;
        }
        bool operator!= (const Stamp& other) const noexcept { return ! (*this == other); }
    };

    // Reads the file once: its stamp and, when readable, its content.
    Stamp readFile (juce::MemoryBlock& content) const;
    void loadAndRemember();
    void apply (const juce::MemoryBlock& content);
    bool write (juce::MemoryBlock& written);

    ParamList& settings;
    SharedFolder folder;
    Clock clock;
    juce::String fileName;
    juce::File file;
    Stamp lastSeen;
    juce::int64 lastPoll = 0;
    bool polled = false;
};

} // namespace brevalon
