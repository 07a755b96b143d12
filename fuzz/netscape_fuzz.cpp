// Arbitrary bytes as a browser's bookmark file: the reader must not crash, and what it takes
// must be storable as pages: every link titled, addresses ASCII without control characters,
// and the planned pages of at most 80 links each.
#include "exchange/HtmlText.h"
#include "exchange/NetscapeImport.h"
#include "exchange/NetscapeReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckLinks(const std::vector<lv::NetscapeLink>& links) {
    for (const lv::NetscapeLink& link : links) {
        Check(!link.title.empty() && !link.url.empty());
        for (const char c : link.url) {
            Check(static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const lv::NetscapeBookmarks bookmarks = lv::ReadNetscape(bytes);
    CheckLinks(bookmarks.loose);
    for (const lv::NetscapeFolder& folder : bookmarks.folders) {
        CheckLinks(folder.links);
    }
    long long planned = 0;
    for (const lv::ImportPage& page : lv::PlanImportPages(bookmarks)) {
        Check(page.links.size() <= 80 && !page.name.empty());
        planned += static_cast<long long>(page.links.size());
    }
    Check(planned == bookmarks.LinkCount());
    // Escaped text always decodes back to itself.
    const std::string text = lv::HtmlBytesToUtf8(bytes.substr(0, 256));
    Check(lv::DecodeHtmlEntities(lv::EscapeHtml(text)) == text);
    return 0;
}
