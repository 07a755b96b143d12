#include "platform/EventLoop.h"
#include "platform/GlobalHotKeys.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <map>
#include <vector>

namespace lv {

std::uint32_t KeySymOfVirtualKey(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        return static_cast<std::uint32_t>(virtualKey - 'A' + 'a'); // XK_a .. XK_z
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        return static_cast<std::uint32_t>(virtualKey); // XK_0 .. XK_9
    }
    if (virtualKey >= 0x70 && virtualKey <= 0x7B) {
        return 0xFFBEu + static_cast<std::uint32_t>(virtualKey - 0x70); // XK_F1 .. XK_F12
    }
    switch (virtualKey) {
    case 0x26:
        return 0xFF52; // Up
    case 0x28:
        return 0xFF54; // Down
    case 0x25:
        return 0xFF51; // Left
    case 0x27:
        return 0xFF53; // Right
    case 0x1B:
        return 0xFF1B; // Escape
    case 0x09:
        return 0xFF09; // Tab
    case 0x2D:
        return 0xFF63; // Insert
    case 0x2E:
        return 0xFFFF; // Delete
    case 0x24:
        return 0xFF50; // Home
    case 0x23:
        return 0xFF57; // End
    case 0x21:
        return 0xFF55; // Prior (Page up)
    case 0x22:
        return 0xFF56; // Next (Page down)
    default:
        return 0;
    }
}

namespace {

constexpr std::uint32_t kNumLockSym = 0xFF7F;
constexpr std::uint32_t kScrollLockSym = 0xFF14;
constexpr std::uint32_t kAltLSym = 0xFFE9;
constexpr std::uint32_t kAltRSym = 0xFFEA;

class X11GlobalHotKeys : public GlobalHotKeys {
public:
    X11GlobalHotKeys(EventLoop& loop, xcb_connection_t* connection, xcb_window_t root)
        : loop_(loop), connection_(connection), root_(root) {
        ReadKeyboard();
        watch_ = loop_.WatchSocket(xcb_get_file_descriptor(connection_), EventLoop::Readable,
                                   [this](unsigned) { Drain(); });
    }

    ~X11GlobalHotKeys() override {
        loop_.Unwatch(watch_);
        for (const auto& [id, grab] : grabs_) {
            Ungrab(grab);
        }
        xcb_flush(connection_);
        *alive_ = false;
        xcb_disconnect(connection_);
    }

    bool Available() const override { return true; }

    bool Register(int id, int modifiers, int virtualKey) override {
        Unregister(id);
        const std::uint32_t sym = KeySymOfVirtualKey(virtualKey);
        const xcb_keycode_t code = sym != 0 ? KeyCodeOf(sym) : 0;
        if (code == 0 || xcb_connection_has_error(connection_)) {
            return false;
        }
        Grab grab{code, XModifiers(modifiers)};
        // Each lock state is a modifier bit of its own to the server: a grab without it does not
        // fire while NumLock, CapsLock or ScrollLock is on, so every combination is grabbed.
        std::vector<xcb_void_cookie_t> cookies;
        for (std::uint16_t locks : LockCombinations()) {
            cookies.push_back(xcb_grab_key_checked(connection_, 1, root_,
                                                   static_cast<std::uint16_t>(grab.mods | locks),
                                                   code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
        bool refused = false;
        for (xcb_void_cookie_t cookie : cookies) {
            if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
                refused = true; // BadAccess: another program holds the combination
                std::free(error);
            }
        }
        if (refused) {
            Ungrab(grab);
            xcb_flush(connection_);
            return false;
        }
        grabs_[id] = grab;
        // Waiting for the replies may have queued events the socket watch will not see again.
        loop_.Post([this, alive = alive_] {
            if (*alive) {
                Drain();
            }
        });
        return true;
    }

    void Unregister(int id) override {
        const auto found = grabs_.find(id);
        if (found == grabs_.end()) {
            return;
        }
        Ungrab(found->second);
        grabs_.erase(found);
        xcb_flush(connection_);
    }

private:
    struct Grab {
        xcb_keycode_t code = 0;
        std::uint16_t mods = 0;
    };

    void Ungrab(const Grab& grab) {
        for (std::uint16_t locks : LockCombinations()) {
            xcb_ungrab_key(connection_, grab.code, root_,
                           static_cast<std::uint16_t>(grab.mods | locks));
        }
    }

    std::uint16_t XModifiers(int modifiers) const {
        std::uint16_t mods = 0;
        if (modifiers & kHotKeyShift) {
            mods |= XCB_MOD_MASK_SHIFT;
        }
        if (modifiers & kHotKeyCtrl) {
            mods |= XCB_MOD_MASK_CONTROL;
        }
        if (modifiers & kHotKeyAlt) {
            mods |= altMask_;
        }
        return mods;
    }

    std::vector<std::uint16_t> LockCombinations() const {
        std::vector<std::uint16_t> locks{0};
        for (std::uint16_t mask :
             {std::uint16_t{XCB_MOD_MASK_LOCK}, numLockMask_, scrollLockMask_}) {
            if (mask == 0) {
                continue;
            }
            const std::size_t count = locks.size();
            for (std::size_t i = 0; i < count; ++i) {
                if ((locks[i] & mask) == 0) {
                    locks.push_back(static_cast<std::uint16_t>(locks[i] | mask));
                }
            }
        }
        return locks;
    }

    // The keyboard map and which modifier bits NumLock, ScrollLock and Alt are on.
    void ReadKeyboard() {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        minCode_ = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
            connection_,
            xcb_get_keyboard_mapping(connection_, minCode_, static_cast<std::uint8_t>(count)),
            nullptr);
        if (map != nullptr) {
            perCode_ = map->keysyms_per_keycode;
            const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
            const int length = xcb_get_keyboard_mapping_keysyms_length(map);
            keysyms_.assign(syms, syms + length);
            std::free(map);
        }
        xcb_get_modifier_mapping_reply_t* mods = xcb_get_modifier_mapping_reply(
            connection_, xcb_get_modifier_mapping(connection_), nullptr);
        if (mods != nullptr) {
            const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mods);
            const int perModifier = mods->keycodes_per_modifier;
            for (int modifier = 0; modifier < 8; ++modifier) {
                for (int k = 0; k < perModifier; ++k) {
                    const xcb_keycode_t code = codes[modifier * perModifier + k];
                    const auto mask = static_cast<std::uint16_t>(1u << modifier);
                    if (HasSym(code, kNumLockSym)) {
                        numLockMask_ = mask;
                    }
                    if (HasSym(code, kScrollLockSym)) {
                        scrollLockMask_ = mask;
                    }
                    if (modifier >= 3 && (HasSym(code, kAltLSym) || HasSym(code, kAltRSym))) {
                        altMask_ = mask;
                    }
                }
            }
            std::free(mods);
        }
    }

    bool HasSym(xcb_keycode_t code, std::uint32_t sym) const {
        if (code < minCode_ || perCode_ == 0) {
            return false;
        }
        const std::size_t first = static_cast<std::size_t>(code - minCode_) * perCode_;
        for (std::size_t i = first; i < first + perCode_ && i < keysyms_.size(); ++i) {
            if (keysyms_[i] == sym) {
                return true;
            }
        }
        return false;
    }

    // The key that carries the keysym, preferring one where it needs no shift level.
    xcb_keycode_t KeyCodeOf(std::uint32_t sym) const {
        if (perCode_ == 0) {
            return 0;
        }
        xcb_keycode_t any = 0;
        for (std::size_t i = 0; i < keysyms_.size(); ++i) {
            if (keysyms_[i] != sym) {
                continue;
            }
            const auto code = static_cast<xcb_keycode_t>(minCode_ + i / perCode_);
            if (i % perCode_ == 0) {
                return code;
            }
            if (any == 0) {
                any = code;
            }
        }
        return any;
    }

    void Drain() {
        std::vector<int> pressed;
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7F) == XCB_KEY_PRESS) {
                const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
                const std::uint16_t mods =
                    key->state & (XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | altMask_);
                for (const auto& [id, grab] : grabs_) {
                    if (grab.code == key->detail && grab.mods == mods) {
                        pressed.push_back(id);
                    }
                }
            }
            std::free(event);
        }
        if (xcb_connection_has_error(connection_)) {
            loop_.Unwatch(watch_); // the display went away; nothing will arrive any more
        }
        // Actions may open modal dialogs; they run after this pass over the queue.
        for (int id : pressed) {
            loop_.Post([this, id, alive = alive_] {
                if (*alive) {
                    Deliver(id);
                }
            });
        }
    }

    EventLoop& loop_;
    xcb_connection_t* connection_;
    xcb_window_t root_;
    EventLoop::WatchId watch_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    xcb_keycode_t minCode_ = 0;
    std::size_t perCode_ = 0;
    std::vector<xcb_keysym_t> keysyms_;
    std::uint16_t numLockMask_ = 0;
    std::uint16_t scrollLockMask_ = 0;
    std::uint16_t altMask_ = XCB_MOD_MASK_1;
    std::map<int, Grab> grabs_;
};

} // namespace

std::unique_ptr<GlobalHotKeys> OpenX11GlobalHotKeys(EventLoop& loop, const char* display) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(display, &screenNumber);
    if (connection == nullptr || xcb_connection_has_error(connection)) {
        if (connection != nullptr) {
            xcb_disconnect(connection);
        }
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    return std::make_unique<X11GlobalHotKeys>(loop, connection, screens.data->root);
}

} // namespace lv
