// Fuzz target of the shapefile reader: the input holds the main file, the
// index and the table (see ProvaShapefile). Any bytes are refused or read;
// what is read is written again and read back (ProvaShapefile aborts if not).
#include "map/shapefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    (void)veltrano::mappa::ProvaShapefile(d, n);
    return 0;
}
