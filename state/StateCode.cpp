#include "state/StateCode.h"

#include "state/Clipboard.h"
#include "state/StateEngine.h"
#include "state/XmlGuard.h"

namespace brevalon
{

namespace StateCode
{
namespace
{
// From the first "<" + tag (any case) to the end of the text; empty when there is none.
juce::String fromTag (const juce::String& text, const juce::String& tag)
{
    const int start = text.indexOfIgnoreCase ("<" + tag);
    return start >= 0 ? text.substring (start) : juce::String();
}

bool isAcceptedTag (const juce::String& tag)
{
    if (tag.equalsIgnoreCase (productTag))
        return true;
    for (const char* edition : editionTags)
        if (tag.equalsIgnoreCase (edition))
            return true;
    return false;
}
} // namespace

juce::String make (StateEngine& engine)
{
    juce::XmlElement code (productTag);
    {
        const juce::ScopedLock sl (engine.getLock());
        engine.writeParameterValues (code, false);
    }
    return code.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
}

bool apply (StateEngine& engine, const juce::String& text)
{
    // Clipboard text arrives as the other program wrote it; searching text that is not UTF-8
    // would read past its end.
    if (! brevalon::XmlGuard::isValidText (text))
        return false;

    auto code = fromTag (text, productTag);
    if (code.isEmpty())
        code = fromTag (text, genericTag).replace (genericTag, productTag);

    const int end = code.lastIndexOfIgnoreCase ("/>");
    if (end < 0)
        return false;
    code = code.substring (0, end + 2);

    const auto root = brevalon::XmlGuard::parse (code);
    if (root == nullptr || ! isAcceptedTag (root->getTagName()))
        return false;
    engine.loadParameterValuesWithUndo (*root);
    return true;
}

void copy (StateEngine& engine, Clipboard& clipboard)
{
    clipboard.copyText (make (engine));
}

bool paste (StateEngine& engine, Clipboard& clipboard)
{
    return apply (engine, clipboard.getText());
}

} // namespace StateCode

} // namespace brevalon
