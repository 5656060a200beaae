#pragma once
// Windows built from their definition (platform/WindowDefinition.h): the window's own designed
// properties, and the intrinsic controls (labels and text boxes) placed on it. User controls
// create themselves from their block of the same definition.
#include "platform/Handles_win.h"
#include "platform/WindowDefinition.h"
#include "platform/Window_win.h"

#include <functional>
#include <string>

namespace velt {

class Form : public Window {
public:
    // Creates the window with the definition's Caption, BackColor and client area ClientWidth x
    // ClientHeight twips, centred on the screen when StartUpPosition is 2 (its default).
    bool CreateFromDefinition(const ControlDefinition& definition, DWORD style, DWORD exStyle = 0);
    COLORREF BackColor() const { return m_backColor; }

protected:
    // One window at a time: an open window comes to the front as it is; otherwise load builds it
    // and it is shown in front. False when it could not be built.
    bool OpenOrFront(const std::function<bool()>& load);
    // Paints the background and gives labels the window's colour; call it for what is not handled.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    COLORREF m_backColor = GetSysColor(COLOR_BTNFACE);
    UniqueBrush m_background;
};

// Left, Top, Width and Height in twips, as a rectangle in pixels.
RECT PlacementPixels(const PropertyBag& properties);

// FontName (default "Arial"), FontSize in points (default 9) and FontBold.
UniqueFont CreateDefinedFont(const PropertyBag& properties);

class Label {
public:
    // A static text with Caption, ForeColor and the defined font, on the form's background.
    bool Create(HWND parent, const ControlDefinition& definition);
    void SetCaption(const std::wstring& caption);
    std::wstring Caption() const;
    HWND hWnd() const { return m_window; }

private:
    HWND m_window = nullptr; // a child: destroyed with its parent
    UniqueFont m_font;
};

class TextBox {
public:
    // A single-line box with Text and the defined font; PasswordChar, when given, masks it.
    bool Create(HWND parent, const ControlDefinition& definition);
    void SetText(const std::wstring& text);
    std::wstring Text() const;
    HWND hWnd() const { return m_window; }

private:
    HWND m_window = nullptr;
    UniqueFont m_font;
};

} // namespace velt
