#pragma once

#include "pages/ColorFilter.h"

#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TIniFile32;

// The three forms of the link list of a page range: printed text, an HTML file with an index of
// the pages, and the body of an e-mail.
enum class LinkListMode { Print, Html, Email };

struct LinkListRequest {
    LinkListMode mode = LinkListMode::Print;
    std::vector<std::string> pages; // the page list in tab order
    int firstPage = 0;              // indexes into pages, as the page range dialog gives them
    int lastPage = 0;
    int columnCount = 4; // only the visible 20 x columns slots are listed
    ColorFilter filter;
};

struct LinkList {
    // Stored text (Windows-1252 bytes, "&#N;" references kept). In the HTML form every title,
    // address and page name is already escaped, so the lines are markup as they stand.
    std::vector<std::string> lines;
    int listed = 0;
    // Bookmarks left out because their address is scrambled by a page or bookmark password: the
    // scrambled bytes mean nothing to a reader and would give the protected address away to
    // anyone who knows the scrambling.
    int protectedLeftOut = 0;
};

// Collects the lines: the HTML index, then per page its heading (none in an e-mail) and one line
// per listed bookmark. A bookmark is listed when its slot is visible, it passes the colour test,
// its address is not empty and it is not a local file or program (L = "Yes").
LinkList BuildLinkList(const TIniFile32& dataFile, const LinkListRequest& request);

// The range dialog's caption for the current page, and the action text (also the caption of its
// action button, and the verb of the messages).
std::string LinkListCaption(LinkListMode mode, std::string_view pageName);
const char* LinkListAction(LinkListMode mode);

// Escapes &, <, > and " of stored text for HTML. A "&#N;" reference that stands for a character
// is kept as that character rather than escaped, so it shows as the character in the browser.
std::string EscapeHtmlStored(std::string_view stored);

// The saved HTML file: a document that declares UTF-8 and lets no script run, around the lines,
// each converted to UTF-8 and followed by CR LF.
std::string HtmlListDocument(const std::vector<std::string>& lines);

// The text of the main window's memo: each line followed by CR LF.
std::string MemoText(const std::vector<std::string>& lines);

} // namespace lv
