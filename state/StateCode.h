#pragma once

#include "state/StateXml.h"

#include <juce_core/juce_core.h>

namespace brevalon
{

class Clipboard;
class StateEngine;

// The current sound as one line of XML text: the parameter values as attributes of a single
// "Brevalon" element. It travels by clipboard, e-mail or forum post; pasting cuts the code out
// of any surrounding text.
namespace StateCode
{

// Root tags a pasted code may carry besides the product's own: the framework's generic tag
// (rewritten to the product's) and the tags of the product's two other editions, "BrevalonLite"
// (the reduced edition) and "BrevalonStudio" (the extended one), which share the parameters.
constexpr const char* productTag = StateXml::documentTag;
constexpr const char* genericTag = StateXml::makerName;
constexpr const char* editionTags[] = { "BrevalonLite", "BrevalonStudio" };

juce::String make (StateEngine& engine);

// Applies the code found in `text` as one undoable step. False, with nothing changed, when the
// text is not valid UTF-8 or holds no code that parses with an accepted root tag.
bool apply (StateEngine& engine, const juce::String& text);

void copy (StateEngine& engine, Clipboard& clipboard);
bool paste (StateEngine& engine, Clipboard& clipboard);

} // namespace StateCode

} // namespace brevalon
