// A window as it exists before any code runs: one row per control, with its
// kind, container, text, initial state and geometry in twips. The Win32
// binding creates real windows from such a table, in the order of its rows,
// the tests in-memory controls, and the forms reach each control through the
// table's ids. The rows' order is also the order Tab follows: the window's
// reading order.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "ui/controls.h"

namespace dusklet {

enum class ControlKind : uint8_t {
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
    // A label of no width that names the control after it for screen readers,
    // which take the label before a control (in the order of creation) for
    // its name: what the number or list beside it sets.
    Name,
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
template <> struct ModelFor<ControlKind::Name> { using type = Label; };
template <> struct ModelFor<ControlKind::Image> { using type = Image; };
template <> struct ModelFor<ControlKind::DropDownList> { using type = ComboBox; };
template <> struct ModelFor<ControlKind::TextBox> { using type = TextBox; };
template <> struct ModelFor<ControlKind::SpinBar> { using type = ScrollBar; };
template <> struct ModelFor<ControlKind::Option> { using type = OptionButton; };
template <> struct ModelFor<ControlKind::Check> { using type = CheckBox; };
template <> struct ModelFor<ControlKind::Command> { using type = Button; };
template <> struct ModelFor<ControlKind::Touch> { using type = Button; };
// clang-format on

// Whether a control of this kind ever takes the keyboard focus. A spin bar
// does not: it is clicked, and Up and Down in its box step it.
constexpr bool TakesFocus(ControlKind kind) {
    switch (kind) {
    case ControlKind::DropDownList:
    case ControlKind::TextBox:
    case ControlKind::Option:
    case ControlKind::Check:
    case ControlKind::Command: return true;
    default: return false;
    }
}

constexpr int kOnWindow = -1;  // parent of a control placed on the window itself

struct TwipsRect {
    int16_t left, top, width, height;  // from the container's client area
};

// A drop-down list's entry: the text it shows and what it means to the
// program (its item data), which the handlers read instead of the text.
struct ListItem {
    const char16_t* text;
    int32_t data;
};

// The control's name, as the tests and the layout's JSON know it. The
// executable has no use for names and keeps none: there the name is an empty
// type that takes no room, and its text is never stored.
#ifdef DUSKLET_ROW_NAMES
using RowName = const char*;
#else
struct RowName {
    constexpr RowName(const char*) {}
};
#endif

// Its fields are as narrow as their values, so that a table costs the
// program as little as it can.
struct ControlLayout {
    int8_t id;  // the row's place in its table
    ControlKind kind;
    int8_t parent;  // the id of the container, or kOnWindow
    [[no_unique_address]] RowName name;
    const char16_t* text;
    std::span<const ListItem> items;  // list entries
    TwipsRect rect;
    bool enabled;
    bool checked;             // check boxes and option buttons
    uint8_t maxLength;        // text boxes: 0 for no limit
    int16_t min, max, value;  // spin bars: Min at the top end, Max at the bottom
};

// The window's own properties, in twips.
struct WindowLayout {
    const char16_t* caption;
    int clientWidth, clientHeight;
};

// The window id (GWL_ID) of a control's window: 100 + its row's id.
constexpr int ControlWindowId(int id) { return 100 + id; }

// Whether the row `id` lies in the container `container`, directly or deeper.
constexpr bool Inside(std::span<const ControlLayout> rows, int id, int container) {
    for (int i = rows[static_cast<size_t>(id)].parent; i != kOnWindow; i = rows[static_cast<size_t>(i)].parent)
        if (i == container) return true;
    return false;
}

// True when every row sits at the place its id names and every container
// comes before what it holds (what the creation loops rely on), with all it
// holds in the rows right after it: the rows' order is then the order of the
// windows, container by container, that Tab and the dialog manager follow.
constexpr bool RowsInOrder(std::span<const ControlLayout> rows, size_t count) {
    if (rows.size() != count) return false;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int parent = rows[i].parent;
        if (rows[i].id != static_cast<int>(i)) return false;
        if (parent == kOnWindow) continue;
        if (parent < 0 || parent >= rows[i].id) return false;
        for (int between = parent + 1; between < rows[i].id; ++between)
            if (!Inside(rows, between, parent)) return false;
    }
    return true;
}

// Whether Tab stops at the control as its row lays it out (WS_TABSTOP): a
// kind that takes the focus, and of an option group only the chosen option
// (the system moves the stop with the choice).
constexpr bool TabStop(const ControlLayout& row) {
    return TakesFocus(row.kind) && (row.kind != ControlKind::Option || row.checked);
}

// Whether the control starts a group (WS_GROUP), within which the arrow keys
// move: every control is a group of its own, except that option buttons in
// rows one after another in one container form one group, started by the
// first of them.
constexpr bool StartsGroup(std::span<const ControlLayout> rows, int id) {
    const ControlLayout& row = rows[static_cast<size_t>(id)];
    if (id == 0 || row.kind != ControlKind::Option) return true;
    const ControlLayout& before = rows[static_cast<size_t>(id) - 1];
    return before.kind != ControlKind::Option || before.parent != row.parent;
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
