// Whatever the system's code page makes of the lists' texts, the chosen
// action and unit are the ones carried out; and the wide tray records show a
// Chinese system the same texts as the ANSI ones did.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

using namespace ctl;
using testing::MainFixture;

// The lists as an ANSI window on code page 1252 reads them back: every
// Chinese character a "?".
void Garble(testing::MemComboBox& list) {
    for (auto& item : list.items)
        std::replace_if(
            item.begin(), item.end(), [](char16_t c) { return c >= 0x80; }, u'?');
}

TEST(AnyLocale, EveryActionIsCarriedOutByItsPlaceInTheListNotItsText) {
    const char* calls[] = {"ExitWindowsEx 12 0x80000000", "ExitWindowsEx 6 0x80000000", "ExitWindowsEx 4 0x80000000",
                           "SetSuspendState 0 1 0",       "SetSuspendState 1 1 0",      "LockWorkStation"};
    for (int index = 0; index < 6; ++index) {
        MainFixture f;
        f.system.Set(2, 10, 0);
        f.Started();
        Garble(f.get<cmbAction>());
        Garble(f.get<cmbUnit>());
        f.get<cmbAction>().SetListIndex(index);
        f.get<cmbUnit>().SetListIndex(2);  // 秒
        f.Click();
        f.Advance(1);
        f.TimerTick();
        SCOPED_TRACE(index);
        EXPECT_EQ(f.PowerCalls(), testing::Log{calls[index]});
        EXPECT_TRUE(f.Ended());
    }
}

TEST(AnyLocale, EveryUnitCountsByItsPlaceInTheListNotItsText) {
    const int64_t seconds[] = {2 * 3600, 2 * 60, 2};
    for (int index = 0; index < 3; ++index) {
        MainFixture f;
        f.Started();
        Garble(f.get<cmbUnit>());
        f.get<cmbUnit>().SetListIndex(index);
        f.get<txtPeriod>().Paste(u"2");
        f.Click();
        EXPECT_EQ(f.SecondsToDue(), seconds[index]) << index;
    }
}

TEST(AnyLocale, TheAfternoonIsKnownByItsPlaceInTheListNotItsText) {
    MainFixture f;
    f.Started();
    f.get<cmbT>().items = {u"上午", u"下午"};  // other texts for AM and PM
    f.get<opt1>().Click();
    f.get<txtHour>().Paste(u"11");
    f.get<cmbT>().SetListIndex(1);  // PM
    f.Click();
    EXPECT_EQ(f.DueLocal(), (CivilDateTime{2026, 12, 7, 23, 0, 0}));
}

TEST(AnyLocale, AnEntryOfUnknownMeaningIsRefusedAndNeverDone) {
    MainFixture f;
    f.Started();
    f.get<cmbAction>().AddItem(u"新动作", 99);
    f.get<cmbAction>().SetListIndex(f.get<cmbAction>().ListCount() - 1);
    f.get<cmbUnit>().Choose(u"秒");
    f.Click();
    EXPECT_FALSE(f.form.Armed());
    EXPECT_EQ(f.Warnings(), testing::Log{"无法执行新动作。\r\n程序无法识别这个动作。"});
    f.TimerTick();  // a tick that comes all the same does nothing
    EXPECT_FALSE(f.Ended());
}

// What a Chinese Windows shows of a text put in an ANSI field of this size.
std::u16string ShownFromAnsiField(std::u16string_view text, size_t bytes) {
    testing::Gbk gbk;
    NOTIFYICONDATA nid;
    SetTip(nid, std::u16string(text) + u'\0');
    if (bytes == kTipChars) {
        const NotifyIconBytes b = AnsiForm(nid, gbk);
        return testing::Wide(testing::Iconv("UTF-8", "GBK", reinterpret_cast<const char*>(b.data() + field::kSzTip)));
    }
    const BalloonBytes b = BalloonForm(nid, u"", text, gbk);
    return testing::Wide(testing::Iconv("UTF-8", "GBK", reinterpret_cast<const char*>(b.data() + field::kSzInfo)));
}

TEST(WideRecord, ItsTextsAreCutAsTheAnsiFieldsCutThemOnAChineseSystem) {
    const std::u16string texts[] = {u"没设置动作",
                                    u"程序将要在公元2026年12月31日 星期四 下午 11时59分59秒执行锁定计算机",
                                    std::u16string(u"a").append(40, u'动'),
                                    std::u16string(40, u'动'),
                                    std::u16string(70, u'x'),
                                    std::u16string(200, u'动').append(u"。")};
    for (const std::u16string& text : texts) {
        EXPECT_EQ(FitField(text, kTipChars), ShownFromAnsiField(text, kTipChars)) << testing::Narrow(text);
        EXPECT_EQ(FitField(text, field::kInfoBytes), ShownFromAnsiField(text, field::kInfoBytes))
            << testing::Narrow(text);
    }
}

TEST(WideRecord, ACutEndsAtItsNulAndNeverSplitsASurrogatePair) {
    EXPECT_EQ(FitField(std::u16string(u"没设置动作") + u'\0' + u"      ", kTipChars), u"没设置动作");
    // 62 bytes of ASCII, then a pair that would need four: it goes whole.
    const std::u16string pair = u"\U00020000";
    EXPECT_EQ(FitField(std::u16string(61, u'x').append(pair), kTipChars), std::u16string(61, u'x'));
    EXPECT_EQ(FitField(std::u16string(59, u'x').append(pair), kTipChars), std::u16string(59, u'x').append(pair));
    EXPECT_EQ(FitField(u"", kTipChars), u"");
}

}  // namespace
}  // namespace dusklet
