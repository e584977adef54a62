#include "forms/control.h"

namespace hvr {

Control::Control(ControlKind kind, std::string_view name, std::string_view container,
                 std::string_view caption, Rect rect, bool visible, bool enabled, const Design& design)
    : m_kind(kind), m_name(name), m_container(container), m_text(caption), m_visible(visible),
      m_enabled(enabled), m_rect(rect), m_design(design) {}

namespace {
template <typename T, typename U> bool assign(T& field, const U& value) {
    if (field == value) return false;
    field = value;
    return true;
}
} // namespace

void Control::setText(std::string_view text) {
    if (m_text != text) {
        m_text.assign(text);
        changed();
    }
}
void Control::setVisible(bool visible) {
    if (assign(m_visible, visible)) changed();
}
void Control::setEnabled(bool enabled) {
    if (assign(m_enabled, enabled)) changed();
}
void Control::setValue(bool value) {
    if (assign(m_value, value)) changed();
}
void Control::setForeColor(std::uint32_t color) {
    if (assign(m_foreColor, color)) changed();
}
void Control::setBackColor(std::uint32_t color) {
    if (assign(m_backColor, color)) changed();
}
void Control::setFillColor(std::uint32_t color) {
    if (assign(m_fillColor, color)) changed();
}
void Control::setBorderColor(std::uint32_t color) {
    if (assign(m_borderColor, color)) changed();
}
void Control::setLeft(int left) {
    if (assign(m_rect.left, left)) changed();
}
void Control::setTop(int top) {
    if (assign(m_rect.top, top)) changed();
}
void Control::setWidth(int width) {
    if (assign(m_rect.width, width)) changed();
}
void Control::setHeight(int height) {
    if (assign(m_rect.height, height)) changed();
}
void Control::setInterval(int milliseconds) {
    if (assign(m_interval, milliseconds)) changed();
}
void Control::setToolTip(std::string_view toolTip) {
    if (m_toolTip != toolTip) {
        m_toolTip.assign(toolTip);
        changed();
    }
}
void Control::setItems(std::vector<std::string> items) {
    if (assign(m_items, items)) changed();
}

} // namespace hvr
