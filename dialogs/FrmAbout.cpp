#include "dialogs/FrmAbout.h"

namespace velt {

namespace {

// The zoom area's corner, where dyna starts, and the size everything grows to (twips).
constexpr double kZoomLeft = 5020;
constexpr double kZoomTop = 1060;
constexpr double kGrownWidth = 15000;
constexpr double kGrownHeight = 15360;
// The window grows from these by g times the second number.
constexpr double kWindowWidthBase = 7575, kWindowWidthGrowth = 7425;
constexpr double kWindowHeightBase = 7635, kWindowHeightGrowth = 7725;

} // namespace

void AboutZoom::Start(std::int32_t windowLeft, std::int32_t windowTop) {
    m_counter = kStartCounter;
    m_left = windowLeft;
    m_top = windowTop;
    m_running = true;
}

std::optional<AboutZoom::Frame> AboutZoom::Tick() {
    if (!m_running) return std::nullopt;
    if (m_counter < 1) m_running = false; // this last tick still moves
    m_counter = static_cast<std::int16_t>(m_counter - kStep);
    const double ratio = m_counter / 100.0;
    const double f = ratio * ratio;
    const double g = 1 - f;
    Frame frame;
    frame.dyna = {f * kZoomLeft, f * kZoomTop, g * kGrownWidth, g * kGrownHeight};
    frame.window = {f * m_left, f * m_top, g * kWindowWidthGrowth + kWindowWidthBase,
                    g * kWindowHeightGrowth + kWindowHeightBase};
    return frame;
}

std::wstring ResolveLinkTarget(const std::wstring& target, const std::wstring& appFolder) {
    static constexpr std::wstring_view kApp = L"{app}";
    std::wstring resolved = target;
    for (std::size_t at = resolved.find(kApp); at != std::wstring::npos;
         at = resolved.find(kApp, at + appFolder.size()))
        resolved.replace(at, kApp.size(), appFolder);
    return resolved;
}

} // namespace velt
