#pragma once
// aicAlphaImage: a windowless control that shows one 32-bit alpha image on its container's
// surface. It scales, rotates, mirrors, inverts and greys the image, draws it with an opacity,
// knocks out a key colour, and takes hits only on the drawn pixels when asked to. It notices the
// pointer entering and leaving its shape by itself (MouseEnter, MouseExit) and can fade its
// opacity over time (FadeInOut, FadeTerminated). Everything is measured in pixels; mouse
// coordinates reach the host in the container's unit.
#include "imaging/AlphaImageMath.h"
#include "imaging/HoverPlatform.h"
#include "imaging/c32bppDIB.h"
#include "platform/PropertyBag.h"
#include "platform/WindowlessControl.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

struct IDataObject;

namespace velt {

class aicAlphaImage final : public WindowlessControl {
public:
    aicAlphaImage(); // hover and fade on the system's timers and windows
    explicit aicAlphaImage(HoverPlatform& platform);
    ~aicAlphaImage() override;

    // A new instance placed by a designer; and the persisted properties.
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag);

    // Properties. Setters that change something report it through PropertyChanged.
    bool AutoRedraw() const { return (m_flags & kFlagAutoRedraw) != 0; }
    void AutoRedraw(bool value);
    std::int32_t HitTest() const { return m_hitTest; }
    void HitTest(std::int32_t value); // 0 whole control, 1 box, 2 row spans, 3 exact shape
    std::uint32_t MaskColor() const { return m_maskColor; }
    void MaskColor(std::uint32_t value);
    std::int32_t MaskUsed() const { return m_maskSource; }
    void MaskUsed(std::int32_t value); // 0 none, 1 MaskColor, 2-5 a corner's colour
    bool InversedImage() const { return (m_flags & kFlagInversed) != 0; }
    void InversedImage(bool value);
    bool AutoSize() const { return (m_flags & kFlagAutoSize) != 0; }
    void AutoSize(bool value);
    std::int32_t ScaleMethod() const { return m_scaleMethod; }
    void ScaleMethod(std::int32_t value);
    bool StretchQuality() const { return (m_flags & kFlagStretchQuality) != 0; }
    void StretchQuality(bool value);
    std::int32_t Opacity() const { return m_opacity; }
    void Opacity(std::int32_t value);
    std::int32_t Mirror() const { return m_mirror; }
    void Mirror(std::int32_t value);
    bool KeepOriginalFormat() const { return m_keepOriginalFormat; }
    void KeepOriginalFormat(bool value);
    std::int32_t grayScale() const { return m_grayFormula + 1; }
    void grayScale(std::int32_t value); // 0 colour, 1-8 grey formula 0-7
    std::int32_t Rotation() const { return m_rotation; }
    void Rotation(std::int32_t value);
    bool Enabled() const { return m_enabled; }
    void Enabled(bool value);
    std::int32_t MousePointer() const { return m_mousePointer; }
    void MousePointer(std::int32_t value);
    const Bytes& MouseIcon() const { return m_mouseIcon; }
    void MouseIcon(const Bytes& value);
    std::int32_t OLEDropMode() const { return m_oleDropMode; }
    void OLEDropMode(std::int32_t value);
    // The packed flag word as persisted.
    std::int32_t Flags() const { return m_flags; }

    // Methods.
    void ClearImage();
    void Refresh();
    bool LoadImage_FromArray(std::span<const std::uint8_t> inStream,
                             std::int32_t desiredIconWidth = 0, std::int32_t desiredIconHeight = 0,
                             std::int32_t desiredIconBitDepth = 0);
    bool LoadImage_FromFile(const std::filesystem::path& Filename,
                            std::int32_t desiredIconWidth = 0, std::int32_t desiredIconHeight = 0,
                            std::int32_t desiredIconBitDepth = 0);
    bool LoadImage_FromOrignalBytes(std::int32_t desiredIconWidth = 0,
                                    std::int32_t desiredIconHeight = 0,
                                    std::int32_t desiredIconBitDepth = 0);
    // asBottomUp and isBottomUp: the last array row is the picture's top row.
    bool GetImageBytes(std::vector<std::uint8_t>& imgBytes, std::int32_t& scanWidth,
                       bool asArray2D = false, bool asBGRformat = true, bool asBottomUp = false,
                       bool asPremultiplied = false);
    bool SetImageBytes(std::span<const std::uint8_t> imgBytes, bool isArray2D = false,
                       bool isBGRformat = true, bool isBottomUp = false);
    // ScaleMethod -1 means the control's own; desired sizes below 1 mean the control's size.
    void GetImageScales(std::int32_t& Width, std::int32_t& Height, std::int32_t ScaleMethod = -1,
                        std::int32_t desiredWidth = 0, std::int32_t desiredHeight = 0,
                        bool asRotatedImage = false);
    void FadeInOut(std::int32_t FinalOpacity, std::int32_t FadeStepPercent = 10,
                   std::int32_t FadeDelayInterval = 30);

#ifdef _WIN32
    bool LoadImage_FromStdPicture(IPicture* stdPic);
    bool LoadImage_FromClipboard();
    bool LoadImage_FromHandle(HANDLE Handle); // a bitmap, metafile or icon handle
    bool LoadImage_FromResource(HMODULE ResourceHost, const wchar_t* ResSection,
                                const wchar_t* ResID, std::int32_t desiredIconWidth = 0,
                                std::int32_t desiredIconHeight = 0,
                                std::int32_t desiredIconBitDepth = 0);
#endif

    // For the image source page only.
    bool GetOriginalBytes(std::vector<std::uint8_t>& bytes) const;
    void LoadForPage(std::span<const std::uint8_t> bytes, std::int32_t iconWidth,
                     std::int32_t iconHeight, std::int32_t bitDepth);
    c32bppDIB& ImageObject() { return *m_image; }
    // For other instances: the pointer was taken from this one.
    void LeaveHover();

    // Events, in declaration order. X and Y are in the container's unit. A handler may destroy
    // the control.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> MouseExit;
    std::function<void()> MouseEnter;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseUp;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(IDataObject* Data, std::int32_t& Effect, std::int16_t& Button,
                       std::int16_t& Shift, float& X, float& Y)>
        OLEDragDrop;
    std::function<void(IDataObject* Data, std::int32_t& Effect, std::int16_t& Button,
                       std::int16_t& Shift, float& X, float& Y, std::int16_t& State)>
        OLEDragOver;
    std::function<void(std::int32_t opacity)> FadeTerminated;

    // Not an event of the control: tells a designer which property a setter changed.
    std::function<void(const std::wstring& name)> PropertyChanged;

    // The window-toolkit side (WindowlessControl).
    void Paint(NativeDC dc) override;
    bool HitTest(float x, float y) override;
    bool TakesPointer() const override { return m_enabled; }
    void OnPointer(const PointerArgs& args) override;
    void OnClick() override;
    void OnDblClick() override;
    std::uintptr_t CursorOver() const override {
        return static_cast<std::uintptr_t>(m_mousePointer);
    }
    // Data dragged over or dropped on the control (State: 0 enter, 1 leave, 2 over).
    void DragOver(IDataObject* data, std::int32_t& effect, std::int16_t button, std::int16_t shift,
                  float x, float y, std::int16_t state);
    void DragDrop(IDataObject* data, std::int32_t& effect, std::int16_t button, std::int16_t shift,
                  float x, float y);

    // Layout as it stands, for tests and hosts.
    std::int32_t DrawnWidth() const { return m_drawnWidth; }
    std::int32_t DrawnHeight() const { return m_drawnHeight; }
    std::int32_t ImageLeft() const { return m_imageLeft; }
    std::int32_t ImageTop() const { return m_imageTop; }
    bool RotatedLayout() const { return m_rotatedLayout; }
    bool HasCache() const { return m_cache != nullptr; }
    const c32bppDIB* Cache() const { return m_cache.get(); }
    const HitShape& Shape() const { return m_hitShape; }
    bool MaskActive() const { return m_maskActive; }
    std::uint32_t MaskKey() const { return m_maskKey; }
    const std::wstring& Tag() const { return m_tag; }
    std::wstring PropertyPrefix() const { return m_prefix; }

protected:
    void OnResize() override;
    void OnShow() override;
    void OnHide() override;

private:
    friend void AlphaImageTimers::Tick(std::uintptr_t id);

    bool UserModeNow() const;
    void Changed(const wchar_t* name);
    void Repaint();
    std::uint32_t ToRGB(std::uint32_t colour) const;

    // Layout and drawing.
    void LayoutImage();
    void Relayout();
    bool RenderCache(bool forced, bool updateHit);
    void BuildHitShape();
    void RebuildCacheAndShape(); // RenderCache forced with hit update, else BuildHitShape
    void DropCache();
    // Platform half (aicAlphaImage_win.cpp, aicAlphaImage_native.cpp).
    void DrawIntoCache(); // the image as laid out, at full opacity, in colour
    static std::uint32_t SystemColour(std::int32_t index);
    void MakePlaceholder(std::int32_t width, std::int32_t height);

    // Images and effects.
    void UndoMask();
    void KnockOut(std::uint32_t rgb);
    void ApplyLoadedEffects();
    bool AfterLoad(bool loaded);
    std::int32_t IconWidth(std::int32_t requested) const;
    std::int32_t IconHeight(std::int32_t requested) const;
    bool IsPlaceholder() const { return m_image->ImageType() == itCheckerBoard; }

    // Hover and fade.
    std::uintptr_t Identity() const { return reinterpret_cast<std::uintptr_t>(this); }
    std::uintptr_t HoverTimerId() const { return Identity(); }
    std::uintptr_t FadeTimerId() const { return 0 - Identity(); }
    void AttachHover();
    void DetachHover();
    void HoverCheck(bool hit, float x, float y);
    void HoverPoll();
    void FadeStep();
    void StopFade();
    void KillHoverTimer();
    HoverPlatform::Window ContainerWindow() const;
    std::wstring Prop(const std::wstring& name) const { return m_prefix + name; }

    // Raises an event through a copy of its handler; false when the handler destroyed the control.
    template <typename Event, typename... Args>
    bool Raise(const Event& event, Args&&... args) {
        if (!event) return true;
        std::shared_ptr<bool> alive = m_alive;
        Event handler = event;
        handler(std::forward<Args>(args)...);
        return *alive;
    }
    bool RaiseMouse(const std::function<void(std::int16_t&, std::int16_t&, float&, float&)>& event,
                    std::int16_t button, std::int16_t shift, float x, float y);

    HoverPlatform& m_platform;
    std::unique_ptr<c32bppDIB> m_image;
    std::unique_ptr<c32bppDIB> m_cache;

    std::int32_t m_flags = kFlagsNew;
    std::int32_t m_hitTest = 0;
    std::uint32_t m_maskColor = 0x8000000F; // the system's button face
    std::int32_t m_maskSource = 0;
    std::int32_t m_scaleMethod = 0;
    std::int32_t m_opacity = 100;
    std::int32_t m_mirror = 0;
    bool m_keepOriginalFormat = false;
    std::int32_t m_grayFormula = -1;
    std::int32_t m_rotation = 0;
    bool m_enabled = true;
    std::int32_t m_mousePointer = 0;
    Bytes m_mouseIcon;
    std::int32_t m_oleDropMode = 0;

    // Layout, pixels.
    std::int32_t m_imageLeft = 0;
    std::int32_t m_imageTop = 0;
    std::int32_t m_drawnWidth = 0;
    std::int32_t m_drawnHeight = 0;
    std::int32_t m_diagonal = 0;
    bool m_rotatedLayout = false;
    bool m_unscaled = false;

    HitShape m_hitShape;
    std::uint32_t m_maskKey = 0x8000000F; // the colour knocked out, as it was before inversion
    bool m_maskActive = false;
    std::wstring m_prefix;
    std::int32_t m_scaleUnit = 9; // the container's unit, read when created or loaded

    // Hover and fade.
    HoverPlatform::Window m_container = 0;
    HoverPlatform::Window m_topLevel = 0;
    HoverPlatform::Window m_host =
        0; // the last owner of the top-level window: holds the properties
    Point m_offset{};
    bool m_hoverEntry = false; // the hover poll's id is registered
    bool m_fadeEntry = false;
    bool m_attached = false;
    std::wstring m_tag; // "Timer" while the hover poll runs
    std::int32_t m_fadeStep = 0;
    std::int32_t m_fadeDelay = 30;
    std::int32_t m_fadeFinal = 100;

    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace velt
