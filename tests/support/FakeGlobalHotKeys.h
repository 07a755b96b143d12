#pragma once

#include "platform/GlobalHotKeys.h"

#include <map>
#include <set>
#include <string>
#include <utility>

namespace lvtest {

// Global hotkeys for tests: remembers what is registered, refuses the combinations a test
// says another program holds, and delivers a press the way the desktop would.
class FakeGlobalHotKeys : public lv::GlobalHotKeys {
public:
    struct Key {
        int modifiers = 0;
        int virtualKey = 0;
        friend auto operator<=>(const Key&, const Key&) = default;
    };

    bool Available() const override { return true; }
    bool Register(int id, int modifiers, int virtualKey) override {
        registered_.erase(id);
        if (taken_.count({modifiers, virtualKey}) != 0) {
            return false;
        }
        registered_[id] = {modifiers, virtualKey};
        return true;
    }
    void Unregister(int id) override {
        registered_.erase(id);
        confirmed_.erase(id);
    }
    bool Holds(int id) const override {
        return registered_.count(id) != 0 && (!confirmLater || confirmed_.count(id) != 0);
    }
    void Describe(int id, const std::string& text) override { descriptions[id] = text; }

    // Like a desktop that asks its user first: keys are held only once Answer says so.
    bool confirmLater = false;
    void Answer(int id, bool held) {
        if (held) {
            confirmed_.insert(id);
        } else {
            registered_.erase(id);
        }
        HoldingsChanged();
    }
    std::map<int, std::string> descriptions;
    std::string note;
    std::string NoteText() const override { return note; }

    void TakenElsewhere(int modifiers, int virtualKey) { taken_.insert({modifiers, virtualKey}); }
    const std::map<int, Key>& Registered() const { return registered_; }
    // A press of the combination: delivered when some id holds it. False when none does.
    bool Press(int modifiers, int virtualKey) const {
        for (const auto& [id, key] : registered_) {
            if (key.modifiers == modifiers && key.virtualKey == virtualKey) {
                Deliver(id);
                return true;
            }
        }
        return false;
    }

private:
    std::map<int, Key> registered_;
    std::set<Key> taken_;
    std::set<int> confirmed_;
};

} // namespace lvtest
