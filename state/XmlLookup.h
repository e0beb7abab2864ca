#pragma once

#include <juce_core/juce_core.h>

namespace brevalon
{

// Reading of state documents that may come from damaged project files or other versions: tag
// and attribute names match without regard to case, and numbers are read without overflow.
namespace XmlLookup
{

// The first child with this tag name (any case), or null.
const juce::XmlElement* findChild (const juce::XmlElement& parent, juce::StringRef tagName) noexcept;
juce::XmlElement* findChild (juce::XmlElement& parent, juce::StringRef tagName) noexcept;

// The value of the attribute with this name (any case), or null.
const juce::String* findAttribute (const juce::XmlElement& element, juce::StringRef attributeName) noexcept;

// An integer attribute as a decimal number, saturated to the int range; `fallback` when missing
// or not a number.
int getInt (const juce::XmlElement& element, juce::StringRef attributeName, int fallback = 0) noexcept;

// A boolean attribute: true when its first non-blank character is 1, t, T, y or Y; `fallback`
// when missing.
bool getBool (const juce::XmlElement& element, juce::StringRef attributeName, bool fallback = false) noexcept;

// A floating-point attribute; `fallback` when missing or not a number (NaN and infinities
// included).
double getDouble (const juce::XmlElement& element, juce::StringRef attributeName, double fallback = 0.0) noexcept;

} // namespace XmlLookup

} // namespace brevalon
