// libFuzzer target for the icon and cursor decoder: the directory with its properties, and the
// entry chosen for a few requests (so that small, large and deep entries all get decoded). PNG
// entries go through our PNG decoder without zlib.
#include "FuzzCheck.h"

#include "imaging/IcoParser.h"
#include "imaging/IconEntryList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velt::cICOparser directory;
    if (!directory.LoadStream({data, size}, 0, 0, nullptr)) return 0;
    int64_t sum = 0;
    for (int32_t i = 1; i <= directory.IconCount(); ++i) {
        sum += directory.Width(i) + directory.Height(i) + directory.bitDepth(i) +
               directory.ColorCount(i) + directory.ColorByteOffset(i) + directory.IsIconPNG(i);
        sum += static_cast<int64_t>(
            velt::IconEntryText({directory.Width(i), directory.Height(i), directory.bitDepth(i),
                                 velt::IconColourColumn(directory.bitDepth(i))})
                .size());
    }
    if (sum == -1) __builtin_trap(); // keeps the reads
    const int32_t requests[][3] = {{0, 0, 32}, {16, 16, 4}, {256, 256, 32}, {48, 48, 8}};
    for (const auto& r : requests) {
        velt::c32bppDIB host;
        velt::cICOparser().LoadStream({data, size}, r[0], r[1], &host, 0, 0, r[2]);
        CheckImage(host);
    }
    return 0;
}
