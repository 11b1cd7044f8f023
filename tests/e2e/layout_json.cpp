// Prints the windows' layout tables as JSON, so that the end-to-end tests and
// the benchmark's reference program read the same table as the program:
//   {"main": {window, controls: [...]}, "about": {...}, "menu": [...], "seconds_left": "...",
//    "messages": {...}}
// with the tray icon's popup menu (null for a separator), the status strip's
// text after the seconds left while armed, and the numbers of the messages a
// test sends as the shell or the system would.
#include <cstdio>
#include <span>
#include <string>

#include "about/frmAbout_layout.h"
#include "app/frmMain_layout.h"
#include "app/frmWarning_layout.h"
#include "app/main_event.h"
#include "tests/utf8.h"
#include "tray/notify_icon.h"

namespace {

using namespace dusklet;

const char* KindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Frame: return "Frame";
    case ControlKind::Picture: return "Picture";
    case ControlKind::Label: return "Label";
    case ControlKind::TextLabel: return "TextLabel";
    case ControlKind::Link: return "Link";
    case ControlKind::StatusStrip: return "StatusStrip";
    case ControlKind::Image: return "Image";
    case ControlKind::DropDownList: return "DropDownList";
    case ControlKind::TextBox: return "TextBox";
    case ControlKind::SpinBar: return "SpinBar";
    case ControlKind::Option: return "Option";
    case ControlKind::Check: return "Check";
    case ControlKind::Command: return "Command";
    case ControlKind::Touch: return "Touch";
    case ControlKind::Name: return "Name";
    }
    return "";
}

std::string Quoted(std::u16string_view text) {
    std::string out = "\"";
    for (char c : testing::Narrow(text)) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void Print(const char* name, const WindowLayout& window, std::span<const ControlLayout> rows, bool last) {
    std::printf("\"%s\": {\"caption\": %s, \"width\": %d, \"height\": %d, \"controls\": [\n", name,
                Quoted(window.caption).c_str(), window.clientWidth, window.clientHeight);
    for (const ControlLayout& r : rows) {
        std::string items = "[";
        for (const ListItem& item : r.items) {
            if (items.size() > 1) items += ", ";
            items += Quoted(item.text);
        }
        items += "]";
        std::string parent = "null";
        if (r.parent != kOnWindow) {
            parent = "\"";
            parent += rows[static_cast<size_t>(r.parent)].name;
            parent += "\"";
        }
        std::printf(
            "  {\"name\": \"%s\", \"id\": %d, \"kind\": \"%s\", \"parent\": %s, \"text\": %s, \"items\": %s, "
            "\"left\": %d, \"top\": %d, \"width\": %d, \"height\": %d, \"tab_stop\": %s, \"group\": %s, "
            "\"enabled\": %s, \"checked\": %s, \"max_length\": %d, \"min\": %d, \"max\": %d, \"value\": %d}%s\n",
            r.name, ControlWindowId(r.id), KindName(r.kind), parent.c_str(), Quoted(r.text).c_str(), items.c_str(),
            r.rect.left, r.rect.top, r.rect.width, r.rect.height, TabStop(r) ? "true" : "false",
            StartsGroup(rows, r.id) ? "true" : "false", r.enabled ? "true" : "false", r.checked ? "true" : "false",
            r.maxLength, r.min, r.max, r.value, &r == &rows.back() ? "" : ",");
    }
    std::printf("]}%s\n", last ? "" : ",");
}

}  // namespace

int main() {
    std::printf("{\n");
    Print("main", kMainWindow, kMainLayout, false);
    Print("about", kAboutWindow, kAboutLayout, false);
    Print("warning", kWarningWindow, kWarningLayout, false);
    std::string menu = "[";
    for (const MenuItem& item : kPopupMenu) {
        if (menu.size() > 1) menu += ", ";
        menu += item.caption ? Quoted(item.caption) : "null";
    }
    std::printf("\"menu\": %s],\n\"seconds_left\": %s,\n", menu.c_str(), Quoted(texts::kSecondsLeft).c_str());
    std::printf("\"messages\": {\"tray_callback\": %u, \"balloon_click\": %u, \"timer_id\": %u}\n}\n",
                static_cast<unsigned>(kTrayCallbackMessage), static_cast<unsigned>(TrayNotification::BalloonClick),
                kTimerId);
}
