#include "tests/unit/fakes.h"

namespace dusklet::testing {

std::unique_ptr<Control> MakeMemControl(const ControlLayout& row) {
    std::unique_ptr<Control> made;
    switch (row.kind) {
    case ControlKind::Frame:
    case ControlKind::Picture: made = std::make_unique<MemContainer>(); break;
    case ControlKind::Image: made = std::make_unique<MemImage>(); break;
    case ControlKind::Label:
    case ControlKind::TextLabel:
    case ControlKind::Name:
    case ControlKind::StatusStrip: {
        auto label = std::make_unique<MemLabel>();
        label->caption = row.text;
        made = std::move(label);
        break;
    }
    case ControlKind::Link: {
        auto link = std::make_unique<MemLink>();
        link->caption = row.text;
        made = std::move(link);
        break;
    }
    case ControlKind::Command:
    case ControlKind::Touch: {
        auto button = std::make_unique<MemButton>();
        button->caption = row.text;
        made = std::move(button);
        break;
    }
    case ControlKind::TextBox: {
        auto box = std::make_unique<MemTextBox>();
        box->text = row.text;
        made = std::move(box);
        break;
    }
    case ControlKind::SpinBar: {
        auto bar = std::make_unique<MemScrollBar>();
        bar->range = SpinRange(row.min, row.max);
        bar->position = bar->range.PositionOf(row.value);
        made = std::move(bar);
        break;
    }
    case ControlKind::DropDownList: {
        auto list = std::make_unique<MemComboBox>();
        for (const ListItem& item : row.items) list->AddItem(item.text, item.data);
        made = std::move(list);
        break;
    }
    case ControlKind::Check: {
        auto check = std::make_unique<MemCheckBox>();
        check->value = row.checked ? 1 : 0;
        made = std::move(check);
        break;
    }
    case ControlKind::Option: {
        auto option = std::make_unique<MemOption>();
        option->value = row.checked;
        made = std::move(option);
        break;
    }
    }
    made->SetEnabled(row.enabled);
    return made;
}

void GroupOptions(std::span<const ControlLayout> rows, std::span<Control* const> controls) {
    for (const ControlLayout& a : rows) {
        if (a.kind != ControlKind::Option) continue;
        auto* option = static_cast<MemOption*>(controls[static_cast<size_t>(a.id)]);
        for (const ControlLayout& b : rows)
            if (b.kind == ControlKind::Option && b.parent == a.parent && b.id != a.id)
                option->group.push_back(static_cast<MemOption*>(controls[static_cast<size_t>(b.id)]));
    }
}

std::string Iconv(const char* to, const char* from, std::string in) {
    std::string out(in.size() * 2 + 8, '\0');
    iconv_t cd = iconv_open(to, from);
    char* ip = in.data();
    char* op = out.data();
    size_t il = in.size(), ol = out.size();
    iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    out.resize(out.size() - ol);
    return out;
}

MainFixture::MainFixture() : form(controls.Models(), timer, Services(format)) { host.form = &form; }

MainFixture& MainFixture::Started() {
    form.Form_Initialize();
    log.clear();
    tray.calls.clear();
    return *this;
}

void MainFixture::Arm(const Settings& s) {
    get<ctl::cmbAction>().Choose(s.action);
    if (s.hour) {
        get<ctl::opt1>().Click();
        get<ctl::txtHour>().Paste(s.hour);
        get<ctl::txtMin>().Paste(s.minute);
        get<ctl::cmbT>().Choose(s.half);
    } else {
        get<ctl::cmbUnit>().Choose(s.unit);
        get<ctl::txtPeriod>().Paste(s.amount);
    }
    if (s.lead) get<ctl::txtBlink>().Paste(s.lead);
    if ((get<ctl::chkBlink>().value != 0) != (s.lead != nullptr)) get<ctl::chkBlink>().Click();
    if ((get<ctl::chkForce>().value != 0) != s.force) get<ctl::chkForce>().Click();
    Click();
}

void MainFixture::Pass(int64_t seconds) {
    for (int64_t i = 0; i < seconds && !Ended(); ++i) {
        ++clock.now;
        if (deadline.aimed && *deadline.aimed <= clock.now) {
            deadline.aimed.reset();
            Wake();
        } else if (timer.enabled) {
            TimerTick();
        }
    }
}

Log MainFixture::PowerCalls() const {
    Log calls;
    for (const std::string& line : log)
        for (const char* call : {"ExitWindowsEx", "SetSuspendState", "LockWorkStation", "TurnOffDisplay"})
            if (line.rfind(call, 0) == 0) calls.push_back(line);
    return calls;
}

Log MainFixture::Warnings() const {
    Log shown;
    for (const std::string& line : log)
        if (line.rfind("warn ", 0) == 0) shown.push_back(line.substr(5));
    return shown;
}

const ScheduleEnd kScheduleEnds[5] = {
    {"disarm", false, [](MainFixture& g) { g.Click(); }},
    {"exit", false, [](MainFixture& g) { g.MenuExit(); }},
    {"session end", false, [](MainFixture& g) { g.form.Form_EndSession(); }},
    {"failure", false,
     [](MainFixture& g) {
         g.system.lockResult = false;
         g.Pass(60);
     }},
    {"action", true, [](MainFixture& g) { g.Pass(60); }},
};

void ArmOneMinuteLock(MainFixture& f, const char16_t* lead) {
    f.system.Set(2, 10, 0);
    f.Started();
    f.Arm({.action = u"锁定计算机", .amount = u"60", .lead = lead});
}

}  // namespace dusklet::testing
