#include <gtest/gtest.h>

#include "tests/unit/fakes.h"
#include "tests/unit/windows_versions.h"

namespace dusklet {
namespace {

using namespace ctl;

using testing::Log;
using testing::MainFixture;

TEST(Startup, RunsItsStepsInOrderAndAddsTheIdleIcon) {
    MainFixture f;
    f.system.Set(2, 6, 1);
    EXPECT_TRUE(f.form.Form_Initialize());
    EXPECT_EQ(f.log, (Log{"skin C:\\Program Files\\Dusklet/aero.she|", "InitCommonControls", "instance?",
                          "GetVersionExA", "tray 0"}));
    EXPECT_EQ(f.get<cmbAction>().Text(), u"关机");
    EXPECT_EQ(f.get<cmbUnit>().Text(), u"时");
    EXPECT_EQ(f.get<cmbT>().Text(), u"AM");
    EXPECT_EQ(f.get<cmbAction>().ListCount(), 6);  // Windows 7 locks

    const auto& nid = f.form.TrayRecord();
    EXPECT_EQ(nid.cbSize, 88u);
    EXPECT_EQ(nid.hWnd, 0x1234u);
    EXPECT_EQ(nid.uID, 1u);
    EXPECT_EQ(nid.uFlags, 7u);
    EXPECT_EQ(nid.uCallbackMessage, 0x8001u);  // WM_APP + 1: never an ordinary mouse move
    EXPECT_EQ(nid.hIcon, 0x777u);
    EXPECT_EQ(TipText(nid), u"没设置动作");
    EXPECT_EQ(f.tray.LastTip(), "\xC3\xBB\xC9\xE8\xD6\xC3\xB6\xAF\xD7\xF7");
    EXPECT_FALSE(f.timer.enabled);
    EXPECT_FALSE(f.form.Armed());
    EXPECT_FALSE(f.form.Quitting());
}

TEST(Startup, OffersLockingOnTheNTFamilyFrom2000On) {
    for (const testing::WindowsVersion& v : testing::kWindowsVersions) {
        MainFixture f;
        f.system.Set(v.platform, v.major, v.minor);
        f.form.Form_Initialize();
        ASSERT_EQ(f.get<cmbAction>().ListCount(), v.lock ? 6 : 5) << v.name;
        if (v.lock) {
            EXPECT_EQ(f.get<cmbAction>().items[5], u"锁定计算机");
        }
        EXPECT_EQ(f.get<cmbAction>().ListIndex(), 0);
    }
}

TEST(Startup, SecondInstanceShowsItsMessageThenBringsTheRunningCopyForward) {
    MainFixture f;
    f.host.anotherInstance = true;
    EXPECT_FALSE(f.form.Form_Initialize());
    EXPECT_EQ(Log(f.log.end() - 2, f.log.end()),
              (Log{"msgbox Dusklet已经运行中.|By: Brindle|64", "show running copy"}));
    EXPECT_TRUE(f.tray.calls.empty());
    EXPECT_EQ(f.get<cmbAction>().ListIndex(), -1);
}

TEST(Startup, SkinPathUsesAForwardSlashWhateverTheFolder) {
    MainFixture f;
    f.host.folder = u"D:\\工具";
    f.form.Form_Initialize();
    EXPECT_EQ(f.log.front(), "skin D:\\工具/aero.she|");
}

}  // namespace
}  // namespace dusklet
