#pragma once
// The one image type: a bottom-up 32-bit blue-green-red-alpha bitmap with premultiplied alpha.
// On Windows the pixels live in a DIB section that GDI can draw directly; in the native build
// they are plain heap memory. Every operation fails quietly (false, 0 or -1), never throws.
#include "imaging/ImageTypes.h"
#include "imaging/PixelOps.h"
#include "imaging/PngProperty.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include "platform/Handles_win.h"
struct IPicture;
#endif

namespace velt {

struct DecodeScratch;
struct IconSizeRow;
class cPNGwriter;
struct PngWriterDeleter {
    void operator()(cPNGwriter* writer) const;
};

// How GetDIBbits writes and SetDIBbits reads a caller's pixel array.
struct DibBitsFormat {
    bool asBGRformat = true;     // else red-green-blue
    bool as32bpp = true;         // else 3 bytes a pixel, alpha left out
    bool asWordAligned = true;   // 24-bit rows padded to 4 bytes
    bool asBottomUp = true;      // the last array row is the top row of the rectangle
    bool asPremultiplied = true; // GetDIBbits only: false divides colours by alpha
};

class c32bppDIB {
public:
#ifdef _WIN32
    using ImageHandle = HBITMAP;
#else
    using ImageHandle = const void*;
#endif

    c32bppDIB();
    ~c32bppDIB();
    c32bppDIB(const c32bppDIB&) = delete;
    c32bppDIB& operator=(const c32bppDIB&) = delete;

    // Loading. Each returns true exactly when the object holds an image afterwards; a failed
    // load leaves the object empty. Files and arrays shorter than 57 bytes are refused.
    bool LoadPicture_File(const std::filesystem::path& Filename, int32_t iconCx = 0,
                          int32_t iconCy = 0, bool SaveFormat = false, int32_t iconBitDepth = 32);
    // streamStart and streamLength select part of inStream (0 length: to the end).
    bool LoadPicture_Stream(std::span<const uint8_t> inStream, int32_t iconCx = 0,
                            int32_t iconCy = 0, int32_t streamStart = 0, int32_t streamLength = 0,
                            bool SaveFormat = false, int32_t iconBitDepth = 32);
    bool LoadPicture_FromOrignalFormat(int32_t iconCx, int32_t iconCy, int32_t iconBitDepth);
    bool GetOrginalFormat(std::vector<uint8_t>& outStream) const;

    // Pixel memory.
    bool InitializeDIB(int32_t Width, int32_t Height);
    void DestroyDIB();
    void EraseDIB();

    // Pixel access; y counts from the top. Colours carry red in the low byte.
    int32_t GetPixel(int32_t x, int32_t Y, uint8_t& AlphaValue, bool asPremultiplied) const;
    uint8_t* SetPixel(int32_t x, int32_t Y, uint32_t Color, int32_t AlphaValue = 255,
                      bool isPremultiplied = false);
    bool GetDIBbits(std::vector<uint8_t>& outStream, const DibBitsFormat& format = {},
                    int32_t x = 0, int32_t Y = 0, int32_t Width = 0, int32_t Height = 0) const;
    bool SetDIBbits(std::span<const uint8_t> inStream, const DibBitsFormat& format = {},
                    int32_t dstX = 0, int32_t dstY = 0, int32_t dstWidth = 0,
                    int32_t dstHeight = 0);
    bool GetAlphaMask(std::vector<uint8_t>& outStream, bool asWordAligned = true,
                      bool asBottomUp = true, int32_t x = 0, int32_t Y = 0, int32_t Width = 0,
                      int32_t Height = 0) const;

    // Effects on the pixels in place; each is false without an image. MirrorImage flips the
    // picture left-right (x) and/or upside down (y), false when neither is asked. MakeTransparent
    // clears every opaque pixel of that colour (red in the low byte). CreateCheckerBoard paints
    // the image with squares of two colours, opaque, and marks it itCheckerBoard.
    bool MirrorImage(bool MirrorAxisX, bool MirrorAxisY);
    bool MakeTransparent(uint32_t TransparentColor);
    bool CreateCheckerBoard(int32_t CheckerSize = 12, uint32_t FirstColor = 0xFFFFFF,
                            uint32_t SecondColor = 0xC0C0C0);

    // Copies into target (re-initialised when its size differs) at |newWidth| x |newHeight|;
    // a negative size mirrors that axis, 0 keeps this image's size.
    void CopyImageTo(c32bppDIB& target, int32_t newWidth = 0, int32_t newHeight = 0,
                     bool CopyOriginalFormat = false);
    // As above; an empty pointer receives a new image with this one's drawing settings.
    void CopyImageTo(std::unique_ptr<c32bppDIB>& cDIBclass, int32_t newWidth = 0,
                     int32_t newHeight = 0, bool CopyOriginalFormat = false);

    // Transforms. The size that fits destWidth x destHeight (ScaleMode 0 keeps the aspect, 1
    // keeps it and never enlarges, 2 stretches, others keep the image size); unchanged outputs
    // without an image.
    void ScaleImage(int32_t destWidth, int32_t destHeight, int32_t& newWidth, int32_t& newHeight,
                    int32_t ScaleMode = 1) const;
    bool MakeGrayScale(int32_t Formula); // false without an image or for formula -1
    bool MakeImageInverse();
    // A new size (0 keeps that side; negative mirrors it); true at once for the same size.
    bool Resize(int32_t newWidth, int32_t newHeight);
    // The rectangle of pixels that are not fully transparent (Y from the top), trimmed on the
    // sides in Method (0 for all: 1 left, 2 top, 4 right, 8 bottom); with UpdateDIB the image
    // becomes that rectangle. The whole image when it has no alpha; false, all 0, when it is
    // fully transparent.
    bool TrimImage(bool UpdateDIB, int32_t Method, int32_t& x, int32_t& Y, int32_t& Width,
                   int32_t& Height);

    // For an icon or cursor image: a row for each entry of its source file (width, height, bit
    // depth, colours), from the kept original bytes, or one row of its own size without them.
    // Returns the number of rows; 0 for other images.
    int32_t SourceIconSizes(std::vector<IconSizeRow>& sizeArray) const;

    // Writing. Bitmaps are 32-bit premultiplied when the image has alpha, else 24-bit.
    bool SaveToFile(const std::filesystem::path& Filename, bool PromptOverwrite = true);
    bool SaveToStream(std::vector<uint8_t>& outStream) const;
    bool SaveToFile_PNG(const std::filesystem::path& Filename, bool PromptOverwrite = true);
    bool SaveToStream_PNG(std::vector<uint8_t>& outStream);

    // Properties written with the next PNG save (ids in PngProperty.h). PropertyID -1 drops
    // them all; without a value the property is removed. The caption names a custom text.
    bool PngPropertySet(int32_t PropertyID,
                        const std::optional<PngPropertyValue>& value = std::nullopt,
                        std::wstring_view LargeBlockCaption = {});
    PngPropertyValue PngPropertyGet(int32_t PropertyID,
                                    std::wstring_view LargeBlockCaption = {}) const;

    // Properties.
    bool Alpha() const { return m_alpha; }
    int32_t ImageType() const { return m_imageType; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    int32_t scanWidth() const { return m_width * 4; }
    uint8_t* BitsPointer() const { return m_bits; }
    ImageHandle Handle() const;
    PixelView Pixels() const { return {m_bits, m_width, m_height}; }

    bool HighQualityInterpolation() const { return m_highQuality; }
    void HighQualityInterpolation(bool value) { m_highQuality = value; }
    bool ManageOwnDC() const { return m_manageOwnDC; }
    void ManageOwnDC(bool value);
    bool isAlphaBlendFriendly() const { return (m_capabilities & cfAlphaBlendOn) != 0; }
    void isAlphaBlendFriendly(bool value);
    bool isGDIplusEnabled() const { return (m_capabilities & cfGdiPlusOn) != 0; }
    void isGDIplusEnabled(bool value);
    bool isZlibEnabled() const;
    uint32_t CapabilityFlags() const { return m_capabilities; }

#ifdef _WIN32
    // The memory DC with the DIB selected (true), or the selection undone (false, returns 0).
    HDC LoadDIBinDC(bool bLoad);

    bool LoadPicture_Resource(const wchar_t* ResIndex, const wchar_t* ResSection,
                              HMODULE ResourceHost, int32_t iconCx = 0, int32_t iconCy = 0,
                              int32_t streamStart = 0, int32_t streamLength = 0,
                              int32_t iconBitDepth = 0);
    // ResSection as a picture kind: 0 bitmap, 1 icon, 2 cursor.
    bool LoadPicture_Resource(const wchar_t* ResIndex, int32_t ResSection, HMODULE ResourceHost,
                              int32_t iconCx = 0, int32_t iconCy = 0, int32_t streamStart = 0,
                              int32_t streamLength = 0, int32_t iconBitDepth = 0);
    bool LoadPicture_StdPicture(IPicture* Picture);
    bool LoadPicture_ByHandle(HANDLE Handle);
    bool LoadPicture_ClipBoard();

    // A region of the pixels whose alpha is not 0 (Style 0 bounding box, 1 row spans, 2 exact),
    // moved by the offsets; empty with no image or another style.
    UniqueRegion CreateRegion(int32_t Style, int32_t xOffset, int32_t yOffset = 0) const;

    bool Render(HDC destinationDC, int32_t destX = 0, int32_t destY = 0, int32_t destWidth = 0,
                int32_t destHeight = 0, int32_t SrcX = 0, int32_t SrcY = 0, int32_t SrcWidth = 0,
                int32_t SrcHeight = 0, int32_t Opacity = 100, bool Blend = true,
                bool SetHalfTone = true, c32bppDIB* destHostDIB = nullptr, int32_t grayScale = -1);

    // Draws the source rectangle scaled to destWidth x destHeight and turned by Angle degrees
    // (clockwise) about the centre of the destination rectangle; a negative size mirrors that
    // axis and extends the rectangle left or up from TopX, TopY.
    bool RotateAtTopLeft(HDC hdc, float Angle, int32_t TopX, int32_t TopY, int32_t destWidth = 0,
                         int32_t destHeight = 0, int32_t SrcX = 0, int32_t SrcY = 0,
                         int32_t SrcWidth = 0, int32_t SrcHeight = 0, int32_t Opacity = 100,
                         c32bppDIB* destHostDIB = nullptr, int32_t grayScale = -1);
    bool RotateAtCenterPoint(HDC hdc, float Angle, int32_t CenterPointX, int32_t CenterPointY,
                             int32_t destWidth = 0, int32_t destHeight = 0, int32_t SrcX = 0,
                             int32_t SrcY = 0, int32_t SrcWidth = 0, int32_t SrcHeight = 0,
                             int32_t Opacity = 100, c32bppDIB* destHostDIB = nullptr,
                             int32_t grayScale = -1);
#endif

private:
    friend struct DecoderAccess;

    bool LoadFromSource(const std::filesystem::path* Filename, std::span<const uint8_t> bytes,
                        int32_t iconCx, int32_t iconCy, size_t start, size_t length,
                        bool SaveFormat, int32_t iconBitDepth);
    bool WritePixelsTo(c32bppDIB& target, int32_t newWidth, int32_t newHeight);
    void BuildBitmapFile(std::vector<uint8_t>& out) const;
    bool WritePngOurselves(const std::filesystem::path* file, std::vector<uint8_t>* out) const;
    bool WritePng(const std::filesystem::path* file, std::vector<uint8_t>* out);

    // Platform half (c32bppDIB_win.cpp or c32bppDIB_native.cpp).
    bool AllocatePixels(int32_t width, int32_t height);
    void ReleasePixels();
    uint32_t DetectCapabilities() const;
    bool PlatformGdiplusUsable() const;
    bool CopyWithGdiplus(c32bppDIB& target, int32_t newWidth, int32_t newHeight);
    bool CopyWithAlphaBlend(c32bppDIB& target, int32_t newWidth, int32_t newHeight);
    bool SavePngWithPlatform(const std::filesystem::path* file, std::vector<uint8_t>* out);
    static bool ConfirmOverwrite();

    uint8_t* m_bits = nullptr;
    int32_t m_width = 0;
    int32_t m_height = 0;
    uint32_t m_capabilities = 0;
    int32_t m_imageType = itBlank;
    bool m_alpha = false;
    bool m_manageOwnDC = false;
    bool m_highQuality = false;
    std::vector<uint8_t> m_originalFormat;
    std::unique_ptr<DecodeScratch> m_scratch;
    std::unique_ptr<cPNGwriter, PngWriterDeleter> m_pngProperties;
#ifdef _WIN32
    UniqueBitmap m_dib;
    UniqueMemoryDC m_dc;
    HGDIOBJ m_previousBitmap = nullptr;
#else
    struct FreeDeleter {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t, FreeDeleter> m_heap;
#endif
};

// What only the decoders may change on an image: the type code, the alpha flag and the kept
// original bytes.
struct DecoderAccess {
    static void SetAlpha(c32bppDIB& image, bool value) { image.m_alpha = value; }
    static void SetImageType(c32bppDIB& image, int32_t value) { image.m_imageType = value; }
    static void SetOriginalFormat(c32bppDIB& image, std::span<const uint8_t> bytes) {
        image.m_originalFormat.assign(bytes.begin(), bytes.end());
    }
    static DecodeScratch& Scratch(c32bppDIB& image);
};

} // namespace velt
