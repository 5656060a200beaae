#pragma once
// Ownership of Win32 handles: one move-only template and an alias per kind of handle, plus small
// classes for the pairs that need two values to release. Never wrap what we do not own (other
// programs' windows, shared icons, stock objects).
#include "platform/Win32_win.h"

#include <utility>

namespace velt {

template <typename H, auto Close>
class Unique {
public:
    Unique() = default;
    explicit Unique(H handle) : m_handle(handle) {}
    ~Unique() { reset(); }
    Unique(Unique&& other) noexcept : m_handle(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;

    H get() const { return m_handle; }
    explicit operator bool() const { return m_handle != H{}; }
    H release() { return std::exchange(m_handle, H{}); }
    void reset(H handle = H{}) {
        if (m_handle) Close(m_handle);
        m_handle = handle;
    }

private:
    H m_handle{};
};

using UniqueBitmap = Unique<HBITMAP, DeleteObject>;
using UniqueBrush = Unique<HBRUSH, DeleteObject>;
using UniqueFont = Unique<HFONT, DeleteObject>;
using UniquePen = Unique<HPEN, DeleteObject>;
using UniqueRegion = Unique<HRGN, DeleteObject>;
using UniqueIcon = Unique<HICON, DestroyIcon>;
using UniqueMenu = Unique<HMENU, DestroyMenu>;
using UniqueModule = Unique<HMODULE, FreeLibrary>;
using UniqueHandle = Unique<HANDLE, CloseHandle>; // processes, threads, mutexes: null is none
using UniqueMemoryDC = Unique<HDC, DeleteDC>;     // from CreateCompatibleDC
using UniqueGlobal = Unique<HGLOBAL, GlobalFree>; // GlobalAlloc memory nobody else took over
// Only for windows nobody else destroys: a Window object's native window is its own affair.
using UniqueWindow = Unique<HWND, DestroyWindow>;

// Handles whose failure value is INVALID_HANDLE_VALUE rather than null: held as empty.
template <auto Close>
class UniqueOrInvalid : public Unique<HANDLE, Close> {
public:
    UniqueOrInvalid() = default;
    explicit UniqueOrInvalid(HANDLE handle) : Unique<HANDLE, Close>(Held(handle)) {}
    void reset(HANDLE handle = nullptr) { Unique<HANDLE, Close>::reset(Held(handle)); }

private:
    static HANDLE Held(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }
};
using UniqueFile = UniqueOrInvalid<CloseHandle>; // CreateFile
using UniqueFind = UniqueOrInvalid<FindClose>;   // FindFirstFile

// GetDC / GetWindowDC paired with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window, bool wholeWindow = false)
        : m_window(window), m_dc(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDC() {
        if (m_dc) ReleaseDC(m_window, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return m_dc; }
    explicit operator bool() const { return m_dc != nullptr; }

private:
    HWND m_window;
    HDC m_dc;
};

// BeginPaint / EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) : m_window(window) { BeginPaint(window, &m_paint); }
    ~PaintDC() { EndPaint(m_window, &m_paint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return m_paint.hdc; }
    const RECT& area() const { return m_paint.rcPaint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
};

// OpenClipboard / CloseClipboard.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner = nullptr) : m_open(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (m_open) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return m_open; }

private:
    bool m_open;
};

// SelectObject, undone when the scope ends.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_previous(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selected() {
        if (m_previous) SelectObject(m_dc, m_previous);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

} // namespace velt
