#include "state/UndoHistory.h"

#include <algorithm>

namespace brevalon
{

UndoHistory::UndoHistory (int valueCount_, int capacity_)
    : slots (static_cast<size_t> (std::max (2, capacity_))),
      capacity (std::max (2, capacity_)),
      valueCount (valueCount_)
{
}

void UndoHistory::record (const UndoEntry& entry, uint32_t now)
{
    end = cursor;
    auto& slot = slots[(size_t)cursor];
    slot = entry;
    slot.time = now;
    end = cursor = wrap (cursor + 1);
    if (end == start)
        start = wrap (start + 1);
}

void UndoHistory::removeNewest() noexcept
{
    if (end == start)
        return;
    end = wrap (end - 1);
    cursor = end;
}

void UndoHistory::stepBack (UndoEntry replacement)
{
    cursor = wrap (cursor - 1);
    slots[(size_t)cursor] = std::move (replacement);
}

void UndoHistory::stepForward (UndoEntry replacement)
{
    slots[(size_t)cursor] = std::move (replacement);
    cursor = wrap (cursor + 1);
}

void UndoHistory::setCursorPosition (int k) noexcept
{
    cursor = wrap (start + std::clamp (k, 0, getNumEntries()));
}

void UndoHistory::replaceWith (const std::vector<UndoEntry>& entries)
{
    const auto count = std::min (static_cast<int> (entries.size()), capacity - 1);
    for (int i = 0; i < count; ++i)
        slots[(size_t)i] = entries[(size_t)i];
    for (int i = count; i < capacity; ++i)
        slots[(size_t)i] = UndoEntry{};
    start = 0;
    end = cursor = count;
}

} // namespace brevalon
