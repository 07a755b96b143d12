#pragma once

#include <string>
#include <string_view>

namespace lv {

// Text inside HTML, in UTF-8 on both sides.

// Escapes the four characters that would end or open markup in text and in a quoted attribute
// value: & < > and the double quote.
std::string EscapeHtml(std::string_view utf8);

// Decodes character references once: decimal "&#39;" and hexadecimal "&#x27;" (the ";" may be
// missing, as browsers allow), and the named references of HTML 4 text (Latin-1, the common
// punctuation, "&apos;"), which need their ";". Anything else stays as written, so a bare "&" of
// "AT&T" survives. References to nothing storable (0, surrogates, past U+10FFFF) give U+FFFD;
// 80..9F hex stand for the Windows-1252 characters, as browsers read them.
std::string DecodeHtmlEntities(std::string_view utf8);

} // namespace lv
