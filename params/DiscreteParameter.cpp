#include "params/DiscreteParameter.h"

#include "params/NumberText.h"

namespace brevalon
{

DiscreteParameter::DiscreteParameter (const juce::String& id_, int minimum_, int maximum_, int defaultValue_,
                                      const juce::String& textSpecification)
    : Parameter (id_, {}, {}, minimum_, maximum_, defaultValue_, 0, textSpecification)
{
}

juce::String DiscreteParameter::textForPlain (double x) const
{
    if (texts.isEmpty())
    {
        if (x <= minimum && minimumText.isNotEmpty())
            return minimumText;
        if (x >= maximum && maximumText.isNotEmpty())
            return maximumText;
        return NumberText::formatInteger (NumberText::roundHalfUp (x));
    }
    return texts[NumberText::roundHalfUp (x - minimum)]; // empty outside the list
}

bool DiscreteParameter::parsePlain (const juce::String& text, double& value) const
{
    double candidate = getRawValue();
    bool understood = NumberText::readNumber (text, candidate);
    if (! understood)
    {
        if (matchesText (text, minimumText))
        {
            candidate = minimum;
            understood = true;
        }
        else if (matchesText (text, maximumText))
        {
            candidate = maximum;
            understood = true;
        }
    }

    for (int i = 0; i < texts.size(); ++i)
        if (matchesText (text, texts[i]))
        {
            candidate = minimum + i;
            understood = true;
        }

    value = understood ? clampToRange (candidate) : candidate;
    return understood;
}

} // namespace brevalon
