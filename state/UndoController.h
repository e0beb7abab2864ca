#pragma once

#include "state/UndoHistory.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

namespace brevalon
{

class ParamManager;

// Undo and redo over the instance's model: records the state of one aspect before each change,
// applies entries back, describes them for the editor, coalesces quick edits of one parameter,
// tracks edit gestures, purges a deleted program's entries, and writes and reads the history
// as the "undo" element of the host chunk.
//
// Not thread-safe: the state engine's lock guards it.
class UndoController
{
public:
    explicit UndoController (ParamManager& model);

    // Replaces the millisecond counter used to time entries (tests).
    void setMillisecondClock (std::function<uint32_t()> clock);

    const UndoHistory& getHistory() const noexcept { return history; }

    // Records the present state of the aspect an entry of this kind restores.
    void record (int32_t kind, int32_t parameterIndex = 0);
    void removeNewest() noexcept { history.removeNewest(); }

    // Before the editor writes a parameter: records its value unless a gesture is open on it or
    // it was written less than a second ago (then that entry's time moves on). True when an
    // entry was recorded.
    bool recordValueChange (int parameterIndex);
    // Opens a gesture on a parameter (recording its value); false for an index outside the list.
    bool beginGesture (int parameterIndex);
    // Closes it; a gesture that left the value as it was drops its entry. True when it did.
    bool endGesture (int parameterIndex);

    bool canUndo() const noexcept { return history.canUndo(); }
    bool canRedo() const noexcept { return history.canRedo(); }
    // Applies the newest undoable (backwards) or the next redoable entry, keeping the state it
    // replaces for the opposite direction. False when there is none.
    bool step (bool backwards);
    juce::String getUndoDescription() const;
    juce::String getRedoDescription() const;
    juce::String describe (const UndoEntry& entry) const;

    // Purges program p from the history after its user preset was deleted; returns the program
    // to switch to.
    int forgetProgram (int program);

    // The history as the "undo" element appended to `root`.
    void write (juce::XmlElement& root) const;
    // Appends the entries of root's "undo" element; true when any were read.
    bool append (const juce::XmlElement& root);

private:
    UndoEntry capture (int32_t kind, int32_t parameterIndex) const;
    void apply (const UndoEntry& entry);
    void recordEntry (UndoEntry entry);
    void renameCurrentProgram (const juce::String& name);

    ParamManager& model;
    UndoHistory history;
    std::vector<uint8_t> gestureActive;
    std::function<uint32_t()> millisecondClock;
};

} // namespace brevalon
