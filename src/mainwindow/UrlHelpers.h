#pragma once

#include <string>
#include <string_view>

namespace lv {

// The three small address rules shared by the URL box, the editor, the icon fetch and the
// bookmark capture. All positions are 1-based, as the callers cut texts with them.

// "www." gets "http://" in front; a web address ending in one of the common domain suffixes gets
// a trailing "/". Anything else (a mailto: address, a local file such as "song.au" or
// "/music/tune.de", a file: URL) is left as it is.
std::string EndSlash(std::string_view text);

// True for a text that begins with a network scheme and "://" (any scheme but file:) or with
// "www." in any letter case.
bool IsWebAddress(std::string_view text);

// The title a bookmark gets when the user leaves it empty: for a web address the host's first
// name (without "www."; an IP address or a one-word host whole), for "mailto:" the text after it
// up to the first ".", for a local file its name without the extension.
std::string SiteTitle(std::string_view url);

// Where the site part starts: 13 after "https://www.", 12 after "http://www.", 9 after
// "https://", else 8 (so a text without a scheme loses its first seven characters).
int TrimHTTP(std::string_view text);

// The position just after the first known domain suffix found anywhere in the text (suffixes
// tried in a fixed order, not by place), or 0 when none is present.
int DNSExt(std::string_view text);

} // namespace lv
