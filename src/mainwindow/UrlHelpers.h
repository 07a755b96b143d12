#pragma once

#include <string>
#include <string_view>

namespace lv {

// The three small address rules shared by the URL box, the editor, the icon fetch and the
// bookmark capture. All positions are 1-based, as the callers cut texts with them.

// "www." gets "http://" in front; a text ending in one of the common domain suffixes gets a
// trailing "/" (never a mailto: address).
std::string EndSlash(std::string_view text);

// Where the site part starts: 13 after "https://www.", 12 after "http://www.", 9 after
// "https://", else 8 (so a text without a scheme loses its first seven characters).
int TrimHTTP(std::string_view text);

// The position just after the first known domain suffix found anywhere in the text (suffixes
// tried in a fixed order, not by place), or 0 when none is present.
int DNSExt(std::string_view text);

} // namespace lv
