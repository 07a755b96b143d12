#pragma once

#include "platform/AutoStart.h"

#include <string>

namespace lv {

// The desktop's autostart entry linkvane.desktop: the user's in $XDG_CONFIG_HOME/autostart
// (default ~/.config/autostart), the system's in /etc/xdg/autostart, which is written only when
// this user may write there. The place an entry was found in at construction is where a new one
// goes (the user's when none was found). Failures to write or remove are not reported.
class XdgAutoStart : public AutoStart {
public:
    struct Places {
        std::string userDir;   // ".../autostart"
        std::string systemDir; // "/etc/xdg/autostart"
    };
    // `program` is the executable's full path; `programHome`, when not empty, is passed on as
    // LINKVANE_HOME so that the started copy uses the same program directory.
    XdgAutoStart(Places places, std::string program, std::string programHome = {});

    static Places PlacesFromEnvironment();
    // The entry's text for a program (and program directory).
    static std::string EntryText(const std::string& program, const std::string& programHome);

    bool IsOn() const override;
    void Apply(bool on) override;
    // The file a new entry is written to.
    std::string Target() const;

private:
    Places places_;
    std::string program_;
    std::string programHome_;
    bool systemChosen_ = false;
};

} // namespace lv
