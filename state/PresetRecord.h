#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace brevalon
{

class ParamList;

// The contents of one program or comparison state: a name and one normalised value per
// parameter, with a dirty flag (set by every change) and an active flag (a user-preset slot
// holds a preset; set whenever values are read from a document).
class PresetRecord
{
public:
    explicit PresetRecord (int valueCount = 0);

    const juce::String& getName() const noexcept { return name; }
    // Replaces the name; false (and nothing changes) when it is equal, case-sensitively.
    bool setName (const juce::String& newName);

    int getValueCount() const noexcept { return static_cast<int> (values.size()); }
    // The value at an index, 0 beyond the record.
    float getValue (int index) const noexcept;
    // Sets one value, marking the record dirty when it changes (NaN counts as a change).
    void setValue (int index, float value) noexcept;
    const std::vector<float>& getValues() const noexcept { return values; }

    // Stores every parameter's normalised value.
    void storeCurrentValues (const ParamList& parameters);
    // Sets every parameter from the record, except those kept out of presets.
    void applyTo (ParamList& parameters) const;

    bool dirty = false;
    bool active = false;

private:
    juce::String name;
    std::vector<float> values;
};

} // namespace brevalon
