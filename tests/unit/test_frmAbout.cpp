#include <gtest/gtest.h>

#include "about/frmAbout.h"
#include "tests/unit/fakes.h"

namespace dusklet {
namespace {

struct Host : AboutHost {
    std::vector<std::u16string> calls;
    void Unload() override { calls.push_back(u"unload"); }
    void ShellExecuteA(std::u16string_view verb, std::u16string_view file, std::u16string_view dir,
                       int32_t show) override {
        calls.push_back(std::u16string(verb) + u"|" + std::u16string(file) + u"|" + std::u16string(dir) + u"|" +
                        static_cast<char16_t>(u'0' + show));
    }
};

struct About : ::testing::Test {
    testing::MemControls<kAboutLayout> controls;
    testing::MemLabel& me = controls.get<about::lblME>();
    testing::MemLink& mail = controls.get<about::lblEMail>();
    Host host;
    frmAbout form{controls.Models(), host};
};

TEST_F(About, LoadSetsTheAuthorText) {
    form.Form_Load();
    EXPECT_EQ(me.caption, u"作者: Varrow.\r\n\r\n如果你喜欢这个程序，别忘了给我发送一个电子邮件或者常去我的网站哦.");
}

TEST_F(About, OnlyEscCloses) {
    for (int16_t code : {int16_t{13}, int16_t{32}, int16_t{65}, int16_t{0}}) {
        int16_t c = code;
        form.Form_KeyPress(c);
        EXPECT_EQ(c, code);
    }
    EXPECT_TRUE(host.calls.empty());
    int16_t esc = 27;
    form.Form_KeyPress(esc);
    EXPECT_EQ(host.calls, std::vector<std::u16string>{u"unload"});
}

TEST_F(About, ClicksCloseExceptOnTheMailLink) {
    mail.onClick();
    ASSERT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(host.calls[0], u"open|mailto:varrow@example.com?subject=Dusklet|C:\\|5");
    me.onClick();
    form.Form_Click();
    EXPECT_EQ(host.calls.size(), 3u);
}

TEST_F(About, UnderlineFollowsThePointer) {
    mail.onMouseMove();
    EXPECT_TRUE(mail.underline);
    form.Form_MouseMove();
    EXPECT_FALSE(mail.underline);
}

}  // namespace
}  // namespace dusklet
