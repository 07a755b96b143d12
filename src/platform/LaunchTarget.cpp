#include "platform/LaunchTarget.h"

#include "platform/Unicode.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace lv {

namespace {

bool HasHiddenCharacters(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        if (IsHiddenCharacter(DecodeUtf8(utf8, i))) {
            return true;
        }
    }
    return false;
}

std::string FileName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

bool OfEndOfOptionsFamily(const std::string& name) {
    // Chromium and the browsers built on it; release channels and packagings add a suffix
    // ("google-chrome-stable", "chromium.real"). Firefox is not one of them: it folds "--" into
    // an unknown flag "-" and then skips the argument after it, so the address would not open.
    static constexpr std::array<std::string_view, 10> kFamilies = {
        "chromium",      "chromium-browser", "chrome", "google-chrome", "brave",
        "brave-browser", "microsoft-edge",   "msedge", "vivaldi",       "opera"};
    for (const std::string_view family : kFamilies) {
        if (name.compare(0, family.size(), family) != 0) {
            continue;
        }
        if (name.size() == family.size()) {
            return true;
        }
        const char next = name[family.size()];
        if (next == '-' || next == '.' || next == '_') {
            return true;
        }
    }
    return false;
}

} // namespace

bool IsHiddenCharacter(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x061C ||
           (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202E) ||
           (cp >= 0x2060 && cp <= 0x2064) || (cp >= 0x2066 && cp <= 0x2069) || cp == 0xFEFF;
}

std::string ShowHiddenCharacters(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const char32_t cp = DecodeUtf8(utf8, i);
        if (IsHiddenCharacter(cp)) {
            char text[16];
            std::snprintf(text, sizeof text, "<U+%04X>", static_cast<unsigned>(cp));
            shown += text;
        } else {
            shown.append(utf8.substr(start, i - start));
        }
    }
    return shown;
}

std::string TargetRefusal(std::string_view utf8, TargetKind kind) {
    const char* const what = kind == TargetKind::WebAddress ? "address" : "target";
    if (HasHiddenCharacters(utf8)) {
        return std::string("The ") + what + " \"" + ShowHiddenCharacters(utf8) +
               "\" holds invisible control characters (shown here as <U+...>) and is not opened.";
    }
    if (kind == TargetKind::WebAddress && !utf8.empty() && utf8.front() == '-') {
        return "The address \"" + std::string(utf8) +
               "\" begins with \"-\" and is not opened: the browser would take it as one of its "
               "options.";
    }
    return {};
}

bool BrowserTakesEndOfOptions(const std::string& program) {
    if (OfEndOfOptionsFamily(FileName(program))) {
        return true;
    }
    // "x-www-browser" and similar names are links to the real program.
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(program, error);
    return !error && OfEndOfOptionsFamily(FileName(real.string()));
}

} // namespace lv
