#include "tests/unit/fakes.h"

#include "base/number_text.h"

namespace dusklet::testing {

frmMainControls MainFixture::Controls() {
    frmMainControls c;
    c.Timer = &timer;
    c.cmdTimer = &cmdTimer;
    c.frame = &frame;
    c.lblStatus = &lblStatus;
    c.pic = &pic;
    c.chkForce = &chkForce;
    c.vsBlink = &vsBlink;
    c.txtBlink = &txtBlink;
    c.chkBlink = &chkBlink;
    c.cmbAction = &cmbAction;
    c.lbl[0] = &lbl0;
    c.lbl[1] = &lbl1;
    c.txtPeriod = &txtPeriod;
    c.cmbUnit = &cmbUnit;
    c.opt[0] = &opt0;
    c.opt[1] = &opt1;
    c.vsPeriod = &vsPeriod;
    c.vsHour = &vsHour;
    c.txtHour = &txtHour;
    c.vsMin = &vsMin;
    c.txtMin = &txtMin;
    c.cmbT = &cmbT;
    return c;
}

MainFixture::MainFixture() : form(Controls(), frmMainServices{host, clock, format, system, tray, gbk}) {
    host.form = &form;
    opt0.other = &opt1;
    opt1.other = &opt0;
    // Initial state from the window's layout.
    Control* controls[kControlCount] = {&frame, &pic, &cmbAction, &lbl0, &opt0, &opt1, &txtPeriod,
                                        &vsPeriod, &cmbUnit, &txtHour, &vsHour, &txtMin, &vsMin, &cmbT,
                                        &chkForce, &chkBlink, &txtBlink, &vsBlink, &lbl1, &cmdTimer,
                                        &lblStatus};
    const auto layout = MainLayout();
    for (int i = 0; i < kControlCount; ++i) {
        const ControlLayout& l = layout[i];
        controls[i]->SetEnabled(l.enabled);
        switch (l.kind) {
        case ControlKind::TextBox: static_cast<MemTextBox*>(controls[i])->text = l.text; break;
        case ControlKind::SpinBar: {
            auto* bar = static_cast<MemScrollBar*>(controls[i]);
            bar->min = l.min;
            bar->max = l.max;
            bar->value = l.value;
            break;
        }
        case ControlKind::DropDownList:
            for (const char16_t* const* item = l.items; *item; ++item)
                static_cast<MemComboBox*>(controls[i])->items.emplace_back(*item);
            break;
        case ControlKind::Check: static_cast<MemCheckBox*>(controls[i])->value = l.checked ? 1 : 0; break;
        case ControlKind::Option: static_cast<MemOption*>(controls[i])->value = l.checked; break;
        case ControlKind::Label:
        case ControlKind::StatusStrip: static_cast<MemLabel*>(controls[i])->caption = l.text; break;
        case ControlKind::Command: static_cast<MemButton*>(controls[i])->caption = l.text; break;
        default: break;
        }
    }
}

MainFixture& MainFixture::Started() {
    form.Form_Initialize();
    log.clear();
    tray.calls.clear();
    return *this;
}

}  // namespace dusklet::testing
