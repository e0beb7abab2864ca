#include "state/PresetTable.h"

namespace brevalon
{

PresetTable::PresetTable (int recordCount, int valuesPerRecord_)
    : records (static_cast<size_t> (std::max (0, recordCount)), PresetRecord (valuesPerRecord_)),
      valuesPerRecord (valuesPerRecord_)
{
}

} // namespace brevalon
