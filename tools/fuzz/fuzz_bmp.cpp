// libFuzzer target for the bitmap decoder (no system loader behind it here).
#include "FuzzCheck.h"

#include "imaging/BmpParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velt::c32bppDIB host;
    velt::cBMPparser().LoadStream({data, size}, host);
    CheckImage(host);
    return 0;
}
