// Fuzzes the number boxes: arbitrary texts pasted or typed into the four
// boxes, Up and Down pressed in them, the focus leaving them, and arbitrary
// spinner moves, in any order. After every step the bar must hold the box's
// rounded number within its range; a box the user is not typing in must hold
// a number within the range (one being typed in may be below it, never
// above; one just stepped holds the bar's number); and the chain of change
// handlers must have ended.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/number_text.h"
#include "tests/unit/fakes.h"

using namespace dusklet;
using namespace dusklet::testing;
using namespace dusklet::ctl;

namespace {

const char16_t kAlphabet[] = u"0123456789000999abcXYZ -+.:\t时分秒锁\u3000\u00a0";

struct Pair {
    MemTextBox* box;
    MemScrollBar* bar;
};

void Check(const Pair& p) {
    const double n = LeadingNumber(p.box->text);
    if (n > p.bar->Upper() || (!p.box->focused && n < p.bar->Lower())) std::abort();
    if (p.bar->Value() != std::clamp(RoundToInt16(n), p.bar->Lower(), p.bar->Upper())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MainFixture f;
    f.Started();
    f.get<opt1>().Click();
    const Pair pairs[4] = {{&f.get<txtPeriod>(), &f.get<vsPeriod>()},
                           {&f.get<txtHour>(), &f.get<vsHour>()},
                           {&f.get<txtMin>(), &f.get<vsMin>()},
                           {&f.get<txtBlink>(), &f.get<vsBlink>()}};
    size_t i = 0;
    auto next = [&]() -> uint8_t { return i < size ? data[i++] : 0; };
    while (i < size) {
        const uint8_t op = next();
        const Pair& p = pairs[next() % 4];
        const int writesBefore = p.box->writes;
        switch (op % 8) {
        case 0: {  // paste a text of up to 300 characters
            std::u16string text;
            const size_t length = next() % 8 == 0 ? 300 : next() % 12;
            for (size_t k = 0; k < length; ++k) text += kAlphabet[next() % (sizeof kAlphabet / 2 - 1)];
            p.box->Paste(text);
            break;
        }
        case 1: p.bar->ArrowUp(); break;
        case 2: p.bar->ArrowDown(); break;
        case 3: p.box->Type(kAlphabet[next() % (sizeof kAlphabet / 2 - 1)]); break;
        case 4: {  // the user drags the thumb to any position in range
            const int range = p.bar->Upper() - p.bar->Lower() + 1;
            p.bar->SetValue(static_cast<int16_t>(p.bar->Lower() + (next() * 256 + next()) % range));
            break;
        }
        case 5: p.box->Leave(); break;
        case 6:
        case 7:
            p.box->Press(op % 8 == 6 ? kKeyUp : kKeyDown);
            if (LeadingNumber(p.box->text) != p.bar->Value()) std::abort();
            break;
        }
        // The chain of handlers ends after a few nested writes.
        if (p.box->writes - writesBefore > 4) std::abort();
        for (const Pair& q : pairs) Check(q);
    }
    return 0;
}
