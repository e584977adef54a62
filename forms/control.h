#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hvr {

enum class ControlKind {
    Label,
    TextBox,
    CommandButton,
    OptionButton,
    Frame,
    PictureBox,
    Shape,
    ComboBox,
    Menu,
    Timer,
    Table, // rows of data, shown by a view of the window's own
    Form,  // the window itself: caption and outer size
};

// Colours are 0x00BBGGRR; values with the top bit set name system colours.
namespace colors {
inline constexpr std::uint32_t kRed = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x00C000;
inline constexpr std::uint32_t kPurple = 0x800080;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kButtonFace = 0x8000000F;
inline constexpr std::uint32_t kWindowText = 0x80000008;
inline constexpr std::uint32_t kWindowBackground = 0x80000005;
inline constexpr std::uint32_t kInfoBackground = 0x80000018;
inline constexpr std::uint32_t kDarkGreen = 0x008000;
inline constexpr std::uint32_t kCurveBackground = 0x404040;
inline constexpr std::uint32_t kStale = 0x808080; // readings that are no longer live
} // namespace colors

// How a control is drawn and takes input, as designed: its font, how its text is aligned, and
// what a box, a button or a label does beyond showing its text. Part of each control's row in
// its form's table; a binder reads it, no view decides it by name.
enum class Align : std::uint8_t { Left, Right, Center };
struct Design {
    const char* font = "宋体";
    double points = 9;
    bool bold = false;
    Align align = Align::Left;
    bool readOnly = false;    // a box that shows, and takes no typing
    bool caretHidden = false; // a box whose text cursor is never drawn
    bool takesFocus = true;
    bool frame = true;
    int maxLength = 0;          // characters a box takes; 0: any
    bool shrinkToFit = false;   // a label whose font shrinks when its text would not fit
    bool link = false;          // a label that is clicked as a whole, with a pointing hand
    bool round = false;         // a shape drawn as a circle
    bool canvas = false;        // a picture box painted from the form's picture
    bool defaultButton = false; // the button Enter presses
    const char* shortcut = "";  // a menu entry's key ("F2")
};
namespace design {
inline constexpr Design kPlain{};
} // namespace design

// Position and size in twips (1/1440 inch), relative to the container.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

// One control of a form as the program sees it: caption or text, visibility, enabled state,
// selection, colours, position, timer interval. Every change bumps revision(), so a view
// re-renders only what moved.
class Control {
  public:
    Control(ControlKind kind, std::string_view name, std::string_view container, std::string_view caption,
            Rect rect, bool visible = true, bool enabled = true, const Design& design = design::kPlain);

    ControlKind kind() const { return m_kind; }
    const std::string& name() const { return m_name; }
    const std::string& container() const { return m_container; }
    const Design& design() const { return m_design; }
    std::uint64_t revision() const { return m_revision; }

    const std::string& text() const { return m_text; }
    void setText(std::string_view text);

    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Selection of an option button.
    bool value() const { return m_value; }
    void setValue(bool value);

    std::uint32_t foreColor() const { return m_foreColor; }
    void setForeColor(std::uint32_t color);
    std::uint32_t backColor() const { return m_backColor; }
    void setBackColor(std::uint32_t color);
    std::uint32_t fillColor() const { return m_fillColor; }
    void setFillColor(std::uint32_t color);
    std::uint32_t borderColor() const { return m_borderColor; }
    void setBorderColor(std::uint32_t color);

    const Rect& rect() const { return m_rect; }
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);

    const std::string& toolTip() const { return m_toolTip; }
    void setToolTip(std::string_view toolTip);
    const std::vector<std::string>& items() const { return m_items; }
    void setItems(std::vector<std::string> items);

    // Something drawn in the control changed (a picture box's picture).
    void invalidate() { changed(); }

    // Everything back as the design had it (a window created anew); the revision moves on.
    void restore(const Control& design) {
        const std::uint64_t revision = m_revision;
        *this = design;
        m_revision = revision;
        changed();
    }

  private:
    void changed() { ++m_revision; }

    ControlKind m_kind;
    std::string m_name;
    std::string m_container;
    std::string m_text;
    bool m_visible;
    bool m_enabled;
    bool m_value = false;
    std::uint32_t m_foreColor = colors::kWindowText;
    std::uint32_t m_backColor = colors::kButtonFace;
    std::uint32_t m_fillColor = colors::kButtonFace;
    std::uint32_t m_borderColor = colors::kWindowText;
    Rect m_rect;
    int m_interval = 0;
    std::string m_toolTip;
    std::vector<std::string> m_items;
    std::uint64_t m_revision = 0;
    Design m_design;
};

} // namespace hvr
