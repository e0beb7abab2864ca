#pragma once

#include "state/UndoEntry.h"

#include <vector>

namespace brevalon
{

// A ring of undo entries with fixed capacity. Entries from start to cursor can be undone, from
// cursor to end redone. One slot always stays free, so capacity - 1 entries are kept; recording
// into a full ring drops the oldest entry. Not thread-safe: the state engine's lock guards it.
class UndoHistory
{
public:
    static constexpr int defaultCapacity = 256;

    explicit UndoHistory (int valueCount, int capacity = defaultCapacity);

    int getCapacity() const noexcept { return capacity; }
    int getValueCount() const noexcept { return valueCount; }

    bool canUndo() const noexcept { return cursor != start; }
    bool canRedo() const noexcept { return cursor != end; }
    int getNumUndoable() const noexcept { return distance (start, cursor); }
    int getNumRedoable() const noexcept { return distance (cursor, end); }
    int getNumEntries() const noexcept { return distance (start, end); }

    // Drops the redo entries and appends the entry (its time set to `now`) as the newest.
    void record (const UndoEntry& entry, uint32_t now);
    // Drops the newest entry (undoable or not); the cursor moves to the new end.
    void removeNewest() noexcept;

    // The entry that undo would apply (before the cursor) / that redo would apply (at the
    // cursor); null when there is none.
    UndoEntry* newestUndoable() noexcept { return canUndo() ? &slots[(size_t)wrap (cursor - 1)] : nullptr; }
    UndoEntry* nextRedoable() noexcept { return canRedo() ? &slots[(size_t)cursor] : nullptr; }

    // Moves the cursor one step back / forward and stores `replacement` in the slot passed over.
    void stepBack (UndoEntry replacement);
    void stepForward (UndoEntry replacement);

    // Entry at position k counted from the oldest (0 .. getNumEntries() - 1).
    const UndoEntry& entryAt (int k) const noexcept { return slots[(size_t)wrap (start + k)]; }
    UndoEntry& entryAt (int k) noexcept { return slots[(size_t)wrap (start + k)]; }

    // Sets the cursor to position k from the oldest (clamped to the entries).
    void setCursorPosition (int k) noexcept;
    int getCursorPosition() const noexcept { return getNumUndoable(); }

    // Drops the redo entries without recording.
    void dropRedo() noexcept { end = cursor; }

    // Replaces the whole content with the given entries, oldest first, all undoable.
    void replaceWith (const std::vector<UndoEntry>& entries);

private:
    int wrap (int position) const noexcept { return ((position % capacity) + capacity) % capacity; }
    int distance (int from, int to) const noexcept { return wrap (to - from); }

    std::vector<UndoEntry> slots;
    int capacity;
    int valueCount;
    int start = 0;
    int end = 0;
    int cursor = 0;
};

} // namespace brevalon
