#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <memory>

namespace brevalon
{

// The one way XML from outside the process reaches JUCE's parser: host chunks, the files of the
// shared folder, pasted state codes and the embedded documents.
//
// JUCE's parser recurses once per nesting level, so a document nested a hundred thousand levels
// deep overflows the stack of whichever thread reads it. The guard first reads the text with a
// flat scanner that accepts only well-formed documents of the kind the product writes (elements,
// quoted attributes, text, character entities, comments, processing instructions before the root, CDATA; no
// DTD), whose nesting and size stay under the limits below. On such a document JUCE's parser
// follows exactly the structure the scanner saw, so its recursion is bounded by maxDepth.
namespace XmlGuard
{

// The deepest document the product writes nests 4 levels (a chunk's undo entry); 64 leaves room
// for other versions and products while keeping the parser's recursion to a few kilobytes of
// stack on any host thread.
constexpr int maxDepth = 64;

// The largest document the product writes, a chunk with a full undo history, is a few tens of
// KiB; 4 MiB keeps every legitimate document and bounds the time and memory spent on a hostile one.
constexpr size_t maxDocumentBytes = 4 * 1024 * 1024;

enum class Verdict
{
    accepted,
    tooLarge,
    tooDeep,
    malformed
};

// Scans without recursion; never reads past the end of the text. A text that is not valid UTF-8
// is malformed.
Verdict check (const juce::String& text);

// True when the text's bytes are valid UTF-8: no overlong sequence, surrogate or code point
// beyond Unicode. JUCE's strings keep the bytes they are made from unchecked, and reading their
// characters trusts every lead byte: an invalid one (0xFF, or a sequence cut short at the end)
// steps over the terminator and reads past the text, and copying a string with an overlong
// sequence writes past the copy. Text from outside must pass this before any character of it is
// read.
bool isValidText (const juce::String& text);

// The parsed document when check accepts the text; null otherwise.
std::unique_ptr<juce::XmlElement> parse (const juce::String& text);

// Reads at most maxDocumentBytes of a file and parses it as above; null when the file is
// missing, larger, unreadable or rejected.
std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file);

} // namespace XmlGuard
} // namespace brevalon
