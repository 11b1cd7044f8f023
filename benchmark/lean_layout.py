#!/usr/bin/env python3
"""Writes the C header of the benchmark's lean reference program from the
layout tables that the native build writes as JSON (build/native/layout.json).

Usage: lean_layout.py LAYOUT_JSON OUTPUT_HEADER

Each row of Dusklet's main window becomes the window class, styles and
geometry that Dusklet's Win32 binding (win32/toolkit/win_controls.cpp) gives a control
of that kind, so the lean program makes the same windows without a table of
its own. Texts are written in code page 936 as C byte escapes.
"""
import json
import os
import sys

# Kind -> (class, style, extended style, room for a dropped list in twips).
# The same as the table of styles by kind in win32/toolkit/win_controls.cpp (kStyles);
# tab stops and groups come from the rows, as the binding takes them.
KINDS = {
    "Frame": ("BUTTON", "BS_GROUPBOX", "WS_EX_CONTROLPARENT", 0),
    "Picture": ("STATIC", "0", "WS_EX_CONTROLPARENT", 0),
    "Label": ("STATIC", "SS_LEFT | SS_NOPREFIX", "0", 0),
    "TextLabel": ("STATIC", "SS_LEFT | SS_NOPREFIX | SS_NOTIFY", "0", 0),
    "Link": ("STATIC", "SS_CENTER | SS_NOPREFIX | SS_NOTIFY", "0", 0),
    "StatusStrip": ("STATIC", "SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX", "0", 0),
    "Name": ("STATIC", "SS_LEFT | SS_NOPREFIX", "0", 0),
    "Image": ("STATIC", "SS_BITMAP | SS_NOTIFY", "0", 0),
    "DropDownList": ("COMBOBOX", "CBS_DROPDOWNLIST | WS_VSCROLL", "0", 2400),
    "TextBox": ("EDIT", "ES_AUTOHSCROLL", "WS_EX_CLIENTEDGE", 0),
    "SpinBar": ("SCROLLBAR", "SBS_VERT", "0", 0),
    "Option": ("BUTTON", "BS_AUTORADIOBUTTON", "0", 0),
    "Check": ("BUTTON", "BS_AUTOCHECKBOX", "0", 0),
    "Command": ("BUTTON", "BS_PUSHBUTTON", "0", 0),
}
CONTAINERS = ("Frame", "Picture")


def c_string(text):
    """A C string literal of the text in code page 936, non-ASCII bytes escaped."""
    out, escaped = '"', False
    for byte in text.encode("cp936"):
        ch = chr(byte)
        if byte < 0x20 or byte >= 0x7F or ch in '"\\?':
            out += "\\x%02x" % byte
            escaped = True
            continue
        if escaped and ch in "0123456789abcdefABCDEF":
            out += '" "'  # ends the escape before a character that would extend it
        out += ch
        escaped = False
    return out + '"'


def scroll(row):
    """Range end and position of a spin bar's scroll bar, as ui/spin_range.cpp
    maps Min (top end) to Max (bottom end)."""
    step = 1 if row["max"] >= row["min"] else -1
    positions = (row["max"] - row["min"]) * step
    return positions, min(max((row["value"] - row["min"]) * step, 0), positions)


def header(layout):
    main = layout["main"]
    rows = main["controls"]
    index = {r["name"]: i for i, r in enumerate(rows)}
    lines = [
        "/* Written by benchmark/lean_layout.py from the layout tables: Dusklet's",
        "   main window as the lean reference program makes it. Do not edit. */",
        "#define LEAN_CLIENT_WIDTH %d /* twips */" % main["width"],
        "#define LEAN_CLIENT_HEIGHT %d" % main["height"],
        "#define LEAN_CONTROL_COUNT %d" % len(rows),
        "#define LEAN_STATUS %d /* the status strip's row */" % index["lblStatus"],
        "#define LEAN_SECONDS_LEFT %s" % c_string(layout["seconds_left"]),
        "",
        "typedef struct LeanRow {",
        "    const char* cls;",
        "    const char* text;",
        "    const char* const* items; /* list entries, null-terminated; or none */",
        "    DWORD style, exStyle;",
        "    int windowId;",
        "    int parent; /* the container's row, or -1 for the window */",
        "    int left, top, width, height; /* twips; the height includes a dropped list */",
        "    int container; /* passes its children's messages up */",
        "    int fitText; /* sized to its text */",
        "    int maxLength, scrollEnd, scrollPos, checked;",
        "} LeanRow;",
        "",
    ]
    for i, r in enumerate(rows):
        if r["items"]:
            lines.append("static const char* const kItems%d[] = {%s, 0};" % (
                i, ", ".join(c_string(t) for t in r["items"])))
    lines.append("static const LeanRow kRows[LEAN_CONTROL_COUNT] = {")
    for i, r in enumerate(rows):
        cls, style, ex, list_twips = KINDS[r["kind"]]
        if r["tab_stop"]:
            style += " | WS_TABSTOP"
        if r["group"]:
            style += " | WS_GROUP"
        if not r["enabled"]:
            style += " | WS_DISABLED"
        scroll_end, scroll_pos = scroll(r) if r["kind"] == "SpinBar" else (0, 0)
        lines.append('    {"%s", %s, %s, %s, %s, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d, %d}, /* %s */' % (
            cls, c_string(r["text"]), "kItems%d" % i if r["items"] else "0", style, ex, r["id"],
            index[r["parent"]] if r["parent"] else -1, r["left"], r["top"], r["width"], r["height"] + list_twips,
            r["kind"] in CONTAINERS, r["kind"] == "Label", r["max_length"], scroll_end, scroll_pos,
            r["kind"] in ("Option", "Check") and r["checked"], r["name"]))
    lines.append("};")
    menu = layout["menu"]
    lines.append("")
    lines.append("/* The tray icon's popup menu; a null caption is a separator. */")
    lines.append("#define LEAN_MENU_COUNT %d" % len(menu))
    lines.append("static const char* const kMenu[LEAN_MENU_COUNT] = {%s};" % ", ".join(
        c_string(t) if t is not None else "0" for t in menu))
    return "\n".join(lines) + "\n"


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        layout = json.load(f)
    text = header(layout)
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[2])), exist_ok=True)
    with open(sys.argv[2], "w", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
