#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// Netscape bookmark files as browsers really write them: folders (<H3>) with lists (<DL>) of
// links (<A HREF>), in any attribute order and letter case, wrapped over lines or crammed on
// one, with descriptions, separators, comments and stray markup between them. The reader is a
// tolerant tokenizer that makes one pass over the text; it never needs a line to look a certain
// way. All text here is UTF-8, entities decoded.

struct NetscapeLink {
    std::string title; // never empty: a link without a title is titled by its address
    std::string url;
};

struct NetscapeFolder {
    std::string name;
    std::vector<NetscapeLink> links; // the folder's own links, in file order
};

struct NetscapeBookmarks {
    std::string encoding; // what the bytes were read as: "UTF-8", "Windows-1252", "Mac Roman", ...
    std::string heading;  // the text of the first <H1>, empty when there is none
    // Links outside every folder.
    std::vector<NetscapeLink> loose;
    // Every folder, nested ones too, in the order their headers appear. A second folder of the
    // same name adds its links to the first one.
    std::vector<NetscapeFolder> folders;
    // Links not taken, by reason ("javascript: address"), with how many.
    std::map<std::string, long long> notTaken;
    long long LinkCount() const;
};

// Reports how far the reader got through the bytes.
using ReadProgress = std::function<void(std::size_t done, std::size_t total)>;

NetscapeBookmarks ReadNetscape(std::string_view bytes, const ReadProgress& progress = {});

// The bytes of an HTML file as UTF-8: a byte order mark wins, then a charset the file declares
// in its head (Mac Roman, Windows-1252 and its Latin-1 aliases here, any other charset ICU
// knows), else UTF-8 when the bytes are valid UTF-8 and Windows-1252 when not. A file that
// declares UTF-8 but is not valid UTF-8 is read as Windows-1252. encoding gets the name used.
std::string HtmlBytesToUtf8(std::string_view bytes, std::string* encoding = nullptr);

// The charset named in a META of the file's head (before its first list), lower case; empty
// when none is declared.
std::string DeclaredCharset(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

} // namespace lv
