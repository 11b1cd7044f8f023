// The program's own texts.
#pragma once

namespace dusklet::texts {

inline constexpr char16_t kMainCaption[] = u"Dusklet  V1.0";
inline constexpr char16_t kProgramTitle[] = u"Dusklet";
inline constexpr char16_t kPanelName[] = u"Dusklet 提醒：";
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
inline constexpr char16_t kPostponeItem[] = u"推迟 10 分钟(&P)";
inline constexpr char16_t kPostponeButton[] = u"推迟 10 分钟";
inline constexpr char16_t kCancelButton[] = u"取消";

// The command line's answers: which argument is wrong and why, then the usage.
inline constexpr char16_t kWrongArgument[] = u"参数有误：";
inline constexpr char16_t kUnknownSwitch[] = u"不认识这个参数。";
inline constexpr char16_t kBadValue[] = u"缺少数值，或者数值不对、超出范围。";
inline constexpr char16_t kConflictingSwitch[] = u"与前面的参数冲突，或者重复了。";
inline constexpr char16_t kIncompleteArming[] = u"定时需要一个动作，再加一个时间或条件。";
inline constexpr char16_t kUsage[] =
    u"用法：Dusklet 动作 时间 [选项]\r\n"
    u"动作：/s 关机，/r 重新启动，/l 注销，/standby 挂起，/h 睡眠，/lock 锁定计算机\r\n"
    u"时间：/t N[s|m|h]  N 秒（默认）、分或时之后\r\n"
    u"　　　/at HH:MM  于 HH:MM（24 小时制），今天已过则明天\r\n"
    u"　　　/exit 程序名或进程号  程序退出后\r\n"
    u"　　　/net N [/kb K]  网速 N 分钟低于 K KB/s（默认 50）后\r\n"
    u"　　　/idle N  无人使用 N 分钟后\r\n"
    u"选项：/f 强制终止进程（默认），/nf 不强制\r\n"
    u"　　　/w N 执行前 N 秒（1-999）开始提醒（默认 30），/nw 不提醒\r\n"
    u"　　　/show 显示窗口\r\n"
    u"对正在运行的 Dusklet：/p [N] 推迟 N 分钟（默认 10），/a 取消定时，/show 显示窗口\r\n"
    u"/? 显示本说明\r\n\r\n"
    u"例如：Dusklet /s /t 3600    一小时后关机\r\n"
    u"　　　Dusklet /r /at 23:30  23:30 重新启动";

// What the number boxes, lists and spin bars set, as screen readers name them.
inline constexpr char16_t kNamePeriod[] = u"倒计时长度";
inline constexpr char16_t kNamePeriodSpin[] = u"增减倒计时长度";
inline constexpr char16_t kNameUnit[] = u"倒计时单位";
inline constexpr char16_t kNameHour[] = u"执行时刻：时";
inline constexpr char16_t kNameHourSpin[] = u"增减执行时刻的时";
inline constexpr char16_t kNameMinute[] = u"执行时刻：分";
inline constexpr char16_t kNameMinuteSpin[] = u"增减执行时刻的分";
inline constexpr char16_t kNameHalfDay[] = u"上午或下午";
inline constexpr char16_t kNameLead[] = u"提前提醒的秒数";
inline constexpr char16_t kNameLeadSpin[] = u"增减提前提醒的秒数";
inline constexpr char16_t kNameCondition[] = u"条件";
inline constexpr char16_t kNameProgram[] = u"要等它退出的程序";
inline constexpr char16_t kNameKb[] = u"网速低于多少 KB/s";
inline constexpr char16_t kNameQuiet[] = u"网速低于它的分钟数";
inline constexpr char16_t kNameQuietSpin[] = u"增减网速低于它的分钟数";
inline constexpr char16_t kNameIdle[] = u"无人使用的分钟数";
inline constexpr char16_t kNameIdleSpin[] = u"增减无人使用的分钟数";

// The 当 mode: its conditions, what they need, and what they say.
inline constexpr char16_t kProgramExit[] = u"程序退出";
inline constexpr char16_t kDownloadDone[] = u"下载完成";
inline constexpr char16_t kNobodyThere[] = u"无人使用";
inline constexpr char16_t kKbUnit[] = u"KB/s 持续";
inline constexpr char16_t kMinutesUnit[] = u"分钟";
inline constexpr char16_t kIdleUnit[] = u"分钟无人使用";
inline constexpr char16_t kOpenParen[] = u" (";
inline constexpr char16_t kCloseParen[] = u")";
inline constexpr char16_t kCannotWatch[] = u"这个版本的 Windows 无法等待“";
inline constexpr char16_t kCannotWatchEnd[] = u"”。";
inline constexpr char16_t kChooseProgram[] = u"请在列表里选择要等它退出的程序。";
inline constexpr char16_t kNotRunning[] = u"没有正在运行的程序 ";
inline constexpr char16_t kTipExited[] = u" 退出后执行";
inline constexpr char16_t kTipDownload[] = u"下载完成后执行";
inline constexpr char16_t kTipNobody[] = u"无人使用 ";
inline constexpr char16_t kTipMinutesRun[] = u" 分钟后执行";
inline constexpr char16_t kOpenBracket[] = u"（";
inline constexpr char16_t kMinutesBelow[] = u" 分钟低于 ";
inline constexpr char16_t kKbClose[] = u" KB/s）";
inline constexpr char16_t kWaitingFor[] = u"等待 ";
inline constexpr char16_t kStillRunning[] = u" 退出，还有 ";
inline constexpr char16_t kRunningCount[] = u" 个在运行";
inline constexpr char16_t kNetwork[] = u"网络 ";
inline constexpr char16_t kKbQuiet[] = u" KB/s，已安静 ";
inline constexpr char16_t kIdleFor[] = u"已无人使用 ";
inline constexpr char16_t kHasEnded[] = u" 已退出";
inline constexpr char16_t kDownloaded[] = u"下载已完成";
inline constexpr char16_t kSpaceMinutes[] = u" 分钟";
inline constexpr char16_t kComma[] = u"，";
inline constexpr char16_t kPanelTitleNobody[] = u"Dusklet：动一下鼠标或键盘即可取消";

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
