#pragma once
// ctlVistorButton: a push button drawn from three pictures, its faces: Up, Over (the pointer
// above it) and Down (pressed), with a caption centred on top. It follows the pointer itself:
// it captures the mouse when the pointer enters and lets go when it leaves, and with
// UseAlphaBlend the change between Up and Over fades over a few 40 ms ticks of its Minuteur.
// The control always takes the size of its Up face.
#include "controls/Minuteur_win.h"
#include "imaging/c32bppDIB.h"
#include "platform/Handles_win.h"
#include "platform/Surface_win.h"
#include "platform/WindowDefinition.h"
#include "platform/Window_win.h"
#include "platform/WindowlessControl.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct IDataObject;

namespace velt {

class ButtonDropTarget;

class ctlVistorButton final : public Window {
public:
    ctlVistorButton(); // fades on the system's timers
    explicit ctlVistorButton(TimerPlatform& timers);
    ~ctlVistorButton() override;

    // Creates the control as a child of parent at (left, top) in twips with the size the host
    // gives it, shows its Up face and takes that face's size.
    bool Create(HWND parent, int leftTwips, int topTwips, int widthTwips = 0, int heightTwips = 0);
    // Creates it where its definition places it and reads its persisted properties from there.
    bool Create(HWND parent, const ControlDefinition& definition);

    // Persisted properties: "ImgUp", "ImgDown", "ImgOver", "Caption", "UseAlphaBlend", "Panel".
    void InitProperties(); // a new instance placed on a host
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // A check-mark flag for the host; the control never reads it.
    bool Marked = false;
    void DoFadeOut(); // shows the Up face
    void DoSetCapture();
    void DoReleaseCapture();
    bool UseAlphaBlend() const { return m_useAlphaBlend; }
    void UseAlphaBlend(bool Valeur);
    std::wstring Caption() const { return m_caption; }
    void Caption(const std::wstring& strCaption); // re-centred horizontally
    bool Panel() const { return m_panel; }        // presses on the surface show no Down face
    void Panel(bool Value);
    // A face's picture as a new bitmap; setting one takes a copy (null clears the face).
    UniqueBitmap ImgUp() const { return FaceBitmap(PicUp); }
    void ImgUp(HBITMAP Valeur);
    UniqueBitmap ImgDown() const { return FaceBitmap(PicDown); }
    void ImgDown(HBITMAP Valeur);
    UniqueBitmap ImgOver() const { return FaceBitmap(PicOver); }
    void ImgOver(HBITMAP Valeur);
    void refimg();     // the control takes the Up face's size and picture
    void RefImgOver(); // the same from the Over face
    void Save();       // Pic1.bmp (Up), Pic2.bmp (Down), Pic3.bmp (Over) in the program's folder
    // Stamps the icon of pth ("file" or "file,index") on all three faces at (x, Y), s x s pixels.
    void Draw(const std::wstring& pth, std::int16_t x, std::int16_t Y, std::int16_t s);
    void StartDDp();     // data dropped on the control then raises OLEDragDrop
    bool IsOver() const; // the window under the pointer is this control's
    // Blends the screen at (x, Y) twips over the Up face at half strength, blurs it, shows it.
    void GetBkg(std::int16_t x, std::int16_t Y);
    std::int32_t Handle() const; // the window handle; 0 when there is none
    // Loads Up, Over and Down from Path\File1ext, Path\File2ext and Path\File3ext.
    void SkinUp(const std::wstring& Path, const std::wstring& File, const std::wstring& ext);

    // Events, in declaration order. Button: 1 left, 2 right, 4 middle; Shift: 1 Shift, 2 Ctrl,
    // 4 Alt; X and Y in twips. The control may be destroyed by any handler.
    std::function<void()> Click;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y)> MouseUp;
    std::function<void(IDataObject* Data, std::int32_t& Effect, std::int16_t& Button,
                       std::int16_t& Shift, float& X, float& Y)>
        OLEDragDrop;
    std::function<void(float& X, float& Y)> MouseOver;
    std::function<void()> MouseOut;

    // Not an event of the control: tells a designer which property a setter changed.
    std::function<void(const std::wstring& key)> PropertyChanged;

protected:
    void OnLoad() override;
    void OnResize() override;
    void OnUnload() override;
    void OnTimer(UINT_PTR id) override;
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class ButtonDropTarget;
    enum class Part { None, Surface, Caption };

    // The caption: a windowless label on the control's own surface, taking the pointer over its
    // text, except while a press on the surface lasts.
    class CaptionLabel final : public WindowlessControl {
    public:
        explicit CaptionLabel(ctlVistorButton& owner) : m_owner(owner) {}
        void Paint(NativeDC dc) override;
        bool HitTest(float, float) override { return true; }
        bool TakesPointer() const override { return m_owner.m_pressedPart != Part::Surface; }
        void OnPointer(const PointerArgs& args) override { m_owner.CaptionPointer(args); }
        void OnClick() override { m_owner.CaptionClick(); }
        void OnDblClick() override { m_owner.CaptionDblClick(); }

    private:
        ctlVistorButton& m_owner;
    };

    // Faces are image objects, drawn from (and on) through their own device contexts.
    static HDC FaceDC(c32bppDIB& face) {
        return face.BitsPointer() ? face.LoadDIBinDC(true) : nullptr;
    }
    static UniqueBitmap FaceBitmap(const c32bppDIB& face);
    void ShowFace(c32bppDIB& face);
    void Blend(c32bppDIB& face, int alpha);
    void LayOut();
    void MeasureCaption();
    void FitImage();
    void TakePicture(c32bppDIB& face);
    void Changed(const wchar_t* key);

    // The events' Button and Shift values from the system's key flags (MK_...).
    static std::int16_t ButtonMask(WPARAM keys);
    static std::int16_t ShiftMask(WPARAM keys, bool altDown);
    void PlaceCaption();
    void OnPointer(UINT message, WPARAM wParam, LPARAM lParam); // the surface's own
    void CaptionPointer(const PointerArgs& args);
    void CaptionClick();
    void CaptionDblClick();
    void SurfaceMove(std::int16_t button, std::int16_t shift, float x, float y);
    void CaptionMove(std::int16_t button, std::int16_t shift, float x, float y);
    void Enter(); // the pointer came in: capture it and head for Over
    bool Inside(float x, float y) const;
    bool Track(bool inside, float x, float y); // false once the control is gone
    void Press(bool onCaption, std::int16_t button, std::int16_t shift, float x, float y);
    bool Release(bool onCaption, std::int16_t button, std::int16_t shift, float x, float y);
    void MinSz_Action();

    // Raises an event through a copy of its handler; false when the handler destroyed the control.
    template <typename Event, typename... Args>
    bool Raise(const Event& event, Args&... args) {
        if (!event) return true;
        std::shared_ptr<bool> alive = m_alive;
        Event handler = event;
        handler(args...);
        return *alive;
    }

    // mutable: a face's device context is made on first use, also by the const getters.
    mutable c32bppDIB PicUp, PicOver, PicDown;
    Surface m_image;        // what the control shows under its caption; kept across repaints
    c32bppDIB m_background; // the picture refimg gave the control
    Minuteur MinSz;

    std::wstring m_caption = L"TovikButton"; // lblCaption
    UniqueFont m_captionFont;
    double m_captionLeft = 0; // twips, in the control
    double m_captionTop = 0;
    int m_captionWidth = 0; // pixels: the label sizes itself to its text
    int m_captionHeight = 0;
    CaptionLabel lblCaption{*this};

    bool m_captured = false;
    std::int32_t m_pressed = 0;
    bool m_over = false;
    std::int32_t m_fadeLevel = 0; // 0 to 128; 128 is fully faded towards Over
    bool m_useAlphaBlend = false;
    bool m_panel = false;

    Part m_pressedPart = Part::None; // where the held buttons went down
    POINT m_lastPointer{-1, -1};     // the last move seen, client pixels
    bool m_doubleClick = false;
    ButtonDropTarget* m_dropTarget = nullptr; // counted reference while registered
    bool m_oleStarted = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace velt
