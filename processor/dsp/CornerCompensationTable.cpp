#include "processor/dsp/CornerCompensationTable.h"

#include <cmath>

namespace brevalon
{

const double* CornerCompensationTable::sectionFor (double sampleRate) noexcept
{
    for (size_t s = 0; s < sectionRates.size(); ++s)
        if (values[s * sectionSize] == sampleRate)
            return values.data() + s * sectionSize;
    return nullptr;
}

const double* CornerCompensationTable::rowFor (double cornerHz, double sampleRate) noexcept
{
    const double* section = sectionFor (sampleRate);
    if (section == nullptr)
        return nullptr;

    // Written so that NaN clamps to the first key.
    const double corner = cornerHz > lastKey ? lastKey : (cornerHz >= firstKey ? cornerHz : firstKey);
    int row = static_cast<int> (std::floor ((corner - firstKey) / keyStep));
    if (row < rowCount - 1)
    {
        const double lowerKey = firstKey + keyStep * row;
        if ((lowerKey + keyStep) - corner < corner - lowerKey)
            ++row;
    }
    else
    {
        row = rowCount - 1;
    }
    return section + 1 + row * rowSize + 1;
}

} // namespace brevalon
