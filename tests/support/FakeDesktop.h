#pragma once
// An in-memory desktop: windows with titles, visibility, parents and rectangles in z-order,
// keys, a cursor and a screen, and a log of every show and hide the engine orders.
#include "platform/Desktop.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velt::testing {

struct FakeWindow {
    std::wstring title;
    bool visible = true;
    bool iconic = false;
    WindowId parent = 0;
    Rect rect{100, 100, 500, 400};
    std::uint32_t processId = 77;
    std::wstring className = L"Helper";
};

struct ShowCall {
    WindowId window;
    bool show;
    friend bool operator==(const ShowCall&, const ShowCall&) = default;
};

class FakeDesktop : public Desktop {
public:
    // Adds a window at the back of the z-order and returns its handle.
    WindowId Add(std::wstring title, bool visible = true) {
        WindowId id = m_nextId;
        m_nextId += 4;
        windows[id] = FakeWindow{std::move(title), visible};
        zOrder.push_back(id);
        return id;
    }
    void Close(WindowId id) {
        windows.erase(id);
        std::erase(zOrder, id);
    }
    bool Visible(WindowId id) const {
        auto it = windows.find(id);
        return it != windows.end() && it->second.visible;
    }

    void EnumWindows(const std::function<bool(WindowId)>& visit) override {
        ++enumPasses;
        std::vector<WindowId> order = zOrder;
        for (WindowId id : order)
            if (!visit(id)) return;
    }
    bool IsWindowVisible(WindowId id) override { return Visible(id); }
    bool IsIconic(WindowId id) override {
        auto it = windows.find(id);
        return it != windows.end() && it->second.iconic;
    }
    std::wstring WindowTitle(WindowId id, int bufferChars) override {
        auto it = windows.find(id);
        if (it == windows.end() || bufferChars <= 0) return {};
        return it->second.title.substr(0, static_cast<size_t>(bufferChars - 1));
    }
    void ShowWindow(WindowId id, bool show) override {
        shows.push_back({id, show});
        auto it = windows.find(id);
        if (it != windows.end()) it->second.visible = show;
    }
    bool GetWindowRect(WindowId id, Rect& rect) override {
        auto it = windows.find(id);
        if (it == windows.end()) return false;
        rect = it->second.rect;
        return true;
    }
    void MoveToTop(WindowId id, Point position) override {
        auto it = windows.find(id);
        if (it == windows.end()) return;
        Rect& r = it->second.rect;
        r = Rect{position.x, position.y, position.x + r.right - r.left,
                 position.y + r.bottom - r.top};
        std::erase(zOrder, id);
        zOrder.insert(zOrder.begin(), id);
    }
    WindowId GetParent(WindowId id) override {
        auto it = windows.find(id);
        return it == windows.end() ? 0 : it->second.parent;
    }
    WindowId WindowFromPoint(Point point) override {
        lastPointAsked = point;
        return windowUnderCursor;
    }
    WindowId TaskbarWindow() override { return taskbar; }
    bool IsKeyDown(int vk) override { return vk != 0 && keysDown.count(vk) > 0; }
    Point GetCursorPos() override { return cursor; }
    void SetCursorPos(Point point) override {
        cursor = point;
        cursorMoves.push_back(point);
    }
    Size ScreenSize() override { return screen; }
    bool IsWindow(WindowId id) override { return windows.count(id) > 0; }
    std::uint32_t WindowProcessId(WindowId id) override {
        auto it = windows.find(id);
        return it == windows.end() ? 0 : it->second.processId;
    }
    std::wstring WindowClassName(WindowId id) override {
        auto it = windows.find(id);
        return it == windows.end() ? std::wstring() : it->second.className;
    }
    bool MouseButtonsSwapped() override { return buttonsSwapped; }
    bool Activate(WindowId id) override {
        activations.push_back(id);
        if (!Visible(id) || refusesFocus.count(id)) return false;
        foreground = id;
        return true;
    }
    WindowId ShellWindow() override { return shell; }
    std::vector<int> TakeAltDigitPresses() override { return std::exchange(presses, {}); }

    std::map<WindowId, FakeWindow> windows;
    std::vector<WindowId> zOrder;
    std::vector<ShowCall> shows;
    std::set<int> keysDown;
    Point cursor{500, 400};
    std::vector<Point> cursorMoves;
    Point lastPointAsked;
    WindowId windowUnderCursor = 0;
    WindowId taskbar = 0;
    Size screen{1920, 1080};
    int enumPasses = 0;
    bool buttonsSwapped = false;
    std::vector<WindowId> activations; // every window the engine tried to give the focus
    std::set<WindowId> refusesFocus;
    WindowId foreground = 0;
    WindowId shell = 0;
    std::vector<int> presses; // Alt+digit presses since the engine last asked

private:
    WindowId m_nextId = 0x1000;
};

} // namespace velt::testing
