#include <gtest/gtest.h>

#include "tests/unit/fakes.h"
#include "tray/notify_icon.h"

namespace dusklet {
namespace {

using testing::Gbk;

NOTIFYICONDATA Record(std::u16string_view tip) {
    NOTIFYICONDATA nid;
    nid.cbSize = 88;
    nid.hWnd = 0x00010046;
    nid.uID = 1;
    nid.uFlags = 7;
    nid.uCallbackMessage = 512;
    nid.hIcon = 0x1234ABCD;
    SetTip(nid, tip);
    return nid;
}

TEST(TipField, PadsWithBlanksAndCutsAt64) {
    NOTIFYICONDATA nid;
    SetTip(nid, std::u16string(u"没设置动作") + u'\0');
    EXPECT_EQ(nid.szTip[5], u'\0');
    EXPECT_EQ(nid.szTip[6], u' ');
    EXPECT_EQ(nid.szTip[63], u' ');
    EXPECT_EQ(TipText(nid), u"没设置动作");

    SetTip(nid, std::u16string(70, u'x'));
    EXPECT_EQ(TipText(nid), std::u16string(64, u'x'));
}

TEST(AnsiForm, LaysOutSixNumbersThenTheTip) {
    Gbk gbk;
    const NotifyIconBytes b = AnsiForm(Record(std::u16string(u"Tip") + u'\0'), gbk);
    const uint8_t head[24] = {88, 0, 0, 0, 0x46, 0, 1, 0, 1, 0, 0, 0, 7, 0, 0, 0, 0, 2, 0, 0, 0xCD, 0xAB, 0x34, 0x12};
    for (int i = 0; i < 24; ++i) EXPECT_EQ(b[i], head[i]) << "offset " << i;
    EXPECT_EQ(b[24], 'T');
    EXPECT_EQ(b[26], 'p');
    EXPECT_EQ(b[27], 0);
    for (size_t i = 28; i < 88; ++i) EXPECT_EQ(b[i], ' ') << "offset " << i;
}

TEST(AnsiForm, ChineseTipInCodePage936) {
    Gbk gbk;
    const NotifyIconBytes b = AnsiForm(Record(std::u16string(u"没设置动作") + u'\0'), gbk);
    const uint8_t gbkBytes[] = {0xC3, 0xBB, 0xC9, 0xE8, 0xD6, 0xC3, 0xB6, 0xAF, 0xD7, 0xF7, 0x00};
    for (size_t i = 0; i < sizeof gbkBytes; ++i) EXPECT_EQ(b[24 + i], gbkBytes[i]) << i;
}

TEST(AnsiForm, NeverSplitsADoubleByteCharacterAndKeepsTheNul) {
    Gbk gbk;
    // 40 Chinese characters are 80 bytes: 31 whole characters fit before the NUL.
    const NotifyIconBytes b = AnsiForm(Record(std::u16string(40, u'动') + u'\0'), gbk);
    EXPECT_EQ(b[24 + 62], 0);
    EXPECT_EQ(b[24 + 61], 0xAF);  // trail byte of the 31st character
    EXPECT_EQ(b[24 + 63], ' ');
    // An odd start: one ASCII character, then double-byte ones.
    const NotifyIconBytes c = AnsiForm(Record(u"a" + std::u16string(40, u'动') + u'\0'), gbk);
    EXPECT_EQ(c[24 + 63], 0);
    EXPECT_EQ(c[24 + 62], 0xAF);
    // A tip cut at 64 characters, with no NUL of its own, still ends in one.
    const NotifyIconBytes d = AnsiForm(Record(std::u16string(64, u'x')), gbk);
    EXPECT_EQ(d[24 + 63], 0);
    EXPECT_EQ(d[24 + 62], 'x');
}

struct CountingGbk : Gbk {
    int calls = 0;
    std::string ToAnsi(std::u16string_view text) override {
        ++calls;
        return Gbk::ToAnsi(text);
    }
};

TEST(AnsiRecord, ConvertsTheTipOnlyWhenItChanges) {
    CountingGbk gbk;
    AnsiRecord record;
    NOTIFYICONDATA nid = Record(std::u16string(u"没设置动作") + u'\0');
    EXPECT_EQ(record.Of(nid, gbk), AnsiForm(nid, gbk));
    const int once = gbk.calls;
    nid.hIcon = 0;  // a blink step
    const NotifyIconBytes& blank = record.Of(nid, gbk);
    EXPECT_EQ(gbk.calls, once);
    EXPECT_EQ(blank, AnsiForm(nid, gbk));
    SetTip(nid, std::u16string(u"程序将要在") + u'\0');
    gbk.calls = 0;
    const NotifyIconBytes& armed = record.Of(nid, gbk);
    EXPECT_GT(gbk.calls, 0);
    EXPECT_EQ(armed, AnsiForm(nid, gbk));
}

TEST(BalloonForm, EveryFieldInItsPlaceAndTextsCutBetweenWholeCharacters) {
    Gbk gbk;
    // 200 double-byte characters: 127 fit in szInfo's 256 bytes before the NUL.
    const BalloonBytes b =
        BalloonForm(Record(u"Tip"), u"a" + std::u16string(40, u'动'), std::u16string(200, u'动'), gbk);
    const uint8_t head[24] = {0xE8, 1, 0, 0, 0x46, 0, 1, 0, 1,    0,    0,    0,
                              0x10, 0, 0, 0, 0,    2, 0, 0, 0xCD, 0xAB, 0x34, 0x12};
    for (int i = 0; i < 24; ++i) EXPECT_EQ(b[i], head[i]) << "offset " << i;
    for (size_t i = 24; i < 160; ++i) EXPECT_EQ(b[i], 0) << "szTip, dwState, dwStateMask at " << i;
    EXPECT_EQ(b[160], 0xB6);        // 动
    EXPECT_EQ(b[160 + 253], 0xAF);  // trail byte of the 127th character
    EXPECT_EQ(b[160 + 254], 0);
    EXPECT_EQ(b[160 + 255], 0);
    EXPECT_EQ(b[416] | b[417] << 8, 10000);  // uTimeout
    // Title: "a" and 31 whole characters in 63 bytes, then its NUL.
    EXPECT_EQ(b[420], 'a');
    EXPECT_EQ(b[420 + 62], 0xAF);
    EXPECT_EQ(b[420 + 63], 0);
    EXPECT_EQ(b[484], 2);  // NIIF_WARNING
    for (size_t i = 485; i < 488; ++i) EXPECT_EQ(b[i], 0);
}

}  // namespace
}  // namespace dusklet
