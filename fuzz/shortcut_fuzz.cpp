// Arbitrary bytes as a dropped shortcut: the shell link and desktop entry readers must neither
// crash nor read outside the input, and whatever they accept has a target.
#include "platform/Shortcuts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto& parsed :
         {lv::ParseShellLink(bytes),
          lv::ParseDesktopEntry(bytes, [](const std::string& name) { return "/bin/" + name; })}) {
        if (parsed && parsed->target.empty()) {
            std::abort();
        }
        if (parsed &&
            lv::StoredTarget(*parsed).size() < parsed->target.size() + parsed->arguments.size()) {
            std::abort();
        }
    }
    return 0;
}
