#include "app/frmMain_layout.h"

#include "app/texts.h"

namespace dusklet {
namespace {

constexpr const char16_t* kActions[] = {texts::kPowerOff, texts::kRestart, texts::kLogOff,
                                        texts::kSuspend, texts::kHibernate, nullptr};
constexpr const char16_t* kUnits[] = {texts::kHours, texts::kMinutes, texts::kSecondsUnit, nullptr};
constexpr const char16_t* kHalfDay[] = {texts::kAM, texts::kPM, nullptr};

using K = ControlKind;

// kind, parent, text, items, left, top, width, height, tab, enabled, checked, maxLength, min, max, value
constexpr ControlLayout kLayout[kControlCount] = {
    {K::Frame, kNoParent, u" 设置", nullptr, 180, 180, 3435, 3315, 8, true, false, 0, 0, 0, 0},  // frame
    {K::Picture, idFrame, u"", nullptr, 150, 930, 3075, 825, 10, true, false, 0, 0, 0, 0},  // pic
    {K::DropDownList, idFrame, u"", kActions, 900, 420, 2295, 315, 0, true, false, 0, 0, 0, 0},  // cmbAction
    {K::Label, idFrame, u"动作", nullptr, 180, 480, 360, 180, 5, true, false, 0, 0, 0, 0},  // lbl(0)
    {K::Option, idPic, u"之内", nullptr, 30, 60, 675, 195, 18, true, true, 0, 0, 0, 0},  // opt(0)
    {K::Option, idPic, u"于", nullptr, 30, 540, 675, 195, 17, true, false, 0, 0, 0, 0},  // opt(1)
    {K::TextBox, idPic, u"1", nullptr, 750, 0, 495, 315, 20, true, false, 3, 0, 0, 0},  // txtPeriod
    {K::SpinBar, idPic, u"", nullptr, 1230, 0, 165, 315, 16, true, false, 0, 999, 1, 1},  // vsPeriod
    {K::DropDownList, idPic, u"", kUnits, 1530, 0, 1515, 315, 19, true, false, 0, 0, 0, 0},  // cmbUnit
    {K::TextBox, idPic, u"1", nullptr, 750, 480, 495, 315, 14, false, false, 2, 0, 0, 0},  // txtHour
    {K::SpinBar, idPic, u"", nullptr, 1230, 480, 165, 315, 15, false, false, 0, 12, 1, 1},  // vsHour
    {K::TextBox, idPic, u"00", nullptr, 1530, 480, 495, 315, 12, false, false, 2, 0, 0, 0},  // txtMin
    {K::SpinBar, idPic, u"", nullptr, 2010, 480, 165, 315, 13, false, false, 0, 59, 0, 0},  // vsMin
    {K::DropDownList, idPic, u"", kHalfDay, 2310, 480, 735, 315, 11, false, false, 0, 0, 0, 0},  // cmbT
    {K::Check, idFrame, u"强制终止进程", nullptr, 210, 1920, 3075, 255, 1, true, true, 0, 0, 0, 0},  // chkForce
    {K::Check, idFrame, u"图标闪动之前执行", nullptr, 210, 2340, 2475, 255, 2, true, true, 0, 0, 0, 0},  // chkBlink
    {K::TextBox, idFrame, u"30", nullptr, 900, 2760, 495, 315, 3, true, false, 3, 0, 0, 0},  // txtBlink
    {K::SpinBar, idFrame, u"", nullptr, 1380, 2760, 165, 315, 9, true, false, 0, 999, 1, 30},  // vsBlink
    {K::Label, idFrame, u"秒", nullptr, 1680, 2820, 180, 180, 6, true, false, 0, 0, 0, 0},  // lbl(1)
    {K::Command, kNoParent, texts::kStartButton, nullptr, 180, 3660, 3435, 315, 4, true, false, 0, 0, 0, 0},  // cmdTimer
    {K::StatusStrip, kNoParent, texts::kStartStatus, nullptr, 0, 4140, 3795, 195, 7, true, false, 0, 0, 0, 0},  // lblStatus
};

}  // namespace

std::span<const ControlLayout> MainLayout() { return kLayout; }

}  // namespace dusklet
