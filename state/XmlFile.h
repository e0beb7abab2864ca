#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace brevalon
{

// Reading and writing the XML files of the shared folder, which other instances, other products
// of the maker and the user (by hand or through links into a dotfiles folder) share.
namespace XmlFile
{

enum class Content
{
    missing,
    unreadable, // exists, but does not parse or is rejected by the XML guard
    parsed
};

// Reads and parses the file through the XML guard; `document` is set only for parsed content.
Content read (const juce::File& file, std::unique_ptr<juce::XmlElement>& document);

// The document as the shared files hold it: UTF-8 declaration, no DTD, lines wrapped at 255.
juce::MemoryBlock serialise (const juce::XmlElement& document);

// The file a chain of symbolic links ends at (the file itself when it is no link).
juce::File resolveLinks (const juce::File& file);

// Replaces the file's content with `bytes`: written into a temporary file beside the link
// target and renamed over it only when complete, so a reader never sees a half-written file and
// a symbolic link stays a link. False when nothing could be written.
bool write (const juce::File& file, const juce::MemoryBlock& bytes);

} // namespace XmlFile
} // namespace brevalon
