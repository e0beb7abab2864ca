#pragma once

#include <juce_core/juce_core.h>

namespace brevalon
{

// Number <-> text conversions with the C library's "%.*f", "%d" and "%lf" semantics, but always in
// the "C" locale: a host that switches the process to a locale with a decimal comma must not
// change what parameters show or accept.
namespace NumberText
{

// As "%.*f": fixed notation with the given number of decimals (negative counts as 0).
juce::String formatFixed (double value, int decimals);

// As "%d".
juce::String formatInteger (int value);

// As "%lf" reading from the start of the text: leading white space, an optional sign, then a
// decimal or hexadecimal number, "inf" or "infinity"; trailing text is ignored. NaN is never a
// usable parameter value, so a text reading as NaN counts as no number. False when no number
// can be read; value is then left alone.
bool readNumber (const juce::String& text, double& value);

// int(floor(x + 0.5)), saturated to the int range; NaN gives 0.
int roundHalfUp (double x) noexcept;

} // namespace NumberText

} // namespace brevalon
