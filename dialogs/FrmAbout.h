#pragma once
// The About window's rules that need no window: the zoom's steps and where its links lead.
#include <cstdint>
#include <optional>
#include <string>

namespace velt {

// A rectangle in twips, fractional as the zoom computes it.
struct TwipsBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The zoom grows the panel dyna from the zoom area's corner to 15000 x 15360 twips at the
// window's top left, while the window slides towards the screen's top left corner and grows to
// the same size. Quadratic easing: fast at first, slow at the end.
class AboutZoom {
public:
    static constexpr std::int16_t kStartCounter = 100;
    static constexpr std::int16_t kStep = 2;
    static constexpr std::uint32_t kTickMilliseconds = 12;

    // Starts (or starts again) from the window's place at that moment, twips.
    void Start(std::int32_t windowLeft, std::int32_t windowTop);
    bool Running() const { return m_running; }

    struct Frame {
        TwipsBox dyna;   // in the window's client area
        TwipsBox window; // outer, on the screen
    };
    // One tick: nothing once the zoom has ended. The tick that finds the counter below 1 ends
    // the zoom and still moves, so a zoom takes 51 ticks.
    std::optional<Frame> Tick();
    std::int16_t Counter() const { return m_counter; }

private:
    std::int16_t m_counter = 0;
    std::int32_t m_left = 0;
    std::int32_t m_top = 0;
    bool m_running = false;
};

// Where a link of the window leads: "{app}" stands for the program's folder, so that a link
// can name a file shipped beside the program or the folder itself; anything else (a web
// address, "mailto:") is handed on as it is.
std::wstring ResolveLinkTarget(const std::wstring& target, const std::wstring& appFolder);

} // namespace velt
