#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace lv {

class EventLoop;

// Modifier bits of a hotkey, as the settings and the key table count them.
enum HotKeyModifierBits : int { kHotKeyShift = 1, kHotKeyAlt = 2, kHotKeyCtrl = 4 };

// Keys that reach the program from any application. Keys are named by the Windows virtual-key
// codes the settings were written with ('A' = 0x41, F1 = 0x70, ...); an implementation maps
// them to what its desktop knows. A press of a registered key calls the handler with its id,
// always from the program's event loop, never inside Register.
class GlobalHotKeys {
public:
    using Handler = std::function<void(int id)>;

    virtual ~GlobalHotKeys() = default;

    // Whether this desktop lets a program own keys system-wide at all.
    virtual bool Available() const = 0;
    // Why not, in a sentence for the hotkey dialog; empty when Available().
    virtual std::string UnavailableText() const { return {}; }
    // What a user should know about keys on this desktop, for the hotkey dialog of a desktop
    // that has them; empty when there is nothing to say.
    virtual std::string NoteText() const { return {}; }
    // Takes the key for id (replacing what id held). False when the desktop refused it, for
    // example because another program holds the same combination.
    virtual bool Register(int id, int modifiers, int virtualKey) = 0;
    // Releases id; an unknown id does nothing.
    virtual void Unregister(int id) = 0;
    // Whether the desktop holds id's key for us now. A desktop that answers a registration
    // later (one that asks the user first) says false until it has confirmed it, and calls the
    // holdings handler whenever what it holds changes.
    virtual bool Holds(int id) const {
        (void)id;
        return true;
    }
    // What id does, in words a desktop may show the user beside the key. Given before Register.
    virtual void Describe(int id, const std::string& text) {
        (void)id;
        (void)text;
    }

    void SetHandler(Handler handler) { handler_ = std::move(handler); }
    void SetHoldingsHandler(std::function<void()> handler) { holdings_ = std::move(handler); }

protected:
    void Deliver(int id) const {
        if (handler_) {
            handler_(id);
        }
    }
    void HoldingsChanged() const {
        if (holdings_) {
            holdings_();
        }
    }

private:
    Handler handler_;
    std::function<void()> holdings_;
};

// A desktop without global hotkeys: every registration is refused.
class NoGlobalHotKeys : public GlobalHotKeys {
public:
    explicit NoGlobalHotKeys(std::string why) : why_(std::move(why)) {}
    bool Available() const override { return false; }
    std::string UnavailableText() const override { return why_; }
    bool Register(int, int, int) override { return false; }
    void Unregister(int) override {}

private:
    std::string why_;
};

// The X11 keysym of a virtual-key code of the key table, 0 for a code it does not hold.
std::uint32_t KeySymOfVirtualKey(int virtualKey);
// A hotkey as the desktop shortcut triggers write it ("CTRL+ALT+F10", "SHIFT+a"): modifier
// names, then the key's keysym name. Empty for a code the key table does not hold.
std::string ShortcutTriggerOf(int modifiers, int virtualKey);

// Key grabs on the root window of an X display (nullptr: $DISPLAY), delivered through the
// event loop. Returns nullptr when no X display can be opened.
std::unique_ptr<GlobalHotKeys> OpenX11GlobalHotKeys(EventLoop& loop, const char* display = nullptr);

} // namespace lv
