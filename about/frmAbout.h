// The About window: the author's text, a banner and a mail link.
#pragma once
#include <cstdint>
#include <string_view>

#include "ui/controls.h"

namespace dusklet {

// A label whose font underline can be switched (the mail link).
class LinkLabel : public Label {
public:
    virtual void SetUnderline(bool underline) = 0;
};

struct frmAboutControls {
    Label* lblME;
    LinkLabel* lblEMail;
};

class AboutHost {
public:
    virtual ~AboutHost() = default;
    virtual void Unload() = 0;
    // ShellExecuteA with the About window as owner and no parameters.
    virtual void ShellExecuteA(std::u16string_view verb, std::u16string_view file,
                              std::u16string_view directory, int32_t showCommand) = 0;
};

namespace about {
inline constexpr char16_t kCaption[] = u"关于";
inline constexpr char16_t kMailLinkCaption[] = u"别忘了给我 E-Mail哦";
inline constexpr char16_t kMailTooltip[] = u"brindle@example.net";
inline constexpr char16_t kMailLink[] = u"mailto:varrow@example.com?subject=Dusklet";
inline constexpr char16_t kAuthorText[] =
    u"作者: Varrow.\r\n\r\n如果你喜欢这个程序，别忘了给我发送一个电子邮件或者常去我的网站哦.";
}  // namespace about

class frmAbout {
public:
    frmAbout(const frmAboutControls& controls, AboutHost& host) : c(controls), host(host) {}

    void Form_Load();
    void Form_KeyPress(int16_t& keyAscii);
    void Form_Click();
    void Form_MouseMove();
    void lblME_Click();
    void lblEMail_Click();
    void lblEMail_MouseMove();

private:
    frmAboutControls c;
    AboutHost& host;
};

}  // namespace dusklet
