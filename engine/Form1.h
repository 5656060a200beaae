#pragma once
// The desktop engine: nine desktop slots in a 3 x 3 grid, switching between them, tracking which
// windows belong to the current one, and the triggers read on every poll.
#include "engine/Form1View.h"
#include "engine/RecoveryRecord.h"
#include "platform/Desktop.h"
#include "settings/Settings.h"

#include <array>
#include <string>
#include <vector>

namespace velt {

inline constexpr int kSlotCount = 9;
inline constexpr int kStartSlot = 4;   // the centre of the grid
inline constexpr int kEdgeWidth = 2;   // pixels from a border that count as the edge
inline constexpr int kDwellLimit = 10; // polls on an edge before it switches

class Form1 {
public:
    Form1(Desktop& desktop, Form1View& view, const Settings& settings);

    // Slot model: each slot's windows in insertion order, its password (empty: unlocked).
    std::array<std::vector<WindowId>, kSlotCount> Dex;
    std::array<std::wstring, kSlotCount> SlotPasswords;
    int CurrentSlot = kStartSlot;
    int EdgeDwell = 0;

    // Moves to slot Index, carrying window drg along (0: none).
    void GoZorvan(int Index, WindowId drg = 0);
    // Centres a window on the screen and raises it.
    void cenwin(WindowId lng);

    // Rebuilds list from the visible top-level windows; returns the new count.
    int RefreshWindowList(std::vector<WindowId>& list);
    bool CollectWindow(WindowId window, std::vector<WindowId>& list);
    // Clears lng when that window must not be carried to another desktop.
    void refine(WindowId& lng);

    // The 100 ms poll and the 6 s thumbnail refresh.
    void Timer1_Timer();
    void Timer2_Timer();
    // One run of the screen-edge check, and one step of its dwell counter.
    void GetKeyPos();
    bool htt();

    // Shows again every window of every unlocked slot; runs once.
    void Form_Terminate();

    bool OverviewHotkeyHeld();

    // Keeps store told of the windows that a crash would strand (none: nothing is recorded).
    void SetRecoveryStore(RecoveryStore* store) { m_recovery = store; }
    // The windows that are hidden now and that the normal exit would show again: those of every
    // unlocked slot other than current, each once, sorted.
    std::vector<WindowId> HiddenWindows(int current) const;

private:
    // Gives the keyboard focus to the frontmost window of slot that takes it, or to the shell.
    void FocusDesktop(int slot);
    // Writes the record when windows differ from what it holds.
    void RecordHiddenWindows(std::vector<WindowId> windows);

    RecoveryStore* m_recovery = nullptr;
    std::vector<WindowId> m_recorded;
    bool m_recordWritten = false;
    Desktop& m_desktop;
    Form1View& m_view;
    const Settings& m_settings;
    WindowId m_taskbar = 0; // looked up once per enumeration pass, not once per window
    bool m_inTick = false;
    bool m_terminated = false;
};

} // namespace velt
