#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace brevalon
{

// One typed value of the plug-in or one global setting.
//
// The normalised value (0..1, a 32-bit float) is the authoritative form: hosts, presets and the
// state engine set it. The plain value (in the unit, minimum..maximum) is derived from it by the
// kind's mapping each time it is asked for, so a reader on another thread can never see a plain
// value that belongs to a different normalised value. Processing reads `getValue`, the plain value
// rounded to the parameter's decimals.
//
// Every change of the value sets all 16 change flags; each consumer tests and clears its own bit
// (audioFlag for the audio side, editorFlag for the editor), so each learns of a change once.
//
// Value and change flags may be used from any thread. The range, decimals and texts are set up
// on the thread that builds the parameter, before other threads use it.
class Parameter
{
public:
    enum Option : std::uint32_t
    {
        noRounding = 0x01,
        notAutomatable = 0x04,
        rateDependent = 0x08,
        notRecordedInUndo = 0x10,
        inverted = 0x20,
        plainStep = 0x80,
        notInPresets = 0x100
    };

    enum ChangeFlag : std::uint32_t
    {
        audioFlag = 0x0001,
        editorFlag = 0x0002,
        allFlags = 0xffff
    };

    // An empty name means "none" (the id serves as name). The text specification is split at "|"
    // (double quotes protect a token): one token is the text at the minimum; two are the texts at
    // the minimum and maximum; three the texts at the minimum, the middle and the maximum. The
    // default is clamped to the range. A new parameter has no change flag set.
    Parameter (const juce::String& id, const juce::String& name, const juce::String& unit, double minimum, double maximum,
               double defaultValue, int decimals, const juce::String& textSpecification = {}, std::uint32_t options = 0);
    virtual ~Parameter();

    virtual const juce::String& getId() const noexcept { return id; }
    virtual const juce::String& getName() const noexcept { return name; }
    virtual const juce::String& getUnit() const noexcept { return unit; }
    virtual std::uint32_t getOptions() const noexcept { return options; }

    virtual float getNormalised() const noexcept { return normalisedValue.load(); }
    // Stores x clamped to 0..1 (NaN counts as 0) and marks the parameter changed.
    virtual void setNormalised (float x) noexcept;
    // A convenient normalised step for editor controls (the slider's wheel step).
    virtual float getNormalisedStep() const noexcept;
    // Changes the range and decimals, keeping the normalised position; marks the parameter changed.
    virtual void setRangeKeepingPosition (double newMinimum, double newMaximum, int newDecimals);

    virtual double roundToDecimals (double x, int numDecimals) const noexcept;
    virtual double roundValue (double x) const noexcept { return roundToDecimals (x, decimals); }
    virtual int getNumSteps() const noexcept { return 0; }
    // Stores the bounds only: the middle (and its text) stays where it was fixed at creation.
    virtual void setRange (double newMinimum, double newMaximum);

    virtual double getValue() const noexcept { return roundValue (getRawValue()); }
    virtual int getIntValue() const noexcept;
    virtual bool getBoolValue() const noexcept { return getRawValue() >= 0.5; }
    virtual double getRawValue() const noexcept { return normalisedToPlain (getNormalised()); }
    virtual bool isAtMinimum() const noexcept { return minimum >= getRawValue(); }
    virtual bool isAtMaximum() const noexcept { return getRawValue() >= maximum; }
    virtual double getMinimum() const noexcept { return minimum; }
    virtual double getMaximum() const noexcept { return maximum; }
    virtual double getDefault() const noexcept { return defaultValue; }
    virtual int getMinimumInt() const noexcept;
    virtual int getMaximumInt() const noexcept;
    virtual int getDefaultInt() const noexcept;
    virtual juce::String getText() const { return textForPlain (getRawValue()); }
    virtual juce::String getTextWithUnit() const { return textWithUnitForPlain (getRawValue()); }

    virtual double normalisedToPlain (float x) const noexcept;
    virtual float plainToNormalised (double v) const noexcept;
    virtual juce::String textForNormalised (float x) const { return textForPlain (normalisedToPlain (x)); }
    virtual juce::String textWithUnitForNormalised (float x) const { return textWithUnitForPlain (normalisedToPlain (x)); }
    virtual juce::String textForPlain (double x) const;
    virtual juce::String textWithUnitForPlain (double x) const;
    // Reads a plain value from a text (a number, clamped to the range, or one of the special texts
    // in any case). On failure value is the current plain value and the result is false.
    virtual bool parsePlain (const juce::String& text, double& value) const;
    virtual bool parseNormalised (const juce::String& text, float& value) const;

    virtual bool hasChangeFlags (std::uint32_t mask) const noexcept { return (changeFlags.load() & mask) != 0; }
    // Clears the bits of mask in one atomic step; true when any of them was set.
    virtual bool testAndClearChangeFlags (std::uint32_t mask) noexcept { return (changeFlags.fetch_and (~mask) & mask) != 0; }
    virtual void markChanged() noexcept { changeFlags.fetch_or (allFlags); }

    // The normalised value nearest to x among 0, the snap points and 1 (earlier candidates win ties).
    float nearestSnapPoint (float x) const noexcept;
    void setSnapPoints (std::vector<double> plainValues) { snapPoints = std::move (plainValues); }
    const std::vector<double>& getSnapPoints() const noexcept { return snapPoints; }

    int getDecimals() const noexcept { return decimals; }
    const juce::StringArray& getTexts() const noexcept { return texts; }
    const juce::String& getMinimumText() const noexcept { return minimumText; }
    const juce::String& getMaximumText() const noexcept { return maximumText; }
    const juce::String& getMiddleText() const noexcept { return middleText; }
    double getMiddle() const noexcept { return middle; }

protected:
    // Sets the normalised value from the default through the kind's own mapping, without marking
    // a change. Kinds whose mapping differs from the base call it at the end of their constructor.
    void resetToDefaultWithoutMarking() noexcept;

    // minimum..maximum; NaN counts as the minimum.
    double clampToRange (double v) const noexcept;

    // True when text equals the non-empty special text, ignoring case.
    static bool matchesText (const juce::String& text, const juce::String& special);
    // The minimum, maximum (and optionally middle) text, compared without regard to case; on no
    // match the current plain value and false.
    bool parseSpecialText (const juce::String& text, bool withMiddle, double& value) const;

    juce::String id;
    juce::String name;
    juce::String unit;
    double minimum;
    double maximum;
    double middle;
    double defaultValue;
    int decimals;
    juce::StringArray texts;
    juce::String minimumText;
    juce::String maximumText;
    juce::String middleText;
    std::uint32_t options;
    std::atomic<float> normalisedValue{ 0.0f };
    std::atomic<std::uint32_t> changeFlags{ 0 };
    std::vector<double> snapPoints;

private:
    JUCE_DECLARE_NON_COPYABLE (Parameter)
};

} // namespace brevalon
