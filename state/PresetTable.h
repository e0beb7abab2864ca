#pragma once

#include "state/PresetRecord.h"

#include <vector>

namespace brevalon
{

// A fixed-size table of records with the same number of values each. Indices outside the table
// are ignored: `at` returns null for them.
class PresetTable
{
public:
    PresetTable (int recordCount, int valuesPerRecord);

    int getCount() const noexcept { return static_cast<int> (records.size()); }
    int getValuesPerRecord() const noexcept { return valuesPerRecord; }
    bool isValidIndex (int index) const noexcept { return index >= 0 && index < getCount(); }

    PresetRecord* at (int index) noexcept { return isValidIndex (index) ? &records[static_cast<size_t> (index)] : nullptr; }
    const PresetRecord* at (int index) const noexcept { return isValidIndex (index) ? &records[static_cast<size_t> (index)] : nullptr; }

    PresetRecord& operator[] (int index) noexcept { return records[static_cast<size_t> (index)]; }
    const PresetRecord& operator[] (int index) const noexcept { return records[static_cast<size_t> (index)]; }

private:
    std::vector<PresetRecord> records;
    int valuesPerRecord;
};

} // namespace brevalon
