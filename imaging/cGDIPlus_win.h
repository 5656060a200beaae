#pragma once
// The GDI+ services imaging uses: a usability check, PNG and JPEG encoding, drawing with
// scaling, rotation, opacity and grey, and loading any picture GDI+ reads. GDI+ is started once
// for the process, on first use. All fail quietly (false).
#include "platform/Handles_win.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace velt {

class c32bppDIB;

class cGDIPlus {
public:
    bool isGDIplusOk();
    // An empty Filename writes the encoded file into outStream instead.
    bool SaveToPNG(const std::filesystem::path& Filename, std::vector<uint8_t>& outStream,
                   const c32bppDIB& cHost);
    bool SaveToJPG(const std::filesystem::path& Filename, std::vector<uint8_t>& outStream,
                   const c32bppDIB& cHost);

    // For the image object. A negative destination width or height mirrors that axis; the
    // source rectangle is in the image's own coordinates. Opacity is 1..100 (0 draws nothing
    // and succeeds); grayFormula -1 means none.
    struct DrawRequest {
        float angle = 0;
        int32_t opacity = 100;
        int32_t dx = 0, dy = 0, dw = 0, dh = 0;
        int32_t sx = 0, sy = 0, sw = 0, sh = 0;
        bool highQuality = false;
        int32_t grayFormula = -1;
    };
    bool RenderWithGdip(const c32bppDIB& image, HDC destination, const DrawRequest& request);
    // The same, drawing into another image's pixels so that its alpha is kept.
    bool RenderWithGdip(const c32bppDIB& image, c32bppDIB& destination, const DrawRequest& request);
    // Loads a file (when file is given) or bytes into host; ImageType becomes itPNG.
    bool LoadWithGdip(const std::filesystem::path* file, std::span<const uint8_t> bytes,
                      c32bppDIB& host);
};

} // namespace velt
