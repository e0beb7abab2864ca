#include "state/XmlGuard.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace brevalon::XmlGuard
{
namespace
{
// The characters of JUCE's XML identifiers, so a name ends where the parser ends it.
bool isNameChar (juce::juce_wchar c) noexcept
{
    if (c < 128)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == ':' || c == '.';
    return c >= 160 && juce::CharacterFunctions::isLetterOrDigit (c);
}

bool isSpace (juce::juce_wchar c) noexcept
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class Scanner
{
public:
    explicit Scanner (const juce::String& text)
        : position (text.getCharPointer())
    {
    }

    Verdict run()
    {
        if (! skipProlog() || *position != '<')
            return Verdict::malformed;

        for (;;)
        {
            if (*position == '<')
            {
                const auto verdict = readMarkup();
                if (verdict != Verdict::accepted)
                    return verdict;
                if (depth == 0)
                    return Verdict::accepted; // the root element is complete; JUCE reads no further
            }
            else if (*position == '&')
            {
                if (! readEntity())
                    return Verdict::malformed;
            }
            else if (*position == 0)
            {
                return Verdict::malformed; // unterminated
            }
            else
            {
                ++position;
            }
        }
    }

private:
    bool startsWith (const char* ascii) const noexcept
    {
        auto p = position;
        for (; *ascii != 0; ++ascii, ++p)
            if (*p != static_cast<juce::juce_wchar> (*ascii))
                return false;
        return true;
    }

    // Moves past the opening (which the position is at), then past the next occurrence of the
    // terminator; false when there is none. The terminator is searched for only after the whole
    // opening, as JUCE's parser does: "<?>" does not close itself, nor does "<!-->".
    bool skipBlock (const char* opening, const char* terminator) noexcept
    {
        position += static_cast<int> (std::strlen (opening));
        return skipPast (terminator);
    }

    // Moves past the next occurrence of the terminator; false when there is none.
    bool skipPast (const char* terminator) noexcept
    {
        for (; *position != 0; ++position)
            if (startsWith (terminator))
            {
                position += static_cast<int> (std::strlen (terminator));
                return true;
            }
        return false;
    }

    void skipSpaces() noexcept
    {
        while (isSpace (*position))
            ++position;
    }

    // Blanks, comments and processing instructions (the XML declaration among them).
    bool skipProlog() noexcept
    {
        for (;;)
        {
            skipSpaces();
            if (startsWith ("<?"))
            {
                if (! skipBlock ("<?", "?>"))
                    return false;
            }
            else if (startsWith ("<!--"))
            {
                if (! skipBlock ("<!--", "-->"))
                    return false;
            }
            else
            {
                return true;
            }
        }
    }

    juce::String readName()
    {
        const auto start = position;
        while (isNameChar (*position))
            ++position;
        return juce::String (start, position);
    }

    // "&name;", "&#digits;" or "&#xhex;", with no more digits than JUCE reads without error.
    bool readEntity() noexcept
    {
        ++position;
        int count = 0;
        if (*position == '#')
        {
            ++position;
            const bool hex = *position == 'x' || *position == 'X';
            if (hex)
                ++position;
            for (; hex ? juce::CharacterFunctions::getHexDigitValue (*position) >= 0 : (*position >= '0' && *position <= '9'); ++position)
                ++count;
            if (count == 0 || count > (hex ? 8 : 12))
                return false;
        }
        else
        {
            for (; isNameChar (*position); ++position)
                ++count;
            if (count == 0)
                return false;
        }
        if (*position != ';')
            return false;
        ++position;
        return true;
    }

    bool readQuotedValue() noexcept
    {
        const auto quote = *position;
        ++position;
        for (;;)
        {
            const auto c = *position;
            if (c == quote)
            {
                ++position;
                return true;
            }
            if (c == 0 || c == '<')
                return false;
            if (c == '&')
            {
                if (! readEntity())
                    return false;
            }
            else
            {
                ++position;
            }
        }
    }

    // At a "<" inside or before the root element.
    Verdict readMarkup()
    {
        if (startsWith ("<!--"))
            return skipBlock ("<!--", "-->") ? Verdict::accepted : Verdict::malformed;
        if (startsWith ("<![CDATA["))
            return skipBlock ("<![CDATA[", "]]>") ? Verdict::accepted : Verdict::malformed;
        // Inside an element JUCE's parser skips a processing instruction, then rolls back to it
        // to read the text after it, and so loops forever; the product writes them only before
        // the root.
        if (startsWith ("<?"))
            return depth == 0 && skipBlock ("<?", "?>") ? Verdict::accepted : Verdict::malformed;
        if (startsWith ("<!"))
            return Verdict::malformed; // DTDs and declarations: the product never writes them
        if (startsWith ("</"))
            return readEndTag();
        return readStartTag();
    }

    Verdict readStartTag()
    {
        ++position;
        const auto name = readName();
        if (name.isEmpty())
            return Verdict::malformed;
        if (depth == maxDepth)
            return Verdict::tooDeep;

        for (;;)
        {
            skipSpaces();
            if (startsWith ("/>"))
            {
                position += 2;
                return Verdict::accepted;
            }
            if (*position == '>')
            {
                ++position;
                openNames[static_cast<size_t> (depth++)] = name;
                return Verdict::accepted;
            }
            if (readName().isEmpty())
                return Verdict::malformed;
            skipSpaces();
            if (*position != '=')
                return Verdict::malformed;
            ++position;
            skipSpaces();
            if ((*position != '"' && *position != '\'') || ! readQuotedValue())
                return Verdict::malformed;
        }
    }

    Verdict readEndTag()
    {
        position += 2;
        if (depth == 0 || readName() != openNames[static_cast<size_t> (depth - 1)])
            return Verdict::malformed;
        skipSpaces();
        if (*position != '>')
            return Verdict::malformed;
        ++position;
        --depth;
        return Verdict::accepted;
    }

    juce::String::CharPointerType position;
    int depth = 0;
    std::array<juce::String, maxDepth> openNames;
};
} // namespace

bool isValidText (const juce::String& text)
{
    // Byte by byte: JUCE's own check (CharPointer_UTF8::isValidString) lets overlong sequences
    // through, and copying a string re-encodes its characters to size the copy but then copies
    // the original bytes, so a character written in more bytes than it needs overflows the copy.
    for (auto* p = reinterpret_cast<const unsigned char*> (text.toRawUTF8()); *p != 0;)
    {
        const unsigned char lead = *p++;
        if (lead < 0x80)
            continue;

        // The number of continuation bytes, and the smallest code point needing that many.
        int extra = 0;
        uint32_t smallest = 0;
        if ((lead & 0xe0) == 0xc0)
        {
            extra = 1;
            smallest = 0x80;
        }
        else if ((lead & 0xf0) == 0xe0)
        {
            extra = 2;
            smallest = 0x800;
        }
        else if ((lead & 0xf8) == 0xf0)
        {
            extra = 3;
            smallest = 0x10000;
        }
        else
        {
            return false; // a continuation byte, or a lead byte UTF-8 does not have
        }

        uint32_t c = lead & (0x3fu >> extra);
        for (int i = 0; i < extra; ++i, ++p)
        {
            if ((*p & 0xc0) != 0x80)
                return false; // cut short, by the terminator too
            c = (c << 6) | (*p & 0x3fu);
        }
        if (c < smallest || c > 0x10ffff || (c >= 0xd800 && c <= 0xdfff))
            return false; // overlong, beyond Unicode, or a surrogate
    }
    return true;
}

Verdict check (const juce::String& text)
{
    if (std::strlen (text.toRawUTF8()) > maxDocumentBytes)
        return Verdict::tooLarge;
    if (! isValidText (text))
        return Verdict::malformed;
    return Scanner (text).run();
}

std::unique_ptr<juce::XmlElement> parse (const juce::String& text)
{
    if (check (text) != Verdict::accepted)
        return {};
    return juce::parseXML (text);
}

std::unique_ptr<juce::XmlElement> parseFile (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() > static_cast<juce::int64> (maxDocumentBytes))
        return {};

    // Read through a bounded stream: a file may grow after its size was taken, or be a device.
    juce::FileInputStream stream (file);
    if (! stream.openedOk())
        return {};
    juce::MemoryBlock content;
    if (stream.readIntoMemoryBlock (content, static_cast<ssize_t> (maxDocumentBytes) + 1) > maxDocumentBytes)
        return {};
    return parse (juce::String::createStringFromData (content.getData(), static_cast<int> (content.getSize())));
}

} // namespace brevalon::XmlGuard
