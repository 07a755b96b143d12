#pragma once

#include <string>

namespace lv {

// Starting the program when the user logs on.
class AutoStart {
public:
    virtual ~AutoStart() = default;
    // Whether the program is set to start at log-on (in either place it can be set).
    virtual bool IsOn() const = 0;
    // Removes every entry, then, when on, writes one for this program.
    virtual void Apply(bool on) = 0;
};

} // namespace lv
