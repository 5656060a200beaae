#pragma once
// An in-memory container and window manager for the alpha image control: windows with owners
// and properties, a pointer the test moves, and window timers on a clock the test advances.
#include "imaging/HoverPlatform.h"
#include "platform/WindowlessControl.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace velt::test {

class FakeWindows final : public HoverPlatform {
public:
    struct WindowInfo {
        Window topLevel = 0;
        Window owner = 0;
        Point origin{}; // client area on the screen
    };

    void AddWindow(Window window, Window topLevel, Window owner = 0, Point origin = {}) {
        m_windows[window] = {topLevel ? topLevel : window, owner, origin};
    }
    void MovePointer(Point screen, Window under) {
        m_cursor = screen;
        m_under = under;
    }

    // Runs every timer due by now + milliseconds, in the order they fall due.
    void Advance(std::uint32_t milliseconds) {
        const std::uint64_t until = m_now + milliseconds;
        for (;;) {
            auto next = std::min_element(
                m_timers.begin(), m_timers.end(),
                [](const Timer& a, const Timer& b) { return a.due < b.due; });
            if (next == m_timers.end() || next->due > until) break;
            m_now = next->due;
            const std::uintptr_t id = next->id;
            next->due = m_now + next->period; // a window timer repeats until it is killed
            AlphaImageTimers::Tick(id);
        }
        m_now = until;
    }
    std::uint64_t Now() const { return m_now; }
    bool TimerRunning(Window window, std::uintptr_t id) const {
        return std::any_of(m_timers.begin(), m_timers.end(),
                           [&](const Timer& t) { return t.window == window && t.id == id; });
    }
    size_t TimerCount() const { return m_timers.size(); }
    bool HasProp(Window window, const std::wstring& name) const {
        return m_props.count({window, name}) != 0;
    }
    size_t PropCount() const { return m_props.size(); }

    Point CursorPos() override { return m_cursor; }
    Window WindowFromPoint(Point) override { return m_under; }
    Point ClientOrigin(Window window) override { return m_windows[window].origin; }
    Window TopLevel(Window window) override {
        return m_windows.count(window) ? m_windows[window].topLevel : 0;
    }
    Window Owner(Window window) override {
        return m_windows.count(window) ? m_windows[window].owner : 0;
    }
    std::uintptr_t ReadProp(Window window, const std::wstring& name) override {
        auto found = m_props.find({window, name});
        return found == m_props.end() ? 0 : found->second;
    }
    void WriteProp(Window window, const std::wstring& name, std::uintptr_t value) override {
        m_props[{window, name}] = value;
    }
    void DeleteProp(Window window, const std::wstring& name) override {
        m_props.erase({window, name});
    }
    void SetTimer(Window window, std::uintptr_t id, std::uint32_t milliseconds) override {
        KillTimer(window, id);
        m_timers.push_back({window, id, m_now + milliseconds, milliseconds});
    }
    void KillTimer(Window window, std::uintptr_t id) override {
        std::erase_if(m_timers, [&](const Timer& t) { return t.window == window && t.id == id; });
    }

private:
    struct Timer {
        Window window;
        std::uintptr_t id;
        std::uint64_t due;
        std::uint32_t period;
    };
    std::map<Window, WindowInfo> m_windows;
    std::map<std::pair<Window, std::wstring>, std::uintptr_t> m_props;
    std::vector<Timer> m_timers;
    Point m_cursor{};
    Window m_under = 0;
    std::uint64_t m_now = 0;
};

// A container that records what its controls ask of it.
class FakeSite final : public WindowlessSite {
public:
    explicit FakeSite(std::uintptr_t window, bool userMode = true, std::int32_t scaleMode = 1)
        : m_window(window), m_userMode(userMode), m_scaleMode(scaleMode) {}
    ~FakeSite() override {
        for (WindowlessControl* control : m_controls) control->SetSite(nullptr);
    }

    void Add(WindowlessControl& control, int left, int top, int width, int height) {
        control.SetSite(this);
        m_controls.push_back(&control);
        control.Move(left, top, width, height);
        control.ContainerShown(true);
    }

    std::uintptr_t ContainerWindow() const override { return m_window; }
    void InvalidateControl(const WindowlessControl&, const Rect&) override { ++invalidations; }
    void RemoveControl(WindowlessControl& control) override { std::erase(m_controls, &control); }
    bool UserMode() const override { return m_userMode; }
    std::int32_t ScaleMode() const override { return m_scaleMode; }

    int invalidations = 0;

private:
    std::uintptr_t m_window;
    bool m_userMode;
    std::int32_t m_scaleMode;
    std::vector<WindowlessControl*> m_controls;
};

} // namespace velt::test
