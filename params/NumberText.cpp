#include "params/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace brevalon
{

namespace NumberText
{

namespace
{
bool isCSpace (char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isHexDigit (char c) noexcept
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
} // namespace

juce::String formatFixed (double value, int decimals)
{
    const int precision = std::max (0, decimals);
    // Fixed notation of the largest double has 309 digits before the point.
    std::vector<char> buffer (static_cast<size_t> (330 + precision));
    const auto result = std::to_chars (buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return {};
    return juce::String (buffer.data(), static_cast<size_t> (result.ptr - buffer.data()));
}

juce::String formatInteger (int value)
{
    char buffer[16];
    const auto result = std::to_chars (buffer, buffer + sizeof (buffer), value);
    return juce::String (buffer, static_cast<size_t> (result.ptr - buffer));
}

bool readNumber (const juce::String& text, double& value)
{
    const std::string utf8 = text.toStdString();
    const char* p = utf8.c_str();
    const char* const end = p + utf8.size();

    while (p < end && isCSpace (*p))
        ++p;

    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';

    double magnitude = 0.0;
    if (end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && (isHexDigit (p[2]) || p[2] == '.'))
    {
        // "%lf" reads a hexadecimal float after "0x"; when nothing follows that parses, the "0" alone counts.
        if (std::from_chars (p + 2, end, magnitude, std::chars_format::hex).ec != std::errc())
            magnitude = 0.0;
    }
    else
    {
        // from_chars takes no sign of its own here: a second sign ("+-5") is not a number.
        if (p == end || *p == '+' || *p == '-')
            return false;
        if (std::from_chars (p, end, magnitude, std::chars_format::general).ec != std::errc())
            return false;
    }

    if (std::isnan (magnitude))
        return false;
    value = negative ? -magnitude : magnitude;
    return true;
}

int roundHalfUp (double x) noexcept
{
    if (std::isnan (x))
        return 0;
    const double rounded = std::floor (x + 0.5);
    if (rounded >= static_cast<double> (std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double> (std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int> (rounded);
}

} // namespace NumberText

} // namespace brevalon
