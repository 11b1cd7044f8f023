// How many of the program's windows hold the main window modal (About, a
// message box): the main window takes input again only when the last of
// them closes, whichever that is.
#pragma once

namespace dusklet {

class ModalCount {
public:
    void Open() { ++open_; }
    // True when this was the last one: the main window may take input again.
    bool Close() { return open_ > 0 && --open_ == 0; }
    bool Held() const { return open_ > 0; }

private:
    int open_ = 0;
};

}  // namespace dusklet
