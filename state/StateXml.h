#pragma once

#include "state/PresetRecord.h"

#include <juce_core/juce_core.h>

namespace brevalon
{

class ParamList;

// The names of the state's XML documents (the host chunk, the user-preset file, the embedded
// factory presets, the state code) and the encoding of parameter values they share. Tag and
// attribute names are matched without regard to case when read.
namespace StateXml
{

// The maker's name: the shared folder's name, the root of the files in it, the values element of
// an embedded factory preset, and the generic root a pasted code may carry.
constexpr const char* makerName = "Quillfen";

// Elements.
constexpr const char* documentTag = "Brevalon"; // root of the host chunk and of a state code
constexpr const char* logicalTag = "logical";   // the plain values beside the value texts
constexpr const char* presetsTag = "presets";   // the program list (chunk, factory presets) or the user presets (file)
constexpr const char* presetTag = "preset";     // one program or user preset
constexpr const char* stateATag = "A";          // comparison state A
constexpr const char* stateBTag = "B";          // comparison state B
constexpr const char* undoTag = "undo";         // the undo history
constexpr const char* undoItemTag = "ui";       // one undo entry, oldest first

// Attributes of "presets" and "preset".
constexpr const char* activeProgramAttribute = "active"; // preset number of the current program
constexpr const char* numberAttribute = "_No_";          // preset number: factory 1.., user slots 1000..
constexpr const char* nameAttribute = "_Name_";          // program name
constexpr const char* deletedAttribute = "_Deleted_";    // 1 once a user preset was deleted

// Attributes of "A" and "B".
constexpr const char* stateActiveAttribute = "_Active_"; // 1 on the active comparison state
constexpr const char* linkedAttribute = "_Linked_";      // 1 while A and B have not been separated

// Attributes of an undo entry "ui".
constexpr const char* undoKindAttribute = "op";       // the entry's kind (UndoEntry::Kind)
constexpr const char* undoIndexAttribute = "pi";      // parameter index, or program index of a program change
constexpr const char* undoValueAttribute = "nv";      // normalised parameter value
constexpr const char* undoNameAttribute = "pn";       // program name
constexpr const char* undoIsBAttribute = "is_b";      // B was active
constexpr const char* undoLinkedAttribute = "ab";     // A and B were linked when copied
constexpr const char* undoValuePrefix = "pv";         // "pv0".."pvN": normalised values of a record
constexpr const char* undoNewestAttribute = "active"; // 1 on the newest entry undo would apply

// A normalised value from a document: NaN falls back, everything else is clamped into 0..1.
float sanitised (float value, float fallback) noexcept;

// Writes the record's values onto `element`: one attribute per parameter with its value text
// and, with `withLogical`, a "logical" child (reused when present) with the plain values.
// Attributes that exist are overwritten in place.
void writeValues (const ParamList& parameters, juce::XmlElement& element, const PresetRecord& record, bool withLogical);

// Reads values from `element` into `record`: a value text the parameter understands wins,
// unless the plain value beside it shows the same text (then the plain value, unrounded, is
// taken); a missing or unreadable text falls back to the plain value; otherwise the record keeps
// its value. Sets the record's active flag.
void readValues (const ParamList& parameters, const juce::XmlElement& element, PresetRecord& record);

// A record holding every parameter's default value.
PresetRecord defaults (const ParamList& parameters);

} // namespace StateXml
} // namespace brevalon
