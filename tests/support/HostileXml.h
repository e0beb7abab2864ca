#pragma once

#include "state/XmlGuard.h"

#include <juce_core/juce_core.h>

#include <vector>

// Documents that damaged or hostile files, chunks and pasted codes may hold, built around an
// opening root tag that each entry point accepts, with what the XML guard says of them.
namespace brevalon::test
{
struct HostileDocument
{
    const char* name;
    int depth;       // nesting levels, the root included
    bool terminated; // every element closed
    bool oversized;  // padded with a comment to just over the size limit
    XmlGuard::Verdict verdict;
};

inline const std::vector<HostileDocument>& hostileDocuments()
{
    using V = XmlGuard::Verdict;
    static const std::vector<HostileDocument> documents{
        { "100000 levels", 100000, true, false, V::tooDeep },
        { "100000 levels, unterminated", 100000, false, false, V::tooDeep },
        { "one level over the limit", XmlGuard::maxDepth + 1, true, false, V::tooDeep },
        { "at the limit", XmlGuard::maxDepth, true, false, V::accepted },
        { "unterminated, under the limit", 10, false, false, V::malformed },
        { "over the size limit", 3, true, true, V::tooLarge },
    };
    return documents;
}

// `openRoot` is the root's start tag without its ">" (for example "<Brevalon freqParam=\"22000.0\""),
// `rootContent` what the root holds before the nested elements.
inline juce::String makeDocument (const HostileDocument& document, const juce::String& openRoot, const juce::String& rootContent = {})
{
    const auto rootName = openRoot.fromFirstOccurrenceOf ("<", false, false).upToFirstOccurrenceOf (" ", false, false);
    const int nested = document.depth - 1;
    juce::MemoryOutputStream text;
    text << openRoot << ">" << rootContent;
    for (int i = 0; i < nested; ++i)
        text << "<a>";
    if (document.terminated)
    {
        for (int i = 0; i < nested; ++i)
            text << "</a>";
        text << "</" << rootName << ">";
    }
    if (document.oversized)
        text << "<!--" << juce::String::repeatedString ("x", static_cast<int> (XmlGuard::maxDocumentBytes)) << "-->";
    return text.toString();
}
} // namespace brevalon::test
