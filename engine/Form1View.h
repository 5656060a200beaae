#pragma once
// What the main window does for the engine: its own visibility (it is the overview), the
// overview's pictures, the tray menu's desktop entries, the tray icon and the password prompt.
#include "platform/Desktop.h"

#include <string>
#include <vector>

namespace velt {

class Form1View {
public:
    virtual ~Form1View() = default;

    virtual WindowId Handle() = 0;
    virtual bool Visible() = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void ZOrder() = 0; // front of the z-order
    virtual void MakeTopmost() = 0;
    virtual void DoEvents() = 0;

    // Captures the screen into thumbnail index, marking the list's minimized windows.
    virtual void Iconize(int index, const std::vector<WindowId>& list) = 0;
    // Takes the overview's background from the screen behind it.
    virtual void BlurBkg() = 0;
    // Frames thumbnail index.
    virtual void PlacePointer(int index) = 0;
    // Borders the thumbnail under the cursor and no other.
    virtual void HoverHighlight() = 0;

    virtual void CheckDesktopEntry(int index, bool checked) = 0;
    virtual void RemoveTrayIcon() = 0;

    virtual bool PromptVisible() = 0;
    // The typed answer, or the empty text when cancelled.
    virtual std::wstring InputDialog(const std::wstring& caption, const std::wstring& prompt) = 0;
};

} // namespace velt
