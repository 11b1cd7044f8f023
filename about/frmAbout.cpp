#include "about/frmAbout.h"

namespace dusklet {

using namespace about;

frmAbout::frmAbout(const AboutControls& controls, AboutHost& aboutHost) : c(controls), host(aboutHost) {
    c.get<lblME>().onClick = Event<>::To<&frmAbout::lblME_Click>(this);
    c.get<lblEMail>().onClick = Event<>::To<&frmAbout::lblEMail_Click>(this);
    c.get<lblEMail>().onMouseMove = Event<>::To<&frmAbout::lblEMail_MouseMove>(this);
}

void frmAbout::Form_Load() { c.get<lblME>().SetCaption(kAuthorText); }

void frmAbout::Form_KeyPress(int16_t& keyAscii) {
    if (keyAscii == 27) host.Unload();
}

void frmAbout::Form_Click() { host.Unload(); }
void frmAbout::lblME_Click() { host.Unload(); }

void frmAbout::lblEMail_Click() { host.ShellExecuteA(u"open", kMailLink, u"C:\\", 5); }

void frmAbout::lblEMail_MouseMove() { c.get<lblEMail>().SetUnderline(true); }
void frmAbout::Form_MouseMove() { c.get<lblEMail>().SetUnderline(false); }

}  // namespace dusklet
