#include "state/XmlLookup.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace brevalon
{

namespace XmlLookup
{

const juce::XmlElement* findChild (const juce::XmlElement& parent, juce::StringRef tagName) noexcept
{
    for (auto* child = parent.getFirstChildElement(); child != nullptr; child = child->getNextElement())
        if (child->getTagName().equalsIgnoreCase (tagName))
            return child;
    return nullptr;
}

juce::XmlElement* findChild (juce::XmlElement& parent, juce::StringRef tagName) noexcept
{
    return const_cast<juce::XmlElement*> (findChild (static_cast<const juce::XmlElement&> (parent), tagName));
}

const juce::String* findAttribute (const juce::XmlElement& element, juce::StringRef attributeName) noexcept
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (element.getAttributeName (i).equalsIgnoreCase (attributeName))
            return &element.getAttributeValue (i);
    return nullptr;
}

int getInt (const juce::XmlElement& element, juce::StringRef attributeName, int fallback) noexcept
{
    const auto* text = findAttribute (element, attributeName);
    if (text == nullptr)
        return fallback;
    const auto utf8 = text->toStdString();
    char* end = nullptr;
    const long long value = std::strtoll (utf8.c_str(), &end, 10);
    if (end == utf8.c_str())
        return fallback;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int> (value);
}

bool getBool (const juce::XmlElement& element, juce::StringRef attributeName, bool fallback) noexcept
{
    const auto* text = findAttribute (element, attributeName);
    if (text == nullptr)
        return fallback;
    const auto first = *text->getCharPointer().findEndOfWhitespace();
    return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
}

double getDouble (const juce::XmlElement& element, juce::StringRef attributeName, double fallback) noexcept
{
    const auto* text = findAttribute (element, attributeName);
    if (text == nullptr)
        return fallback;
    // JUCE's reader is independent of the process locale (a host may set one with a decimal comma).
    auto position = text->getCharPointer().findEndOfWhitespace();
    const auto start = position;
    const double value = juce::CharacterFunctions::readDoubleValue (position);
    return (position != start && std::isfinite (value)) ? value : fallback;
}

} // namespace XmlLookup

} // namespace brevalon
