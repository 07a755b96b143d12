#include "exchange/NetscapeExport.h"

#include "exchange/HtmlText.h"
#include "exchange/NetscapeReader.h"
#include "store/FileError.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <fcntl.h>
#include <unistd.h>

namespace lv {
namespace {

std::string Html(std::string_view stored, bool utf8) {
    const std::string escaped = EscapeHtml(Cp1252ToUtf8(stored));
    return utf8 ? escaped : Utf8ToCp1252(escaped);
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

} // namespace

std::string NetscapeFolderLines(const std::vector<ExportFolder>& folders, std::string_view date,
                                bool utf8) {
    const std::string stamp = "\"" + std::string(date) + "\"";
    std::string out;
    for (const ExportFolder& folder : folders) {
        out += "    <DT><H3 FOLDED ADD_DATE=" + stamp + ">" + Html(folder.name, utf8) + "</H3>\r\n";
        out += "\r    <DL><p>\r\r\n";
        for (const ExportBookmark& link : folder.links) {
            out += "      <DT><A HREF=\"" + Html(link.url, utf8) + "\" ADD_DATE=" + stamp +
                   " LAST_VISIT=" + stamp + " LAST MODIFIED=" + stamp + ">" +
                   Html(link.title, utf8) + "</A>\r\n";
        }
        out += "\r    </DL><p>\r\r\n";
    }
    return out;
}

std::string NewNetscapeDocument(const std::vector<ExportFolder>& folders, std::string_view date) {
    std::string out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
                      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
                      "<TITLE>Bookmarks</TITLE>\r\n"
                      "<H1>Bookmarks</H1>\r\n"
                      "<DL><p>\r\n";
    out += NetscapeFolderLines(folders, date, true);
    out += "</DL><p>\r\n";
    return out;
}

bool DeclaresUtf8(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return true;
    }
    const std::string charset = DeclaredCharset(bytes);
    return charset == "utf-8" || charset == "utf8";
}

bool ExportNetscapeFile(const std::string& path, const std::vector<ExportFolder>& folders,
                        std::string_view date) {
    const std::optional<std::string> existing = ReadFileBytes(path);
    if (!existing) {
        WriteFileAtomic(path, NewNetscapeDocument(folders, date));
        return true;
    }
    std::string lines;
    // After the last line, not glued to its end.
    if (!existing->empty() && existing->back() != '\n' && existing->back() != '\r') {
        lines = "\r\n";
    }
    lines += NetscapeFolderLines(folders, date, DeclaresUtf8(*existing));
    Descriptor file;
    file.fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (file.fd < 0) {
        throw FileError::CannotOpen(path);
    }
    if (!WriteAll(file.fd, lines) || ::fsync(file.fd) != 0) {
        throw FileError::CannotCreate(path);
    }
    return false;
}

} // namespace lv
