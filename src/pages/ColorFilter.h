#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lv {

// The filter colour shared by the page range dialog and the merge question; 111 means none.
inline constexpr std::int32_t kNoColorFilter = 111;

// The colour test of the commands that work on a page range: "All" passes every bookmark,
// "Default" and "Select" pass bookmarks whose C value equals the filter colour. A missing or
// unreadable C counts as the default bookmark colour under "Default" and as 111 under "Select",
// so an uncoloured bookmark passes "Default" and never "Select".
struct ColorFilter {
    std::string mode = "All";
    std::int32_t filterColor = kNoColorFilter;
    std::int32_t defaultBookmarkColor = 0; // [Notebook] FontColor

    bool Passes(std::string_view storedColour) const;
};

// The stored filter colour ([Merge] Color, default 111) of a SettingsFile.
std::int32_t ReadFilterColor(const std::string& settingsFile);
void WriteFilterColor(const std::string& settingsFile, std::int32_t color);

} // namespace lv
