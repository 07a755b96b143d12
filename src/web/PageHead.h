#pragma once

#include <string>
#include <string_view>

namespace lv {

// What the head of a web page says about the site: the address of its icon and its
// description. Both are Windows-1252 bytes as the DataFile stores them, entities decoded; the
// icon address is kept exactly as the page wrote it (paths are case-sensitive).
struct PageHeadInfo {
    bool iconFound = false;
    std::string iconAddress;
    bool descriptionFound = false;
    std::string description;
};

// Reads the tags of a page's head the way a browser tokenises them: names and attributes in
// any letter case and order, values in double quotes, single quotes or none, tags across
// lines; comments and the contents of script and style elements are skipped, and reading ends
// with the head (at "</head>" or "<body"). The icon is a <meta name="icon" content=...> or else
// a <link> whose rel holds the word "icon" (the last such tag counts); the description is the
// content of the first <meta name="description">.
PageHeadInfo ReadPageHead(std::string_view html);

// Decodes HTML character references (&amp; &#233; &#xE9; and the common named ones) in text
// from a page; pageIsUtf8 says how the page's bytes are encoded. The result is Windows-1252
// bytes (characters it cannot hold become "&#NNNN;" references, as everywhere in the store).
std::string DecodeHtmlText(std::string_view text, bool pageIsUtf8);

// Whether bytes are well-formed UTF-8 (pure ASCII is).
bool LooksLikeUtf8(std::string_view bytes);

// Resolves an address found in a page against the page's own (final) address, as a browser
// does: absolute http(s) addresses stay, "//host/x" takes the page's scheme, "/x" its origin,
// "x" and "../x" its folder. Empty when the page address has no http(s) scheme and host, or
// when the result would not be an http(s) address.
std::string ResolvePageAddress(std::string_view pageAddress, std::string_view reference);

// What a downloaded icon file holds, by its first bytes.
enum class IconContent { Unknown, Ico, Png, Gif, Jpeg, Bmp };
IconContent SniffIconContent(std::string_view firstBytes);

} // namespace lv
