#include "GlobalSettingsFile.h"

#include "ParamList.h"

namespace
{
constexpr const char* rootTag = "Quillfen";

juce::uint64 digestOf (const juce::MemoryBlock& content) noexcept
{
    // FNV-1a, 64 bits.
    juce::uint64 hash = 14695981039346656037ull;
    for (size_t i = 0; i < content.getSize(); ++i)
    {
        hash ^= static_cast<juce::uint8> (content[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}
} // namespace

GlobalSettingsFile::GlobalSettingsFile (ParamList& settings_, SharedFolder folder_, Clock clock_)
    : settings (settings_),
      folder (std::move (folder_)),
      clock (clock_ ? std::move (clock_) : Clock ([] { return juce::Time::currentTimeMillis(); }))
{
}

void GlobalSettingsFile::attach (const juce::String& name)
{
    fileName = name;
    file = folder.getFile (name);
    loadAndRemember();
}

void GlobalSettingsFile::load()
{
    if (! file.existsAsFile())
    {
        save();
        return;
    }
    juce::MemoryBlock content;
    if (file.loadFileAsData (content))
        apply (content);
}

bool GlobalSettingsFile::save()
{
    juce::MemoryBlock written;
    return write (written);
}

bool GlobalSettingsFile::saveAndRemember()
{
    juce::MemoryBlock written;
    if (! write (written))
        return false;

    // When another instance replaced the file right after this write, its content differs from
    // ours: leave it unseen so the next poll loads it.
    juce::MemoryBlock onDisk;
    const Stamp stamp = readFile (onDisk);
    lastSeen = onDisk == written ? stamp : Stamp{ true, -1, -1, 0 };
    return true;
}

void GlobalSettingsFile::poll()
{
    const juce::int64 now = clock();
    // A wall clock set back counts as time passed, so polling does not stop until it catches up.
    const juce::int64 elapsed = now - lastPoll;
    if (polled && elapsed >= 0 && elapsed < pollIntervalMs)
        return;
    polled = true;
    lastPoll = now;

    juce::MemoryBlock content;
    const Stamp stamp = readFile (content);
    if (stamp == lastSeen)
        return;
    if (! stamp.exists)
    {
        saveAndRemember(); // a deleted file is written again, as load does
        return;
    }
    if (stamp.size == static_cast<juce::int64> (content.getSize()))
        apply (content);
    lastSeen = stamp;
}

GlobalSettingsFile::Stamp GlobalSettingsFile::readFile (juce::MemoryBlock& content) const
{
    content.reset();
    if (! file.existsAsFile())
        return {};

    // The time first: a write landing between the two reads then shows as a new time at the next poll.
    Stamp stamp;
    stamp.exists = true;
    stamp.modified = file.getLastModificationTime().toMilliseconds();
    if (! file.loadFileAsData (content))
    {
        content.reset();
        stamp.size = -1; // unreadable: looked at again only when its time changes
        return stamp;
    }
    stamp.size = static_cast<juce::int64> (content.getSize());
    stamp.digest = digestOf (content);
    return stamp;
}

void GlobalSettingsFile::loadAndRemember()
{
    juce::MemoryBlock content;
    const Stamp stamp = readFile (content);
    if (! stamp.exists)
    {
        saveAndRemember();
        return;
    }
    if (stamp.size >= 0)
        apply (content);
    lastSeen = stamp;
}

void GlobalSettingsFile::apply (const juce::MemoryBlock& content)
{
    const auto document = juce::parseXML (juce::String::createStringFromData (content.getData(), static_cast<int> (content.getSize())));
    if (document == nullptr || ! document->getTagName().equalsIgnoreCase (rootTag))
        return;

    for (int index = 0; index < settings.getCount(); ++index)
    {
        auto* setting = settings.getParameterAt (index);
        for (const auto* element : document->getChildIterator())
        {
            if (! element->getTagName().equalsIgnoreCase (setting->getId()))
                continue;
            float value = 0.0f;
            if (setting->parseNormalised (element->getAllSubText().trim(), value))
                setting->setNormalised (value);
            break;
        }
    }
}

bool GlobalSettingsFile::write (juce::MemoryBlock& written)
{
    if (fileName.isEmpty() || ! folder.createIfMissing())
        return false;

    juce::XmlElement document (rootTag);
    for (int index = 0; index < settings.getCount(); ++index)
    {
        const auto* setting = settings.getParameterAt (index);
        document.createNewChildElement (setting->getId())->addTextElement (setting->getText());
    }

    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 255;
    {
        juce::MemoryOutputStream stream (written, false);
        document.writeTo (stream, format);
    }

    // As XmlElement::writeTo (File): a temporary file that then replaces the target, so a reader
    // never sees a half-written file.
    juce::TemporaryFile temporary (file);
    {
        juce::FileOutputStream out (temporary.getFile());
        if (! out.openedOk() || ! out.write (written.getData(), written.getSize()))
            return false;
        out.flush();
        if (out.getStatus().failed())
            return false;
    }
    return temporary.overwriteTargetFileWithTemporary();
}
