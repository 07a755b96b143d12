#include "pages/ColorFilter.h"

#include "store/Settings.h"
#include "store/TIniFile32.h"

namespace lv {

bool ColorFilter::Passes(std::string_view storedColour) const {
    if (mode != "Default" && mode != "Select") {
        return true;
    }
    const std::int32_t fallback = mode == "Default" ? defaultBookmarkColor : kNoColorFilter;
    return ParseInteger(storedColour).value_or(fallback) == filterColor;
}

std::int32_t ReadFilterColor(const std::string& settingsFile) {
    return ReadFromIniI(settingsFile, settings::kMergeColor.section, settings::kMergeColor.key,
                        kNoColorFilter);
}

void WriteFilterColor(const std::string& settingsFile, std::int32_t color) {
    WriteToIniI(settingsFile, settings::kMergeColor.section, settings::kMergeColor.key, color);
}

} // namespace lv
