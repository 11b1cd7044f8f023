#include "about/frmAbout.h"

namespace dusklet {

void frmAbout::Form_Load() { c.lblME->SetCaption(about::kAuthorText); }

void frmAbout::Form_KeyPress(int16_t& keyAscii) {
    if (keyAscii == 27) host.Unload();
}

void frmAbout::Form_Click() { host.Unload(); }
void frmAbout::lblME_Click() { host.Unload(); }

void frmAbout::lblEMail_Click() { host.ShellExecuteA(u"open", about::kMailLink, u"C:\\", 5); }

void frmAbout::lblEMail_MouseMove() { c.lblEMail->SetUnderline(true); }
void frmAbout::Form_MouseMove() { c.lblEMail->SetUnderline(false); }

}  // namespace dusklet
