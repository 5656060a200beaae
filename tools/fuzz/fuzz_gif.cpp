// libFuzzer target for the GIF decoder and its LZW.
#include "FuzzCheck.h"

#include "imaging/GifParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velt::c32bppDIB host;
    velt::cGIFparser().LoadStream({data, size}, host);
    CheckImage(host);
    return 0;
}
