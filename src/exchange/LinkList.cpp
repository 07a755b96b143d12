#include "exchange/LinkList.h"

#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>

namespace lv {

namespace {

constexpr char kQuote = '"';
// The bullet of the Windows-1252 code page, beside each HTML page heading.
constexpr char kBullet = '\x95';

std::string HtmlIndexPiece(const std::string& page) {
    const std::string name = EscapeHtmlStored(page);
    return std::string("| <A HREF=") + kQuote + "#" + name + kQuote + ">" + name + "</A> |";
}

std::string HtmlHeading(const std::string& page) {
    const std::string name = EscapeHtmlStored(page);
    return std::string("<BR><BR><A HREF=") + kQuote + "#Links" + kQuote + ">" + kBullet +
           " </A><A Name=" + kQuote + name + kQuote + ">" + name + "</A><A HREF=" + kQuote +
           "#Links" + kQuote + "> " + kBullet + "</A><BR><BR>";
}

std::string BookmarkLine(LinkListMode mode, const std::string& title, const std::string& target) {
    switch (mode) {
    case LinkListMode::Print:
        return "        " + title + "    " + target;
    case LinkListMode::Html:
        return std::string("<A HREF=") + kQuote + EscapeHtmlStored(target) + kQuote + ">" +
               EscapeHtmlStored(title) + "</A><BR>";
    case LinkListMode::Email:
        break;
    }
    return target + " > " + title + " <";
}

} // namespace

LinkList BuildLinkList(const TIniFile32& dataFile, const LinkListRequest& request) {
    LinkList list;
    const int pageCount = static_cast<int>(request.pages.size());
    const int first = std::max(request.firstPage, 0);
    const int last = std::min(request.lastPage, pageCount - 1);
    if (first > last) {
        return list;
    }
    const int visible = datafile::kRowCount * std::clamp(request.columnCount, 1, 4);

    if (request.mode == LinkListMode::Html) {
        list.lines.push_back(std::string("<A Name=") + kQuote + "Links" + kQuote + "></A>|");
        std::string index;
        for (int page = first; page <= last; ++page) {
            index += HtmlIndexPiece(request.pages[static_cast<std::size_t>(page)]);
        }
        list.lines.push_back(std::move(index));
    }
    for (int page = first; page <= last; ++page) {
        const std::string& name = request.pages[static_cast<std::size_t>(page)];
        if (request.mode == LinkListMode::Print) {
            list.lines.push_back(name);
        } else if (request.mode == LinkListMode::Html) {
            list.lines.push_back(HtmlHeading(name));
        }
        for (int slot = 1; slot <= visible; ++slot) {
            if (!request.filter.Passes(dataFile.ReadString(name, SlotKey(slot, 'C'), ""))) {
                continue;
            }
            const std::string target = dataFile.ReadString(name, SlotKey(slot, 'U'), "");
            if (target.empty() || dataFile.ReadString(name, SlotKey(slot, 'L'), "") == "Yes") {
                continue;
            }
            if (target.find(datafile::kProtectedMarker) != std::string::npos) {
                ++list.protectedLeftOut;
                continue;
            }
            const std::string title = dataFile.ReadString(name, SlotKey(slot, 'N'), "");
            list.lines.push_back(BookmarkLine(request.mode, title, target));
            ++list.listed;
        }
    }
    return list;
}

std::string LinkListCaption(LinkListMode mode, std::string_view pageName) {
    const char* verb = "Print the ";
    if (mode == LinkListMode::Html) {
        verb = "Create HTML from the ";
    } else if (mode == LinkListMode::Email) {
        verb = "EMail the ";
    }
    return std::string(verb) + kQuote + std::string(pageName) + kQuote + " Page";
}

const char* LinkListAction(LinkListMode mode) {
    switch (mode) {
    case LinkListMode::Print:
        return "Print";
    case LinkListMode::Html:
        return "Create HTML";
    case LinkListMode::Email:
        break;
    }
    return "EMail";
}

std::string EscapeHtmlStored(std::string_view stored) {
    // Through UTF-8, so that the references of characters Windows-1252 cannot hold are read as
    // those characters and only the user's own '&' is escaped; back to stored text after.
    const std::string text = Cp1252ToUtf8(stored);
    std::string escaped;
    escaped.reserve(text.size());
    for (const char ch : text) {
        switch (ch) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += ch;
        }
    }
    return Utf8ToCp1252(escaped);
}

std::string HtmlListDocument(const std::vector<std::string>& lines) {
    std::string document = "<!DOCTYPE html>\r\n"
                           "<HTML>\r\n"
                           "<HEAD>\r\n"
                           "<META charset=\"utf-8\">\r\n"
                           "<META http-equiv=\"Content-Security-Policy\" content=\"script-src "
                           "'none'; object-src 'none'\">\r\n"
                           "<TITLE>Bookmarks</TITLE>\r\n"
                           "</HEAD>\r\n"
                           "<BODY>\r\n";
    for (const std::string& line : lines) {
        document += Cp1252ToUtf8(line);
        document += "\r\n";
    }
    document += "</BODY>\r\n</HTML>\r\n";
    return document;
}

std::string MemoText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace lv
