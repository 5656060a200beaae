#pragma once
// FrmAbout: the About window, built from its definition. Its face is a picture with transparent
// click areas: Image1 starts the zoom that grows the panel dyna and the window, the others open
// their Tag through the shell.
#include "controls/ctlVistorButton_win.h"
#include "dialogs/FrmAbout.h"
#include "platform/ClickArea_win.h"
#include "platform/Form_win.h"
#include "platform/PictureBox_win.h"
#include "platform/Surface_win.h"

#include <functional>
#include <string>

namespace velt {

class FrmAbout final : public Form {
public:
    FrmAbout();
    ~FrmAbout() override;

    // Creates the window afresh (dyna hidden, the timer off, "About Velt") and shows it, not
    // modal; an open window is only brought to the front.
    bool Open();
    bool IsOpen() const { return hWnd() != nullptr; }

    // Where the links go; the shell by default.
    std::function<void(const std::wstring& target)> OpenLink;
    // Told after each zoom tick, with the counter; for whoever watches the animation.
    std::function<void(std::int16_t counter)> ZoomTicked;

    ClickArea Image1; // starts the zoom
    ClickArea Image4;
    ctlVistorButton Btn2; // OK
    PictureBox dyna;
    ClickArea Image3; // inside dyna
    ClickArea Image2;

    void Image1_Click();
    void Btn2_Click();
    const AboutZoom& Zoom() const { return m_zoom; }

protected:
    void OnTimer(UINT_PTR id) override;
    void OnUnload() override;
    bool DrawsItself() const override { return true; }
    void OnPaint(HDC dc) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Load();
    void Link(const ClickArea& area);
    void tmr_Timer();

    AboutZoom m_zoom;
    Surface m_face; // the window's picture
    UINT m_tickMilliseconds = AboutZoom::kTickMilliseconds;
};

} // namespace velt
