// The main window as it exists before any code runs: every control with its
// kind, container, text, initial state, geometry in twips and tab index.
#pragma once
#include <cstdint>
#include <span>

namespace dusklet {

enum class ControlKind {
    Frame,         // group box holding other controls
    Picture,       // borderless container
    Label,         // sized to its text
    StatusStrip,   // centred label, white on black
    DropDownList,  // combo box that lets the user choose but not type
    TextBox,
    SpinBar,       // vertical scroll bar used as a spinner
    Option,
    Check,
    Command,
};

// Indices into the layout; the order is the order of creation.
enum ControlId : int {
    idFrame, idPic, idCmbAction, idLbl0, idOpt0, idOpt1, idTxtPeriod, idVsPeriod, idCmbUnit,
    idTxtHour, idVsHour, idTxtMin, idVsMin, idCmbT, idChkForce, idChkBlink, idTxtBlink,
    idVsBlink, idLbl1, idCmdTimer, idLblStatus, kControlCount
};

constexpr int kNoParent = -1;  // placed on the window itself

struct ControlLayout {
    ControlKind kind;
    int parent;  // a ControlId, or kNoParent
    const char16_t* text;
    const char16_t* const* items;  // list entries, null-terminated
    int left, top, width, height;  // twips, from the container's client area
    int tabIndex;
    bool enabled;
    bool checked;   // check boxes and option buttons
    int maxLength;  // text boxes: 0 for no limit
    int16_t min, max, value;  // spin bars: Min at the top end, Max at the bottom
};

constexpr int kClientWidthTwips = 3780;
constexpr int kClientHeightTwips = 4335;
constexpr unsigned kTimerIntervalMs = 500;

std::span<const ControlLayout> MainLayout();

}  // namespace dusklet
