// The About window: the author's text, a banner and a mail link.
#pragma once
#include <cstdint>
#include <string_view>

#include "about/frmAbout_layout.h"

namespace dusklet {

class AboutHost {
public:
    virtual ~AboutHost() = default;
    virtual void Unload() = 0;
    // ShellExecuteA with the About window as owner and no parameters.
    virtual void ShellExecuteA(std::u16string_view verb, std::u16string_view file, std::u16string_view directory,
                               int32_t showCommand) = 0;
};

class frmAbout {
public:
    frmAbout(const AboutControls& controls, AboutHost& host);

    void Form_Load();
    void Form_KeyPress(int16_t& keyAscii);
    void Form_Click();
    void Form_MouseMove();
    void lblME_Click();
    void lblEMail_Click();
    void lblEMail_MouseMove();

private:
    AboutControls c;
    AboutHost& host;
};

}  // namespace dusklet
