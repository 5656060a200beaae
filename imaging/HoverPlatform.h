#pragma once
// What the alpha image control's hover tracking and fading ask of the window manager: the pointer,
// windows and their properties, and window timers. Timer ticks come back through
// AlphaImageTimers, never straight to a control.
#include "platform/Desktop.h"

#include <cstdint>
#include <string>

namespace velt {

class HoverPlatform {
public:
    using Window = std::uintptr_t;
    virtual ~HoverPlatform() = default;

    virtual Point CursorPos() = 0;
    virtual Window WindowFromPoint(Point screen) = 0;
    // Where the window's client area starts on the screen.
    virtual Point ClientOrigin(Window window) = 0;
    // The top-level window that holds window (window itself when it is one).
    virtual Window TopLevel(Window window) = 0;
    // The owner of a top-level window, 0 when it has none.
    virtual Window Owner(Window window) = 0;

    // Window properties; a missing one reads 0.
    virtual std::uintptr_t ReadProp(Window window, const std::wstring& name) = 0;
    virtual void WriteProp(Window window, const std::wstring& name, std::uintptr_t value) = 0;
    virtual void DeleteProp(Window window, const std::wstring& name) = 0;

    // A timer of window; each tick calls AlphaImageTimers::Tick(id). A second SetTimer with the
    // same window and id replaces the first.
    virtual void SetTimer(Window window, std::uintptr_t id, std::uint32_t milliseconds) = 0;
    virtual void KillTimer(Window window, std::uintptr_t id) = 0;
};

// The running system's (Windows only).
HoverPlatform& SystemHoverPlatform();

class aicAlphaImage;

// The id -> control table behind every control timer: the platform's timer callback is shared,
// and a tick reaches a control only while the control has the id registered.
namespace AlphaImageTimers {

enum class Kind { HoverPoll, FadeStep };

void Register(std::uintptr_t id, aicAlphaImage* control, Kind kind);
void Unregister(std::uintptr_t id);
// The shared callback's way in; an id without an entry is ignored.
void Tick(std::uintptr_t id);
std::size_t Count();

// Every control alive, so that one named in a window property is reached only while it exists.
void AddLive(aicAlphaImage* control);
void RemoveLive(aicAlphaImage* control);
aicAlphaImage* FindLive(std::uintptr_t identity);

} // namespace AlphaImageTimers

} // namespace velt
