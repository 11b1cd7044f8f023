// A window as it exists before any code runs: one row per control, with its
// kind, container, text, initial state, geometry in twips and tab index. The
// Win32 binding creates real windows from such a table, the tests in-memory
// controls, and the forms reach each control through the table's ids.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/controls.h"

namespace dusklet {

enum class ControlKind {
    Frame,         // group box holding other controls
    Picture,       // borderless container
    Label,         // sized to its text
    TextLabel,     // fixed size, the text wraps; takes clicks
    Link,          // centred, clickable, with a font and tooltip of its own
    StatusStrip,   // centred label, white on black
    Image,         // a bitmap at its natural size
    DropDownList,  // combo box that lets the user choose but not type
    TextBox,
    SpinBar,  // vertical scroll bar used as a spinner
    Option,
    Check,
    Command,
    Touch,  // a push button that acts on a click and never takes the focus
};

// Which model type a control of each kind is.
// clang-format off
template <ControlKind K> struct ModelFor { using type = Control; };
template <> struct ModelFor<ControlKind::Frame> { using type = Container; };
template <> struct ModelFor<ControlKind::Picture> { using type = Container; };
template <> struct ModelFor<ControlKind::Label> { using type = Label; };
template <> struct ModelFor<ControlKind::TextLabel> { using type = Label; };
template <> struct ModelFor<ControlKind::Link> { using type = LinkLabel; };
template <> struct ModelFor<ControlKind::StatusStrip> { using type = Label; };
template <> struct ModelFor<ControlKind::Image> { using type = Image; };
template <> struct ModelFor<ControlKind::DropDownList> { using type = ComboBox; };
template <> struct ModelFor<ControlKind::TextBox> { using type = TextBox; };
template <> struct ModelFor<ControlKind::SpinBar> { using type = ScrollBar; };
template <> struct ModelFor<ControlKind::Option> { using type = OptionButton; };
template <> struct ModelFor<ControlKind::Check> { using type = CheckBox; };
template <> struct ModelFor<ControlKind::Command> { using type = Button; };
template <> struct ModelFor<ControlKind::Touch> { using type = Button; };
// clang-format on

// Whether a control of this kind ever takes the keyboard focus.
constexpr bool TakesFocus(ControlKind kind) {
    switch (kind) {
    case ControlKind::DropDownList:
    case ControlKind::TextBox:
    case ControlKind::SpinBar:
    case ControlKind::Option:
    case ControlKind::Check:
    case ControlKind::Command: return true;
    default: return false;
    }
}

constexpr int kOnWindow = -1;  // parent of a control placed on the window itself

struct TwipsRect {
    int left, top, width, height;  // from the container's client area
};

// A drop-down list's entry: the text it shows and what it means to the
// program (its item data), which the handlers read instead of the text.
struct ListItem {
    const char16_t* text;
    int32_t data;
};

struct ControlLayout {
    int id;            // the row's place in its table
    const char* name;  // the control's name, as the tests know it
    ControlKind kind;
    int parent;  // the id of the container, or kOnWindow
    const char16_t* text;
    std::span<const ListItem> items;  // list entries
    TwipsRect rect;
    int tabIndex;
    bool enabled;
    bool checked;             // check boxes and option buttons
    int maxLength;            // text boxes: 0 for no limit
    int16_t min, max, value;  // spin bars: Min at the top end, Max at the bottom
};

// The window's own properties, in twips.
struct WindowLayout {
    const char16_t* caption;
    int clientWidth, clientHeight;
};

// The window id (GWL_ID) of a control's window: 100 + its row's id.
constexpr int ControlWindowId(int id) { return 100 + id; }

// True when every row sits at the place its id names and every container
// comes before what it holds: what the creation loops rely on.
constexpr bool RowsInOrder(std::span<const ControlLayout> rows, size_t count) {
    if (rows.size() != count) return false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].id != static_cast<int>(i)) return false;
        if (rows[i].parent != kOnWindow && (rows[i].parent < 0 || rows[i].parent >= rows[i].id)) return false;
    }
    return true;
}

// Pixels for a length in twips on a screen of `dpi` dots per inch, rounded
// to the nearest pixel (halves away from zero), as the system's MulDiv does.
constexpr int TwipsToPixels(int twips, int dpi) {
    const int scaled = twips * dpi;  // a window's twips at any screen's dpi fit easily
    return scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440);
}

// The controls of one window, created from its table `Rows`, reached by id
// with the model type of the row's kind.
template <const auto& Rows> class ControlSet {
public:
    static constexpr size_t kCount = std::size(Rows);
    explicit ControlSet(const std::array<Control*, kCount>& all) : all_(all) {}

    template <int id> auto& get() const { return static_cast<typename ModelFor<Rows[id].kind>::type&>(*all_[id]); }
    std::span<Control* const> all() const { return all_; }

private:
    std::array<Control*, kCount> all_;
};

}  // namespace dusklet
