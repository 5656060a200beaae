// The alpha image control: properties, persistence, loading, layout, the control-size cache, the
// hit shape and the key colour. Hover tracking and fading are in aicAlphaImageHover.cpp; drawing
// in the platform halves.
#include "imaging/aicAlphaImage.h"

#include "platform/Units.h"

#include <algorithm>
#include <cmath>

namespace velt {

namespace {

constexpr int kAppMajor = 1; // the application's version, 1.0
constexpr int kAppMinor = 0;
constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr std::int32_t kCheckerSize = 12;
constexpr std::uint32_t kCheckerWhite = 0xFFFFFF;
constexpr std::uint32_t kCheckerGrey = 0xC0C0C0;

} // namespace

aicAlphaImage::aicAlphaImage() : aicAlphaImage(SystemHoverPlatform()) {}

aicAlphaImage::aicAlphaImage(HoverPlatform& platform)
    : m_platform(platform), m_image(std::make_unique<c32bppDIB>()) {
    m_image->isAlphaBlendFriendly(true);
    m_prefix = L"AIC" + std::to_wstring(kAppMajor) + L"." + std::to_wstring(kAppMinor) + L":";
    AlphaImageTimers::AddLive(this);
}

aicAlphaImage::~aicAlphaImage() {
    *m_alive = false;
    // Timers first, so that no tick reaches the control while it goes.
    const HoverPlatform::Window container = ContainerWindow();
    if (m_fadeEntry) {
        if (container) m_platform.KillTimer(container, FadeTimerId());
        AlphaImageTimers::Unregister(FadeTimerId());
    }
    if (m_attached) DetachHover();
    if (m_hoverEntry) {
        if (m_container) m_platform.KillTimer(m_container, HoverTimerId());
        AlphaImageTimers::Unregister(HoverTimerId());
    }
    AlphaImageTimers::RemoveLive(this);
    DropCache();
}

bool aicAlphaImage::UserModeNow() const { return !Site() || Site()->UserMode(); }

HoverPlatform::Window aicAlphaImage::ContainerWindow() const {
    return Site() ? Site()->ContainerWindow() : 0;
}

void aicAlphaImage::Changed(const wchar_t* name) {
    if (PropertyChanged) PropertyChanged(name);
}

void aicAlphaImage::Repaint() { Invalidate(); }

void aicAlphaImage::Refresh() { Repaint(); }

std::uint32_t aicAlphaImage::ToRGB(std::uint32_t colour) const {
    return IsSystemColour(colour) ? SystemColour(static_cast<std::int32_t>(colour & 0xFF)) : colour;
}

// ---- Persisted properties ----

void aicAlphaImage::InitProperties() {
    m_opacity = 100;
    m_grayFormula = -1;
    m_scaleMethod = 0;
    m_maskColor = kButtonFace;
    m_flags = kFlagsNew;
    m_image->HighQualityInterpolation(true);
    m_scaleUnit = Site() ? Site()->ScaleMode() : 9;
}

void aicAlphaImage::ReadProperties(const PropertyBag& bag) {
    const Bytes image = bag.ReadBytes(L"Image");
    m_scaleMethod = bag.ReadInteger(L"Scaler", 0);
    if (m_scaleMethod < 0 || m_scaleMethod > 4) m_scaleMethod = 0;
    m_opacity = NormalizeOpacity(bag.ReadInteger(L"Opacity", 100));
    m_keepOriginalFormat = bag.ReadBoolean(L"KeepFormat", false);
    m_mirror = bag.ReadInteger(L"Mirror", 0);
    if (m_mirror < 0 || m_mirror > 3) m_mirror = 0;
    m_rotation = NormalizeRotation(bag.ReadInteger(L"Angle", 0));
    m_grayFormula = bag.ReadInteger(L"GrayScale", -1);
    if (m_grayFormula < -1 || m_grayFormula > 7) m_grayFormula = -1;
    m_hitTest = bag.ReadInteger(L"HitTest", 0);
    if (m_hitTest < 0 || m_hitTest > 3) m_hitTest = 0;
    // The cache bit belongs to the running control, never to what was stored.
    m_flags = bag.ReadInteger(L"Props", kFlagsAbsent) &
              (kFlagStretchQuality | kFlagAutoSize | kFlagAutoRedraw | kFlagInversed);
    m_maskActive = bag.ReadBoolean(L"MaskUsed", false);
    m_maskColor = static_cast<std::uint32_t>(
        bag.ReadInteger(L"MaskColor", static_cast<std::int32_t>(kButtonFace)));
    m_maskSource = bag.ReadInteger(L"MaskSource", 0);
    if (m_maskSource < 0 || m_maskSource > 5) m_maskSource = 0;
    if (m_maskActive)
        m_maskKey = static_cast<std::uint32_t>(
            bag.ReadInteger(L"Mask", static_cast<std::int32_t>(kButtonFace)));
    m_enabled = bag.ReadBoolean(L"Enabled", true);
    m_mouseIcon = bag.ReadBytes(L"MIcon");
    m_mousePointer = bag.ReadInteger(L"MPointer", 0);
    m_oleDropMode = bag.ReadInteger(L"OLEdrop", 0);
    if (m_scaleMethod == 4) {
        m_drawnWidth = bag.ReadInteger(L"ScaleCx", 0);
        m_drawnHeight = bag.ReadInteger(L"ScaleCy", 0);
    }

    // A stored instance that auto-sizes lays out as if rotated, even at 0 degrees.
    m_rotatedLayout = m_rotation != 0 || AutoSize();
    m_scaleUnit = Site() ? Site()->ScaleMode() : 9;
    m_image->HighQualityInterpolation(StretchQuality());

    const bool runTime = UserModeNow();
    const bool loaded = m_image->LoadPicture_Stream(image, Width(), Height(), 0, 0,
                                                    !runTime || m_keepOriginalFormat, 32);
    if (!loaded) {
        if (m_scaleMethod == 4) m_scaleMethod = 0;
        m_flags &= kFlagStretchQuality;
        m_rotation = 0;
        m_opacity = 100;
        m_mirror = 0;
        m_drawnWidth = m_drawnHeight = 0;
    } else {
        if (m_mirror) m_image->MirrorImage(m_mirror & 1, m_mirror & 2);
        if (m_maskActive) KnockOut(ToRGB(m_maskKey));
        if (InversedImage()) m_image->MakeImageInverse();
        if (AutoRedraw() && runTime) {
            m_flags |= kFlagCacheInUse;
            if (!RenderCache(true, true)) BuildHitShape();
        }
    }
    LayoutImage();
}

void aicAlphaImage::WriteProperties(PropertyBag& bag) {
    Bytes image;
    const std::int32_t type = m_image->ImageType();
    if (type == itCheckerBoard) {
        // the designer's placeholder is not a picture
    } else if (type == itBitmap || type == itBitmapAlpha || type == itBitmapPremultiplied) {
        if (m_image->isGDIplusEnabled() || m_image->isZlibEnabled()) {
            // Stored as it was loaded: a copy loses the mirror, the key colour and the inversion.
            c32bppDIB plain;
            m_image->CopyImageTo(plain);
            if (m_maskActive) {
                std::uint32_t key = ToRGB(m_maskKey);
                if (InversedImage()) key ^= 0xFFFFFF;
                std::vector<std::uint8_t> pixels;
                if (plain.GetDIBbits(pixels)) {
                    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
                        if (pixels[i + 3] != 0) continue;
                        pixels[i] = static_cast<std::uint8_t>(key >> 16);
                        pixels[i + 1] = static_cast<std::uint8_t>(key >> 8);
                        pixels[i + 2] = static_cast<std::uint8_t>(key);
                        pixels[i + 3] = 255;
                    }
                    plain.SetDIBbits(pixels);
                }
            }
            if (InversedImage()) plain.MakeImageInverse();
            if (m_mirror) plain.MirrorImage(m_mirror & 1, m_mirror & 2);
            plain.SaveToStream_PNG(image);
        }
    } else {
        m_image->GetOrginalFormat(image);
    }
    bag.WriteBytes(L"Image", image);
    bag.WriteInteger(L"Scaler", m_scaleMethod, 0);
    bag.WriteInteger(L"Opacity", m_opacity, 100);
    bag.WriteBoolean(L"KeepFormat", m_keepOriginalFormat, false);
    bag.WriteInteger(L"Mirror", m_mirror, 0);
    bag.WriteInteger(L"Angle", m_rotation, 0);
    bag.WriteInteger(L"GrayScale", m_grayFormula, -1);
    bag.WriteInteger(L"HitTest", m_hitTest, 0);
    bag.WriteInteger(L"Props", m_flags & ~kFlagCacheInUse, kFlagsAbsent);
    bag.WriteBoolean(L"MaskUsed", m_maskActive, false);
    bag.WriteInteger(L"MaskColor", static_cast<std::int32_t>(m_maskColor),
                     static_cast<std::int32_t>(kButtonFace));
    bag.WriteInteger(L"MaskSource", m_maskSource, 0);
    const auto buttonFace = static_cast<std::int32_t>(kButtonFace);
    bag.WriteInteger(L"Mask", m_maskActive ? static_cast<std::int32_t>(m_maskKey) : buttonFace,
                     buttonFace);
    bag.WriteBoolean(L"Enabled", m_enabled, true);
    bag.WriteBytes(L"MIcon", m_mouseIcon);
    bag.WriteInteger(L"MPointer", m_mousePointer, 0);
    bag.WriteInteger(L"OLEdrop", m_oleDropMode, 0);
    bag.WriteInteger(L"ScaleCx", m_scaleMethod == 4 ? m_drawnWidth : 0, 0);
    bag.WriteInteger(L"ScaleCy", m_scaleMethod == 4 ? m_drawnHeight : 0, 0);
}

// ---- Property setters ----

void aicAlphaImage::AutoRedraw(bool value) {
    if (value == AutoRedraw()) return;
    m_flags ^= kFlagAutoRedraw;
    if (UserModeNow()) {
        if (value) {
            m_flags |= kFlagCacheInUse; // built at the next RenderCache
        } else {
            m_flags &= ~kFlagCacheInUse;
            DropCache();
        }
    }
    Changed(L"AutoRedraw");
}

void aicAlphaImage::HitTest(std::int32_t value) {
    if (value < 0 || value > 3 || value == m_hitTest) return;
    m_hitTest = value;
    BuildHitShape();
    Changed(L"HitTest");
}

void aicAlphaImage::InversedImage(bool value) {
    if (value == InversedImage()) return;
    m_flags ^= kFlagInversed;
    m_image->MakeImageInverse();
    Changed(L"InversedImage");
    RenderCache(false, false);
    Repaint();
}

void aicAlphaImage::AutoSize(bool value) {
    if (value == AutoSize()) return;
    m_flags ^= kFlagAutoSize;
    Relayout();
    Changed(L"AutoSize");
}

void aicAlphaImage::ScaleMethod(std::int32_t value) {
    if (value < 0 || value > 4 || value == m_scaleMethod) return;
    m_scaleMethod = value;
    Relayout();
    Changed(L"ScaleMethod");
}

void aicAlphaImage::StretchQuality(bool value) {
    if (value == StretchQuality()) return;
    m_flags ^= kFlagStretchQuality;
    m_image->HighQualityInterpolation(value);
    Repaint();
    Changed(L"StretchQuality");
}

void aicAlphaImage::Opacity(std::int32_t value) {
    m_opacity = NormalizeOpacity(value);
    Changed(L"Opacity");
    Repaint();
}

void aicAlphaImage::Mirror(std::int32_t value) {
    if (value < 0 || value > 3) return;
    const bool flipX = ((value ^ m_mirror) & 1) != 0;
    const bool flipY = ((value ^ m_mirror) & 2) != 0;
    if (flipX || flipY) m_image->MirrorImage(flipX, flipY);
    m_mirror = value;
    RebuildCacheAndShape();
    Repaint();
    Changed(L"Mirror");
}

void aicAlphaImage::KeepOriginalFormat(bool value) {
    if (!UserModeNow()) m_keepOriginalFormat = value;
    Changed(L"KeepOriginalFormat");
}

void aicAlphaImage::grayScale(std::int32_t value) {
    if (value < 0 || value > 8 || value - 1 == m_grayFormula) return;
    m_grayFormula = value - 1;
    Repaint();
    Changed(L"grayScale");
}

void aicAlphaImage::Rotation(std::int32_t value) {
    value = NormalizeRotation(value);
    if (value == m_rotation) return;
    const std::int32_t old = m_rotation;
    m_rotation = value;
    if (old != 0) {
        m_rotatedLayout = value != 0;
        if (value == 0 && AutoSize()) {
            Relayout();
        } else {
            RebuildCacheAndShape();
            Repaint();
        }
    } else {
        m_rotatedLayout = true;
        Relayout();
    }
    Changed(L"Rotation");
}

void aicAlphaImage::Enabled(bool value) {
    if (value == m_enabled) return;
    m_enabled = value;
    if (UserModeNow()) {
        if (value && Shown()) AttachHover();
        else if (!value && m_attached) DetachHover();
    }
    BuildHitShape();
    Changed(L"Enabled");
}

void aicAlphaImage::MousePointer(std::int32_t value) {
    m_mousePointer = value;
    Changed(L"MousePointer");
}

void aicAlphaImage::MouseIcon(const Bytes& value) {
    m_mouseIcon = value;
    Changed(L"MouseIcon");
}

void aicAlphaImage::OLEDropMode(std::int32_t value) {
    m_oleDropMode = value;
    Changed(L"OLEDropMode");
}

// ---- Key colour ----

void aicAlphaImage::KnockOut(std::uint32_t rgb) { m_image->MakeTransparent(rgb); }

void aicAlphaImage::UndoMask() {
    std::uint32_t key = ToRGB(m_maskKey);
    if (InversedImage()) key ^= 0xFFFFFF;
    std::vector<std::uint8_t> pixels;
    if (!m_image->GetDIBbits(pixels)) return;
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
        if (pixels[i + 3] != 0) continue;
        pixels[i] = static_cast<std::uint8_t>(key >> 16);
        pixels[i + 1] = static_cast<std::uint8_t>(key >> 8);
        pixels[i + 2] = static_cast<std::uint8_t>(key);
        pixels[i + 3] = 255;
    }
    m_image->SetDIBbits(pixels);
}

void aicAlphaImage::MaskUsed(std::int32_t value) {
    if (value < 0 || value > 5 || value == m_maskSource || IsPlaceholder()) return;
    // A key colour is for pictures without transparency of their own.
    if (m_image->Alpha() && !m_maskActive) return;
    if (m_maskActive) UndoMask();
    if (value == 0) {
        m_maskActive = false;
    } else {
        const bool hasImage = m_image->BitsPointer() != nullptr;
        std::uint32_t sampled = 0;
        if (value == 1) {
            m_maskKey = m_maskColor;
        } else if (hasImage) {
            const std::int32_t right = m_image->Width() - 1, bottom = m_image->Height() - 1;
            const std::int32_t x = (value == 3 || value == 5) ? right : 0;
            const std::int32_t y = (value == 4 || value == 5) ? bottom : 0;
            std::uint8_t alpha = 0;
            sampled = static_cast<std::uint32_t>(m_image->GetPixel(x, y, alpha, false)) & 0xFFFFFF;
            m_maskKey = sampled;
        }
        m_maskActive = true;
        if (hasImage) {
            if (!InversedImage()) {
                KnockOut(ToRGB(m_maskKey));
            } else if (value == 1) {
                KnockOut(ToRGB(m_maskKey) ^ 0xFFFFFF);
            } else {
                // The inverted picture's colour is knocked out; the key is kept as it was
                // before the inversion.
                KnockOut(sampled);
                m_maskKey = sampled ^ 0xFFFFFF;
            }
        }
    }
    RebuildCacheAndShape();
    Repaint();
    m_maskSource = value;
    Changed(L"MaskUsed");
}

void aicAlphaImage::MaskColor(std::uint32_t value) {
    if (m_maskActive && m_maskSource == 1) {
        UndoMask();
        KnockOut(InversedImage() ? ToRGB(value) ^ 0xFFFFFF : ToRGB(value));
        m_maskKey = value;
        RebuildCacheAndShape();
        Repaint();
    }
    m_maskColor = value;
    Changed(L"MaskColor");
}

void aicAlphaImage::ApplyLoadedEffects() {
    if (m_mirror) m_image->MirrorImage(m_mirror & 1, m_mirror & 2);
    if (m_maskActive) {
        if (m_image->Alpha()) {
            m_maskActive = false;
            m_maskSource = 0;
        } else {
            if (m_maskSource >= 2) {
                const std::int32_t right = m_image->Width() - 1, bottom = m_image->Height() - 1;
                const std::int32_t x = (m_maskSource == 3 || m_maskSource == 5) ? right : 0;
                const std::int32_t y = (m_maskSource == 4 || m_maskSource == 5) ? bottom : 0;
                std::uint8_t alpha = 0;
                m_maskKey = static_cast<std::uint32_t>(m_image->GetPixel(x, y, alpha, false)) &
                            0xFFFFFF;
            }
            KnockOut(ToRGB(m_maskKey));
        }
    }
    if (InversedImage()) m_image->MakeImageInverse();
    Relayout();
}

// ---- Loading ----

std::int32_t aicAlphaImage::IconWidth(std::int32_t requested) const {
    return requested < 1 ? Width() : requested;
}

std::int32_t aicAlphaImage::IconHeight(std::int32_t requested) const {
    return requested < 1 ? Height() : requested;
}

bool aicAlphaImage::AfterLoad(bool loaded) {
    if (loaded) {
        ApplyLoadedEffects();
        return true;
    }
    // The image object is empty now; a cache must not go on showing the old picture.
    if (m_cache) {
        RebuildCacheAndShape();
        Repaint();
    }
    return false;
}

bool aicAlphaImage::LoadImage_FromArray(std::span<const std::uint8_t> inStream,
                                        std::int32_t desiredIconWidth,
                                        std::int32_t desiredIconHeight,
                                        std::int32_t desiredIconBitDepth) {
    return AfterLoad(m_image->LoadPicture_Stream(
        inStream, IconWidth(desiredIconWidth), IconHeight(desiredIconHeight), 0, 0,
        m_keepOriginalFormat || !UserModeNow(),
        desiredIconBitDepth < 1 ? 32 : desiredIconBitDepth));
}

bool aicAlphaImage::LoadImage_FromFile(const std::filesystem::path& Filename,
                                       std::int32_t desiredIconWidth,
                                       std::int32_t desiredIconHeight,
                                       std::int32_t desiredIconBitDepth) {
    return AfterLoad(m_image->LoadPicture_File(Filename, IconWidth(desiredIconWidth),
                                               IconHeight(desiredIconHeight),
                                               m_keepOriginalFormat || !UserModeNow(),
                                               desiredIconBitDepth < 1 ? 32 : desiredIconBitDepth));
}

bool aicAlphaImage::LoadImage_FromOrignalBytes(std::int32_t desiredIconWidth,
                                               std::int32_t desiredIconHeight,
                                               std::int32_t desiredIconBitDepth) {
    return AfterLoad(m_image->LoadPicture_FromOrignalFormat(
        IconWidth(desiredIconWidth), IconHeight(desiredIconHeight),
        desiredIconBitDepth < 1 ? 32 : desiredIconBitDepth));
}

void aicAlphaImage::ClearImage() {
    if (m_flags & kFlagCacheInUse) DropCache();
    m_image->DestroyDIB();
    if (UserModeNow()) {
        BuildHitShape();
        Repaint();
    } else {
        MakePlaceholder(m_drawnWidth, m_drawnHeight);
        LayoutImage();
    }
}

bool aicAlphaImage::GetImageBytes(std::vector<std::uint8_t>& imgBytes, std::int32_t& scanWidth,
                                  bool, bool asBGRformat, bool asBottomUp, bool asPremultiplied) {
    if (!m_image->BitsPointer() || IsPlaceholder()) return false;
    scanWidth = m_image->scanWidth();
    DibBitsFormat format;
    format.asBGRformat = asBGRformat;
    format.asBottomUp = asBottomUp;
    format.asPremultiplied = asPremultiplied;
    return m_image->GetDIBbits(imgBytes, format);
}

bool aicAlphaImage::SetImageBytes(std::span<const std::uint8_t> imgBytes, bool, bool isBGRformat,
                                  bool isBottomUp) {
    DibBitsFormat format;
    format.asBGRformat = isBGRformat;
    format.asBottomUp = isBottomUp;
    if (!m_image->SetDIBbits(imgBytes, format)) return false;
    if (!RenderCache(false, true)) BuildHitShape();
    Repaint();
    return true;
}

bool aicAlphaImage::GetOriginalBytes(std::vector<std::uint8_t>& bytes) const {
    if (IsPlaceholder()) return false;
    return m_image->GetOrginalFormat(bytes);
}

void aicAlphaImage::LoadForPage(std::span<const std::uint8_t> bytes, std::int32_t iconWidth,
                                std::int32_t iconHeight, std::int32_t bitDepth) {
    m_image->LoadPicture_Stream(bytes, iconWidth, iconHeight, 0, 0, true, bitDepth);
    // The control takes the picture's own size: actual size with auto-size, just this once.
    const bool autoSize = AutoSize();
    const std::int32_t method = m_scaleMethod;
    m_flags |= kFlagAutoSize;
    m_scaleMethod = 3;
    Relayout();
    if (!autoSize) m_flags &= ~kFlagAutoSize;
    m_scaleMethod = method;
    Changed(L"ScaleMethod");
}

// ---- Layout ----

void aicAlphaImage::GetImageScales(std::int32_t& width, std::int32_t& height, std::int32_t method,
                                   std::int32_t desiredWidth, std::int32_t desiredHeight,
                                   bool asRotatedImage) {
    if (!m_image->BitsPointer()) return;
    ScaleRequest request;
    request.imageWidth = m_image->Width();
    request.imageHeight = m_image->Height();
    request.method = method < 0 ? m_scaleMethod : std::min(method, 4);
    request.desiredWidth = desiredWidth < 1 ? Width() : desiredWidth;
    request.desiredHeight = desiredHeight < 1 ? Height() : desiredHeight;
    request.rotated = asRotatedImage;
    request.drawnWidth = m_drawnWidth;
    request.drawnHeight = m_drawnHeight;
    ImageScales(request, width, height);
}

void aicAlphaImage::MakePlaceholder(std::int32_t width, std::int32_t height) {
    if (m_image->InitializeDIB(width, height))
        m_image->CreateCheckerBoard(kCheckerSize, kCheckerWhite, kCheckerGrey);
}

void aicAlphaImage::LayoutImage() {
    if (m_drawnWidth < 0) return; // an auto-size resize is in progress
    if (!UserModeNow() && !m_image->BitsPointer()) MakePlaceholder(Width(), Height());

    std::int32_t w = m_drawnWidth, h = m_drawnHeight;
    GetImageScales(w, h, m_scaleMethod, Width(), Height(), m_rotatedLayout);
    m_drawnWidth = w;
    m_drawnHeight = h;
    const ImagePlacement place = PlaceImage(Width(), Height(), w, h, m_image->Width(),
                                            m_image->Height(), m_rotatedLayout, m_scaleMethod);
    m_imageLeft = place.left;
    m_imageTop = place.top;
    m_diagonal = place.diagonal;
    m_unscaled = place.unscaled;

    // Without a picture there is no size to take: the control keeps its own until one comes.
    if (AutoSize() && m_image->BitsPointer()) {
        m_drawnWidth = -w; // the resize below must not lay out again
        m_imageLeft = m_imageTop = 0;
        if (m_rotatedLayout) Resize(place.diagonal, place.diagonal);
        else Resize(w, h);
        m_drawnWidth = w;
    }
    RebuildCacheAndShape();
}

void aicAlphaImage::Relayout() {
    const std::int32_t width = Width(), height = Height();
    LayoutImage();
    if (width == Width() && height == Height()) Repaint();
}

void aicAlphaImage::OnResize() { LayoutImage(); }

void aicAlphaImage::OnShow() {
    if (m_enabled && UserModeNow()) AttachHover();
    if (m_drawnWidth == 0) Relayout();
}

void aicAlphaImage::OnHide() {
    StopFade();
    if (m_enabled && m_attached) DetachHover();
}

// ---- Cache and hit shape ----

void aicAlphaImage::DropCache() { m_cache.reset(); }

bool aicAlphaImage::RenderCache(bool forced, bool updateHit) {
    if (!(m_flags & kFlagCacheInUse)) return false;
    if (forced || !m_cache) {
        if (!m_cache) {
            m_cache = std::make_unique<c32bppDIB>();
            m_cache->ManageOwnDC(true);
            m_cache->isAlphaBlendFriendly(true);
        }
        if (m_drawnWidth == 0) return false;
        m_cache->InitializeDIB(Width(), Height());
    } else {
        m_cache->EraseDIB();
    }
    DrawIntoCache();
    if (updateHit) BuildHitShape();
    return true;
}

void aicAlphaImage::RebuildCacheAndShape() {
    if (!RenderCache(true, true)) BuildHitShape();
}

void aicAlphaImage::BuildHitShape() {
    const RegionRect whole{0, 0, Width(), Height()};
    if (!m_enabled || !UserModeNow()) {
        m_hitShape.SetRect(whole); // a region from before stays in force
        return;
    }
    if (!m_image->BitsPointer() || m_hitTest == 0) {
        m_hitShape.DropRegion();
        m_hitShape.SetRect(whole);
        return;
    }
    m_hitShape.DropRegion();
    const bool temporary = !m_cache;
    if (temporary) {
        m_flags |= kFlagCacheInUse;
        RenderCache(true, false);
    }
    std::vector<RegionRect> rects;
    const c32bppDIB& drawn = *m_cache;
    if (drawn.BitsPointer()) {
        if (!drawn.Alpha()) rects.push_back({0, 0, drawn.Width(), drawn.Height()});
        else rects = AlphaRegionRects(drawn.Pixels(), m_hitTest - 1);
    }
    if (temporary) {
        m_flags &= ~kFlagCacheInUse;
        DropCache();
    }
    if (m_hitTest == 1) {
        m_hitShape.SetRect(rects.empty() ? RegionRect{0, 0, 0, 0} : rects.front());
    } else {
        m_hitShape.SetRegion(std::move(rects));
    }
}

bool aicAlphaImage::HitTest(float x, float y) {
    const std::int32_t px = RoundHalfEven(x), py = RoundHalfEven(y);
    const bool hit = m_hitShape.Contains(px, py);
    if (UserModeNow()) HoverCheck(hit, x, y);
    return hit;
}

// ---- Pointer events ----

bool aicAlphaImage::RaiseMouse(
    const std::function<void(std::int16_t&, std::int16_t&, float&, float&)>& event,
    std::int16_t button, std::int16_t shift, float x, float y) {
    float ux = static_cast<float>(PixelsToUnit(x, m_scaleUnit));
    float uy = static_cast<float>(PixelsToUnit(y, m_scaleUnit));
    return Raise(event, button, shift, ux, uy);
}

void aicAlphaImage::OnPointer(const PointerArgs& args) {
    switch (args.action) {
    case PointerAction::Down: RaiseMouse(MouseDown, args.button, args.shift, args.x, args.y); break;
    case PointerAction::Move: RaiseMouse(MouseMove, args.button, args.shift, args.x, args.y); break;
    case PointerAction::Up: RaiseMouse(MouseUp, args.button, args.shift, args.x, args.y); break;
    }
}

void aicAlphaImage::OnClick() { Raise(Click); }

void aicAlphaImage::OnDblClick() { Raise(DblClick); }

void aicAlphaImage::DragOver(IDataObject* data, std::int32_t& effect, std::int16_t button,
                             std::int16_t shift, float x, float y, std::int16_t state) {
    float ux = static_cast<float>(PixelsToUnit(x, m_scaleUnit));
    float uy = static_cast<float>(PixelsToUnit(y, m_scaleUnit));
    Raise(OLEDragOver, data, effect, button, shift, ux, uy, state);
}

void aicAlphaImage::DragDrop(IDataObject* data, std::int32_t& effect, std::int16_t button,
                             std::int16_t shift, float x, float y) {
    float ux = static_cast<float>(PixelsToUnit(x, m_scaleUnit));
    float uy = static_cast<float>(PixelsToUnit(y, m_scaleUnit));
    Raise(OLEDragDrop, data, effect, button, shift, ux, uy);
}

} // namespace velt
