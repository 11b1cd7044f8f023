// The program's own texts.
#pragma once

namespace dusklet::texts {

inline constexpr char16_t kMainCaption[] = u"Dusklet  V1.0";
inline constexpr char16_t kProgramTitle[] = u"Dusklet";
inline constexpr char16_t kStartFailed[] = u"Dusklet 无法创建它的窗口，程序将退出。";
inline constexpr char16_t kAlreadyRunning[] = u"Dusklet已经运行中.";
inline constexpr char16_t kAlreadyRunningTitle[] = u"By: Brindle";
inline constexpr char16_t kLockLabel[] = u"锁定计算机";
inline constexpr char16_t kIdleTip[] = u"没设置动作";
inline constexpr char16_t kTipLead[] = u"程序将要在";
inline constexpr char16_t kTipRun[] = u"执行";
inline constexpr char16_t kArmedButton[] = u"禁止定时器(&D)";
inline constexpr char16_t kIdleButton[] = u"激活定时器(&E)";
inline constexpr char16_t kStartButton[] = u"开始定时(&E)";
inline constexpr char16_t kDisarmedStatus[] = u"定时器禁止";
inline constexpr char16_t kStartStatus[] = u"定时禁止";
inline constexpr char16_t kSecondsLeft[] = u" 秒后执行";
inline constexpr char16_t kCannotRun[] = u"无法执行";
inline constexpr char16_t kFullStop[] = u"。";
inline constexpr char16_t kClickToCancel[] = u"单击这里打开窗口可以取消。";
inline constexpr char16_t kNotOnThisVersion[] = u"这个版本的 Windows 不支持此操作。";
inline constexpr char16_t kNotOnThisMachine[] = u"这台计算机不支持此操作。";
inline constexpr char16_t kUnknownAction[] = u"程序无法识别这个动作。";
inline constexpr char16_t kErrorCode[] = u"错误代码 ";
inline constexpr char16_t kSkinFile[] = u"/aero.she";
inline constexpr char16_t kExitItem[] = u"退出(&X)";
inline constexpr char16_t kAboutItem[] = u"关于(&A)";
inline constexpr char16_t kPostponeItem[] = u"推迟 10 分钟";
inline constexpr char16_t kCancelButton[] = u"取消";

inline constexpr char16_t kPowerOff[] = u"关机";
inline constexpr char16_t kRestart[] = u"重新启动";
inline constexpr char16_t kLogOff[] = u"注销";
inline constexpr char16_t kSuspend[] = u"挂起";
inline constexpr char16_t kHibernate[] = u"睡眠";

inline constexpr char16_t kHours[] = u"时";
inline constexpr char16_t kMinutes[] = u"分";
inline constexpr char16_t kSecondsUnit[] = u"秒";
inline constexpr char16_t kAM[] = u"AM";
inline constexpr char16_t kPM[] = u"PM";

}  // namespace dusklet::texts
