#pragma once

#include "state/SharedFolder.h"
#include "state/UndoController.h"
#include "state/UserPresetStore.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>
#include <memory>

namespace brevalon
{

class ParamManager;
class PresetRecord;

// The per-instance state: parameters, programs, comparison states (A/B), the global user presets
// and the undo history, with one recursive lock around every operation. The processor and the
// editor talk to this object only; it orchestrates its collaborators (the model's program bank
// and comparison states, the undo controller, the state document, the user-preset store) and
// keeps the flags the editor polls.
//
// Threads: every operation takes the lock, except setValueFromHost (hosts may automate from the
// audio thread) and the flag reads and takes, which are atomic.
class StateEngine
{
public:
    // Reads the user presets from the file of that name in the shared folder.
    StateEngine (std::unique_ptr<ParamManager> model, const juce::String& userPresetFileName, SharedFolder sharedFolder = {});
    ~StateEngine();

    juce::CriticalSection& getLock() noexcept { return lock; }
    ParamManager& getModel() noexcept { return *model; }
    const ParamManager& getModel() const noexcept { return *model; }
    const juce::String& getUserPresetFileName() const noexcept { return userPresets.getFileName(); }
    const UserPresetStore& getUserPresetStore() const noexcept { return userPresets; }

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

    // The current values as attributes of `element` (see StateXml::writeValues).
    void writeParameterValues (juce::XmlElement& element, bool withLogical) const;
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
    // Purges program p from the history after its user preset was deleted; returns the program
    // to switch to.
    int forgetProgram (int program);
    const UndoHistory& getHistory() const noexcept { return undoController.getHistory(); }

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
    // False when the user-preset file exists but cannot be read, so no preset can be saved.
    bool canSaveUserPresets() const;
    // Saves the current values as a new user preset in `slot` and selects it. When another
    // instance has taken the slot in the meantime, the next free one is used. Returns the slot
    // used, or -1 when none was free or the file cannot be read (nothing changes then).
    // Records no undo entry.
    int saveAsNewUserPreset (int slot, const juce::String& name);
    // Writes the current user preset to the file with the current values and name; does
    // nothing when the file cannot be read.
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
    // Start-up of the program list, before an engine exists: placeholder names and the current
    // values in every program, then the factory presets over them.
    static void initialisePrograms (ParamManager& model);
    static void loadFactoryPresets (ParamManager& model, const juce::XmlElement& presetsRoot);

private:
    void writeCurrentProgramToFile();
    void stepHistory (bool backwards);
    bool stepProgram (bool down);
    void selectState (bool b);
    void copyState (bool fromB);
    void recomputeStatesEqual();
    void recomputeProgramModified();
    void recomputeFlags();

    std::unique_ptr<ParamManager> model;
    mutable juce::CriticalSection lock;
    UserPresetStore userPresets;
    UndoController undoController;
    std::atomic<bool> statesEqual{ false };
    std::atomic<bool> programModified{ false };
    std::atomic<bool> historyChanged{ false };

    JUCE_DECLARE_NON_COPYABLE (StateEngine)
};

} // namespace brevalon
