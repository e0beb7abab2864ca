#pragma once

#include "state/PresetRecord.h"
#include "state/SharedFolder.h"
#include "state/UndoHistory.h"
#include "state/UserPresetFile.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace brevalon
{

class ParamManager;

// The per-instance state: parameters, programs, comparison states (A/B) and the undo history,
// with one recursive lock around every operation. Writes and reads the whole state as XML (the
// host chunk), and keeps the flags the editor polls.
class StateEngine
{
public:
    static constexpr const char* documentTag = "Brevalon";
    static constexpr const char* presetValuesTag = "Quillfen"; // values of an embedded factory preset

    // Reads the user presets from the file of that name in the shared folder.
    StateEngine (std::unique_ptr<ParamManager> model, const juce::String& userPresetFileName, SharedFolder sharedFolder = {});
    ~StateEngine();

    juce::CriticalSection& getLock() noexcept { return lock; }
    ParamManager& getModel() noexcept { return *model; }
    const ParamManager& getModel() const noexcept { return *model; }
    const juce::String& getUserPresetFileName() const noexcept { return userPresetFileName; }
    const UserPresetFile& getUserPresetFile() const noexcept { return userPresetFile; }

    // Replaces the millisecond counter used to time undo entries (tests).
    void setMillisecondClock (std::function<uint32_t()> clock);

    //==============================================================================
    // Flags for the editor. The take operations read and clear in one atomic step.
    bool isStatesEqual() const noexcept { return statesEqual.load(); }
    bool isProgramModified() const noexcept { return programModified.load(); }
    bool takeHistoryChanged() noexcept { return historyChanged.exchange (false); }
    bool takePresetsChanged() noexcept;
    bool takeProgramChanged() noexcept;

    //==============================================================================
    // The state document.
    std::unique_ptr<juce::XmlElement> createStateDocument();
    // Restores from a document: a root named "Brevalon" (any case) is read; anything else
    // (including null) resets to the stored programs.
    void restoreFromDocument (const juce::XmlElement* root);

    void writeState (juce::XmlElement& root);
    void readState (const juce::XmlElement& root);
    void resetToStoredPrograms();
    void sync();

    // Parameter-value encoding: one attribute per parameter with its value text and, optionally,
    // a "logical" child with the plain values.
    void writeParameterValues (juce::XmlElement& element, bool withLogical) const;
    void writeRecordValues (juce::XmlElement& element, const PresetRecord& record, bool withLogical) const;
    void readParameterValues (const juce::XmlElement& element, PresetRecord& record) const;
    // Reads a pasted or loaded set of values (missing ones take the defaults) as one undo step.
    void loadParameterValuesWithUndo (const juce::XmlElement& element);

    //==============================================================================
    // Parameter writes.
    void setValueFromHost (int parameterIndex, float normalised); // no lock, no undo
    void setValueWithUndo (int parameterIndex, float normalised);
    void beginGesture (int parameterIndex);
    void endGesture (int parameterIndex);

    //==============================================================================
    // Undo and redo.
    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    juce::String getUndoDescription() const;
    juce::String getRedoDescription() const;
    juce::String describe (const UndoEntry& entry) const;
    // Purges program p from the history after its user preset was deleted; returns the program
    // to switch to.
    int forgetProgram (int program);
    void writeHistory (juce::XmlElement& root) const;
    void appendHistory (const juce::XmlElement& root);
    const UndoHistory& getHistory() const noexcept { return history; }

    //==============================================================================
    // Programs.
    void selectProgram (int index);
    bool previousProgram();
    bool nextProgram();
    int previousAvailable() const;
    int nextAvailable() const;
    bool isAvailable (int index) const;
    void renameProgram (int index, const juce::String& newName);
    juce::String getCurrentProgramName() const;
    juce::String getProgramNameForDisplay (int index) const;
    bool programNameExists (const juce::String& name) const;
    void resetCurrentProgram();
    int getCurrentProgram() const noexcept;

    //==============================================================================
    // Global user presets, kept in the user slots and in the shared user-preset file.
    bool isUserSlot (int program) const noexcept;
    // The lowest user slot that the file does not use, or -1 when all are used. The file
    // decides, so presets saved by other instances count.
    int firstFreeSlot() const;
    // Saves the current values as a new user preset in `slot` and selects it. When another
    // instance has taken the slot in the meantime, the next free one is used. Returns the slot
    // used, or -1 when none was free. Records no undo entry.
    int saveAsNewUserPreset (int slot, const juce::String& name);
    // Writes the current user preset to the file with the current values and name.
    void overwriteCurrentUserPreset();
    // Marks the current user preset deleted in the file, empties its slot, purges its history
    // and returns to the program that was current before it.
    void deleteCurrentUserPreset();

    //==============================================================================
    // A/B comparison.
    void selectA() { selectState (false); }
    void selectB() { selectState (true); }
    void copyAToB() { copyState (false); }
    void copyBToA() { copyState (true); }
    bool isBActive() const noexcept;
    bool isLinked() const noexcept;

    //==============================================================================
    // Start-up of the program list, before an engine exists.
    static void initialisePrograms (ParamManager& model);
    static void loadFactoryPresets (ParamManager& model, const juce::XmlElement& presetsRoot);
    static void readProgramList (ParamManager& model, const juce::XmlElement& list, bool skipCurrent);
    static void readParameterValues (const ParamManager& model, const juce::XmlElement& element, PresetRecord& record);

    // Preset numbers in documents: factory programs 1..5, user slots 1000..1004.
    static int presetNumberForProgram (const ParamManager& model, int program) noexcept;
    static int programForPresetNumber (const ParamManager& model, int number) noexcept;

private:
    void loadUserPresets();
    // Name and values of a user-preset entry into its slot's record.
    void readUserPreset (const juce::XmlElement& preset, PresetRecord& program);
    void reloadUserSlot (int program);
    void writeCurrentProgramToFile();
    void recordEntry (UndoEntry entry);
    UndoEntry capture (int32_t kind, int32_t parameterIndex) const;
    void apply (const UndoEntry& entry);
    void switchToProgram (int index);
    bool stepProgram (bool down);
    void step (bool backwards);
    void renameCurrentProgramFromHistory (const juce::String& name);
    void recomputeStatesEqual();
    void recomputeProgramModified();
    void recomputeFlags();
    void setAllParameters (const std::vector<float>& values);
    void selectState (bool b);
    void copyState (bool fromB);
    std::vector<float> currentValues() const;

    std::unique_ptr<ParamManager> model;
    mutable juce::CriticalSection lock;
    juce::String userPresetFileName;
    UserPresetFile userPresetFile;
    std::atomic<bool> statesEqual{ false };
    std::atomic<bool> programModified{ false };
    std::vector<uint8_t> gestureActive;
    std::atomic<bool> historyChanged{ false };
    UndoHistory history;
    std::function<uint32_t()> millisecondClock;

    JUCE_DECLARE_NON_COPYABLE (StateEngine)
};

} // namespace brevalon
