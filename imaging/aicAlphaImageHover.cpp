// The alpha image control over time: the pointer entering and leaving its shape, and fades.
// The control has no window, so it learns of entering from the container's hit queries and of
// leaving from a 100 ms poll or from the control that takes the pointer next. Controls in one
// window tree share their bookkeeping through properties of the tree's last owner window.
#include "imaging/aicAlphaImage.h"

#include "platform/Units.h"

#include <algorithm>

namespace velt {

namespace {

constexpr std::uint32_t kHoverPollMilliseconds = 100;
constexpr int kMaxOwnerDepth = 64;

} // namespace

void aicAlphaImage::KillHoverTimer() {
    if (m_container) m_platform.KillTimer(m_container, HoverTimerId());
}

void aicAlphaImage::AttachHover() {
    if (!m_hoverEntry) {
        AlphaImageTimers::Register(HoverTimerId(), this, AlphaImageTimers::Kind::HoverPoll);
        m_hoverEntry = true;
    }
    m_container = ContainerWindow();
    if (!m_container) return;
    m_topLevel = m_platform.TopLevel(m_container);
    m_host = m_topLevel;
    for (int depth = 0; depth < kMaxOwnerDepth; ++depth) {
        const HoverPlatform::Window owner = m_platform.Owner(m_host);
        if (!owner) break;
        m_host = owner;
    }
    if (!m_topLevel || !m_host) return;

    // The windows listed so far; any that does not point back at this host means the list is
    // left over from something else, and it starts again.
    std::vector<HoverPlatform::Window> clients;
    for (int n = 0;; ++n) {
        const HoverPlatform::Window client = m_platform.ReadProp(
            m_host, Prop(L"Client" + std::to_wstring(n)));
        if (!client) break;
        clients.push_back(client);
    }
    const bool stale = std::any_of(clients.begin(), clients.end(), [&](HoverPlatform::Window w) {
        return m_platform.ReadProp(w, Prop(L"Parent")) != m_host;
    });
    if (stale) {
        for (size_t n = 0; n < clients.size(); ++n)
            m_platform.DeleteProp(m_host, Prop(L"Client" + std::to_wstring(n)));
        m_platform.DeleteProp(m_host, Prop(L"Capture"));
        clients.clear();
    }
    const std::wstring ref = Prop(L"Ref" + std::to_wstring(m_topLevel));
    if (std::find(clients.begin(), clients.end(), m_topLevel) != clients.end()) {
        m_platform.WriteProp(m_host, ref, m_platform.ReadProp(m_host, ref) + 1);
    } else {
        m_platform.WriteProp(m_host, Prop(L"Client" + std::to_wstring(clients.size())), m_topLevel);
        m_platform.WriteProp(m_topLevel, Prop(L"Parent"), m_host);
        m_platform.WriteProp(m_host, ref, 1);
    }
    m_attached = true;
}

void aicAlphaImage::DetachHover() {
    if (m_hoverEntry) {
        if (m_tag == L"Timer") {
            KillHoverTimer();
            m_tag.clear();
        }
        AlphaImageTimers::Unregister(HoverTimerId());
        m_hoverEntry = false;
    }
    if (!m_attached) return;
    m_attached = false;
    if (!m_host || !m_topLevel) return;
    if (m_platform.ReadProp(m_host, Prop(L"Capture")) == Identity())
        m_platform.WriteProp(m_host, Prop(L"Capture"), 0);

    std::vector<HoverPlatform::Window> clients;
    for (int n = 0;; ++n) {
        const HoverPlatform::Window client = m_platform.ReadProp(
            m_host, Prop(L"Client" + std::to_wstring(n)));
        if (!client) break;
        clients.push_back(client);
    }
    auto found = std::find(clients.begin(), clients.end(), m_topLevel);
    if (found == clients.end()) return;
    const std::wstring ref = Prop(L"Ref" + std::to_wstring(m_topLevel));
    const std::uintptr_t count = m_platform.ReadProp(m_host, ref);
    if (count > 1) {
        m_platform.WriteProp(m_host, ref, count - 1);
        return;
    }
    // The last entry moves into the slot of the one that goes.
    const size_t slot = static_cast<size_t>(found - clients.begin());
    const size_t last = clients.size() - 1;
    if (slot != last)
        m_platform.WriteProp(m_host, Prop(L"Client" + std::to_wstring(slot)), clients[last]);
    m_platform.DeleteProp(m_host, Prop(L"Client" + std::to_wstring(last)));
    if (clients.size() == 1) m_platform.DeleteProp(m_host, Prop(L"Capture"));
    m_platform.DeleteProp(m_host, ref);
    m_platform.DeleteProp(m_topLevel, Prop(L"Parent"));
}

void aicAlphaImage::HoverCheck(bool hit, float x, float y) {
    if (!m_attached || !m_host) return;
    const std::wstring capture = Prop(L"Capture");
    const std::uintptr_t owner = m_platform.ReadProp(m_host, capture);
    if (owner == Identity()) {
        if (hit) return;
        KillHoverTimer();
        m_tag.clear();
        m_platform.WriteProp(m_host, capture, 0);
        Raise(MouseExit);
        return;
    }
    if (owner) {
        // The other control leaves first, so its MouseExit comes before this one's MouseEnter.
        std::shared_ptr<bool> alive = m_alive;
        if (aicAlphaImage* previous = AlphaImageTimers::FindLive(owner)) previous->LeaveHover();
        if (!*alive) return;
        if (!hit) {
            m_platform.WriteProp(m_host, capture, 0);
            return;
        }
    }
    if (!hit) return;
    const Point cursor = m_platform.CursorPos();
    const Point origin = m_platform.ClientOrigin(m_container);
    m_offset = Point{RoundHalfEven(cursor.x - origin.x - x),
                     RoundHalfEven(cursor.y - origin.y - y)};
    m_platform.WriteProp(m_host, capture, Identity());
    if (!Raise(MouseEnter)) return;
    m_platform.SetTimer(m_container, HoverTimerId(), kHoverPollMilliseconds);
    m_tag = L"Timer";
}

void aicAlphaImage::HoverPoll() {
    KillHoverTimer();
    const std::wstring capture = Prop(L"Capture");
    if (!m_host || m_platform.ReadProp(m_host, capture) != Identity()) {
        m_tag.clear();
        return;
    }
    const Point cursor = m_platform.CursorPos();
    bool inside = false;
    if (m_platform.WindowFromPoint(cursor) == m_container) {
        const Point origin = m_platform.ClientOrigin(m_container);
        inside = m_hitShape.Contains(cursor.x - origin.x - m_offset.x,
                                     cursor.y - origin.y - m_offset.y);
    }
    if (inside) {
        m_platform.SetTimer(m_container, HoverTimerId(), kHoverPollMilliseconds);
        return;
    }
    m_platform.WriteProp(m_host, capture, 0);
    m_tag.clear();
    Raise(MouseExit);
}

void aicAlphaImage::LeaveHover() {
    if (m_tag == L"Timer") {
        KillHoverTimer();
        m_tag.clear();
    }
    Raise(MouseExit);
}

void aicAlphaImage::FadeInOut(std::int32_t FinalOpacity, std::int32_t FadeStepPercent,
                              std::int32_t FadeDelayInterval) {
    StopFade();
    FinalOpacity = std::clamp(FinalOpacity, 0, 100);
    if (FadeStepPercent == 0 || FinalOpacity == m_opacity) return; // only a cancel
    const std::int32_t magnitude = FadeStepPercent == INT32_MIN ? 100 : std::abs(FadeStepPercent);
    m_fadeStep = FinalOpacity < m_opacity ? -magnitude : magnitude;
    if (!m_fadeEntry) {
        AlphaImageTimers::Register(FadeTimerId(), this, AlphaImageTimers::Kind::FadeStep);
        m_fadeEntry = true;
    }
    m_fadeFinal = FinalOpacity;
    m_fadeDelay = FadeDelayInterval > 9 ? FadeDelayInterval : 10;
    FadeStep();
}

void aicAlphaImage::FadeStep() {
    const HoverPlatform::Window container = ContainerWindow();
    if (container) m_platform.KillTimer(container, FadeTimerId());
    if (m_fadeStep == 0) return; // a tick that was already on its way when the fade stopped
    const FadeStepResult next = NextFadeStep(m_opacity, m_fadeStep, m_fadeFinal);
    if (!next.finished) {
        std::shared_ptr<bool> alive = m_alive;
        Opacity(next.opacity);
        if (!*alive) return;
        if (container)
            m_platform.SetTimer(container, FadeTimerId(), static_cast<std::uint32_t>(m_fadeDelay));
        return;
    }
    m_fadeStep = 0;
    std::shared_ptr<bool> alive = m_alive;
    Opacity(m_fadeFinal);
    if (!*alive) return;
    Raise(FadeTerminated, m_opacity);
}

void aicAlphaImage::StopFade() {
    if (m_fadeStep == 0) return;
    const HoverPlatform::Window container = ContainerWindow();
    if (container) m_platform.KillTimer(container, FadeTimerId());
    m_fadeStep = 0;
}

} // namespace velt
