// Prints the compiled-in corner compensation table in its flat layout, one number per line with
// 17 significant digits, so it can be checked by independent tools.

#include "processor/dsp/CornerCompensationTable.h"

#include <cstdio>

int main()
{
    for (const double value : brevalon::CornerCompensationTable::values)
        std::printf ("%.17g\n", value);
    return 0;
}
