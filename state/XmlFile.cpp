#include "state/XmlFile.h"

#include "state/XmlGuard.h"

namespace brevalon::XmlFile
{

Content read (const juce::File& file, std::unique_ptr<juce::XmlElement>& document)
{
    document.reset();
    if (! file.existsAsFile())
        return Content::missing;
    document = XmlGuard::parseFile (file);
    return document != nullptr ? Content::parsed : Content::unreadable;
}

juce::MemoryBlock serialise (const juce::XmlElement& document)
{
    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    format.lineWrapLength = 255;
    juce::MemoryBlock bytes;
    {
        juce::MemoryOutputStream stream (bytes, false);
        document.writeTo (stream, format);
    }
    return bytes;
}

juce::File resolveLinks (const juce::File& file)
{
    // Bounded, as the system bounds it: a loop of links resolves to where the count runs out.
    constexpr int maxLinks = 40;
    auto target = file;
    for (int i = 0; i < maxLinks && target.isSymbolicLink(); ++i)
        target = target.getLinkedTarget();
    return target;
}

bool write (const juce::File& file, const juce::MemoryBlock& bytes)
{
    const auto target = resolveLinks (file);
    juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out (temporary.getFile());
        if (! out.openedOk() || ! out.write (bytes.getData(), bytes.getSize()))
            return false;
        out.flush();
        if (out.getStatus().failed())
            return false;
    }
    return temporary.overwriteTargetFileWithTemporary();
}

} // namespace brevalon::XmlFile
