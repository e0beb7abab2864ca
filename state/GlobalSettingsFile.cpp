#include "state/GlobalSettingsFile.h"

#include "params/ParamList.h"
#include "state/StateXml.h"
#include "state/XmlFile.h"
#include "state/XmlGuard.h"
#include "state/XmlLookup.h"

namespace brevalon
{

namespace
{
constexpr const char* rootTag = StateXml::makerName;

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
    if (file.getSize() > static_cast<juce::int64> (brevalon::XmlGuard::maxDocumentBytes) || ! file.loadFileAsData (content))
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
    const auto document =
        brevalon::XmlGuard::parse (juce::String::createStringFromData (content.getData(), static_cast<int> (content.getSize())));
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

    // The file is shared with the maker's other products and versions: the known settings are
    // updated in place and every other element is kept. A file that does not parse is replaced.
    std::unique_ptr<juce::XmlElement> document;
    if (brevalon::XmlFile::read (file, document) != brevalon::XmlFile::Content::parsed ||
        ! document->getTagName().equalsIgnoreCase (rootTag))
        document = std::make_unique<juce::XmlElement> (rootTag);

    for (int index = 0; index < settings.getCount(); ++index)
    {
        const auto* setting = settings.getParameterAt (index);
        auto* element = XmlLookup::findChild (*document, setting->getId());
        if (element == nullptr)
            element = document->createNewChildElement (setting->getId());
        element->deleteAllChildElements();
        element->addTextElement (setting->getText());
    }

    written = brevalon::XmlFile::serialise (*document);
    return brevalon::XmlFile::write (file, written);
}

} // namespace brevalon
