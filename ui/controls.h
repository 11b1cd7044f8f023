// The control model the forms are written against. Two implementations exist:
// real child windows (win32/) and in-memory controls for the unit tests.
// The semantics the handlers rely on live here:
//  - writing a text box's text raises its change event at once, inside the
//    write, when the text really changes; writing the text it already holds
//    changes nothing and raises nothing;
//  - a scroll bar raises its change event only when its value really changes,
//    whether the program or the user moved it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace dusklet {

// A handler bound to one event: a plain function pointer and its object, so
// that binding costs nothing and needs no allocation.
template <class... Args> struct Event {
    void (*fn)(void*, Args...) = nullptr;
    void* target = nullptr;

    void operator()(Args... args) const {
        if (fn) fn(target, args...);
    }

    template <auto Method, class T> static Event To(T* object) {
        return {[](void* t, Args... args) { (static_cast<T*>(t)->*Method)(args...); }, object};
    }
};

// The codes of the keys the handlers take, as the system numbers them.
inline constexpr int16_t kKeyUp = 38, kKeyDown = 40;

class Control {
public:
    virtual ~Control() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    // Shown or hidden; every control starts shown.
    virtual void SetVisible(bool visible) = 0;
};

class TextBox : public Control {
public:
    virtual std::u16string Text() const = 0;
    // Writes the text. A text other than the one the box holds raises
    // onChange inside the write; the same text again changes nothing.
    void SetText(std::u16string_view text) {
        if (text != Text()) Replace(text);
    }
    // Whether the user is typing in it: it has the keyboard focus.
    virtual bool Focused() const = 0;
    Event<> onChange;
    Event<int16_t&> onKeyPress;  // a typed character; setting it to 0 drops it
    Event<int16_t&> onKeyDown;   // a key pressed (kKeyUp, …); setting it to 0 takes it from the box
    Event<> onLostFocus;

protected:
    // Puts a new text in the box and raises onChange before returning.
    virtual void Replace(std::u16string_view text) = 0;
};

class ScrollBar : public Control {
public:
    virtual int16_t Min() const = 0;  // value at the top end
    virtual int16_t Max() const = 0;  // value at the bottom end
    virtual int16_t Value() const = 0;
    virtual void SetValue(int16_t value) = 0;
    Event<> onChange;
};

class ComboBox : public Control {
public:
    virtual std::u16string Text() const = 0;
    // What the chosen entry means (the data it was added with); kNone with
    // no entry chosen. Any other value may be data: a process id of Windows
    // 95, 98 and ME has its high bit set.
    static constexpr int32_t kNone = -1;
    virtual int32_t ItemData() const = 0;
    virtual void SetListIndex(int index) = 0;
    // Chooses the entry that means `data`; false when none does.
    virtual bool ChooseData(int32_t data) = 0;
    virtual void AddItem(std::u16string_view item, int32_t data) = 0;
    // Every entry gone.
    virtual void Clear() = 0;
    virtual void SetFocus() = 0;
    Event<> onChange;    // the user chose another entry
    Event<> onDropDown;  // the list is about to open
};

class CheckBox : public Control {
public:
    virtual int Value() const = 0;  // 0 unchecked, 1 checked
    // Ticks or unticks it without raising onClick.
    virtual void SetValue(int value) = 0;
    Event<> onClick;
};

class OptionButton : public Control {
public:
    virtual bool Value() const = 0;
    // Chooses it or not without raising onClick; the others of its group are
    // the caller's to set.
    virtual void SetValue(bool value) = 0;
    Event<> onClick;
};

class Label : public Control {
public:
    virtual void SetCaption(std::u16string_view caption) = 0;
    Event<> onClick;
};

// A label whose font underline can be switched (a mail link).
class LinkLabel : public Label {
public:
    virtual void SetUnderline(bool underline) = 0;
    Event<> onMouseMove;
};

class Button : public Label {
public:
    virtual void SetFocus() = 0;
};

class Container : public Control {};
class Image : public Control {};

class Timer {
public:
    virtual ~Timer() = default;
    virtual void SetEnabled(bool enabled) = 0;
    Event<> onTimer;
};

}  // namespace dusklet
