#include "platform/Shape_win.h"

#include "platform/Handles_win.h"
#include "platform/Units.h"

namespace velt {

void Shape::Read(const ControlDefinition& definition) {
    const PropertyBag& properties = definition.properties;
    m_left = properties.ReadInteger(L"Left", 0);
    m_top = properties.ReadInteger(L"Top", 0);
    m_width = properties.ReadInteger(L"Width", 0);
    m_height = properties.ReadInteger(L"Height", 0);
    m_borderColor = static_cast<COLORREF>(properties.ReadInteger(L"BorderColor", 0));
    Visible = properties.ReadBoolean(L"Visible", true);
}

void Shape::Move(int leftTwips, int topTwips) {
    m_left = leftTwips;
    m_top = topTwips;
}

void Shape::Move(int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    Move(leftTwips, topTwips);
    m_width = widthTwips;
    m_height = heightTwips;
}

RECT Shape::Pixels() const {
    int left = TwipsToPixels(m_left);
    int top = TwipsToPixels(m_top);
    return RECT{left, top, left + TwipsToPixels(m_width), top + TwipsToPixels(m_height)};
}

void Shape::Draw(HDC dc) const {
    if (!Visible) return;
    RECT r = Pixels();
    UniquePen pen(CreatePen(PS_SOLID, 1, m_borderColor));
    Selected usePen(dc, pen.get());
    Selected noFill(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

} // namespace velt
