// What the button offers beyond its own drawing: faces from and to files, icon stamps, a blurred
// copy of the screen, and a drop target.
#include "controls/ctlVistorButton_win.h"

#include "platform/App_win.h"
#include "platform/Blur_win.h"
#include "platform/Numbers.h"
#include "platform/Shell_win.h"
#include "platform/Units.h"

#include <ole2.h>

namespace velt {

// Data dropped on the control, surface or caption, raises OLEDragDrop.
class ButtonDropTarget final : public IDropTarget {
public:
    explicit ButtonDropTarget(ctlVistorButton* button) : m_button(button) {}
    void Detach() { m_button = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDropTarget) {
            *object = static_cast<IDropTarget*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD keys, POINTL, DWORD* effect) override {
        m_keys = keys;
        if (effect) *effect = Choose(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL, DWORD* effect) override {
        m_keys = keys;
        if (effect) *effect = Choose(*effect);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at,
                                   DWORD* effect) override {
        std::int32_t chosen = static_cast<std::int32_t>(Choose(effect ? *effect : DROPEFFECT_NONE));
        if (m_button && m_button->hWnd()) {
            // The buttons that carried the data: by the time of the drop they are up.
            std::int16_t button = ctlVistorButton::ButtonMask(m_keys | keys);
            std::int16_t shift = ctlVistorButton::ShiftMask(keys, (keys & MK_ALT) != 0);
            POINT client{at.x, at.y};
            ScreenToClient(m_button->hWnd(), &client);
            float x = static_cast<float>(PixelsToTwips(client.x));
            float y = static_cast<float>(PixelsToTwips(client.y));
            AddRef(); // the handler may destroy the control, which lets go of this object
            try {
                m_button->Raise(m_button->OLEDragDrop, data, chosen, button, shift, x, y);
            } catch (...) {
                // nothing may unwind through the system's drag loop: the drop is over
            }
            Release();
        }
        if (effect) *effect = static_cast<DWORD>(chosen);
        return S_OK;
    }

private:
    static DWORD Choose(DWORD allowed) {
        if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
        if (allowed & DROPEFFECT_MOVE) return DROPEFFECT_MOVE;
        if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
        return DROPEFFECT_NONE;
    }

    ctlVistorButton* m_button;
    ULONG m_references = 1;
    DWORD m_keys = 0;
};

void ctlVistorButton::StartDDp() {
    if (m_dropTarget || !hWnd()) return;
    HRESULT started = OleInitialize(nullptr);
    if (FAILED(started)) return; // a thread in the wrong apartment takes no drops
    m_oleStarted = true;
    auto* target = new ButtonDropTarget(this);
    if (FAILED(RegisterDragDrop(hWnd(), target))) {
        target->Release();
        return;
    }
    m_dropTarget = target;
}

void ctlVistorButton::OnUnload() {
    MinSz.Actif(false);
    if (m_dropTarget) {
        RevokeDragDrop(hWnd());
        m_dropTarget->Detach();
        m_dropTarget->Release();
        m_dropTarget = nullptr;
    }
    if (m_oleStarted) {
        OleUninitialize();
        m_oleStarted = false;
    }
}

void ctlVistorButton::Save() {
    std::wstring folder = AppPath();
    // Bitmap files, replaced without a question; an empty face writes nothing.
    if (PicUp.BitsPointer()) PicUp.SaveToFile(folder + L"\\Pic1.bmp", false);
    if (PicDown.BitsPointer()) PicDown.SaveToFile(folder + L"\\Pic2.bmp", false);
    if (PicOver.BitsPointer()) PicOver.SaveToFile(folder + L"\\Pic3.bmp", false);
}

void ctlVistorButton::SkinUp(const std::wstring& Path, const std::wstring& File,
                             const std::wstring& ext) {
    // A file that does not load leaves its face as it was.
    for (auto [face, number] :
         {std::pair{&PicUp, L"1"}, std::pair{&PicOver, L"2"}, std::pair{&PicDown, L"3"}}) {
        const std::wstring file = Path + L"\\" + File + number + ext;
        c32bppDIB probe; // a failed load empties the image it runs on
        if (probe.LoadPicture_File(file)) face->LoadPicture_File(file);
    }
    ShowFace(PicUp);
}

void ctlVistorButton::Draw(const std::wstring& pth, std::int16_t x, std::int16_t Y,
                           std::int16_t s) {
    std::wstring file = pth;
    std::int16_t index = 0;
    size_t comma = pth.rfind(L',');
    if (comma != std::wstring::npos) {
        file = pth.substr(0, comma);
        ParseInt16(pth.substr(comma + 1), index); // not a number: icon 0
    }
    // The file itself must exist, not the file with its ",index" suffix.
    if (!PathExists(file)) return;
    UniqueIcon icon = AssociatedIcon(file, static_cast<WORD>(index));
    if (!icon) return;
    for (c32bppDIB* face : {&PicUp, &PicDown, &PicOver})
        if (HDC dc = FaceDC(*face)) DrawIconEx(dc, x, Y, icon.get(), s, s, 0, nullptr, DI_NORMAL);
    icon.reset();
    LayOut();
    ShowFace(PicUp);
}

void ctlVistorButton::GetBkg(std::int16_t x, std::int16_t Y) {
    HDC face = FaceDC(PicUp);
    if (!face) return;
    WindowDC screen(GetDesktopWindow(), true);
    if (!screen) return;
    int width = PicUp.Width(), height = PicUp.Height();
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    AlphaBlend(face, 0, 0, width, height, screen.get(), TwipsToPixels(x), TwipsToPixels(Y), width,
               height, half);
    BlurInPlace(face, width, height, 0, 0);
    ShowFace(PicUp);
}

} // namespace velt
