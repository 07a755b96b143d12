// The head reader and the link finder of the link import, fed any page a server may send.
#include "mainwindow/LinkImport.h"
#include "web/HttpUrl.h"
#include "web/PageHead.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page(reinterpret_cast<const char*>(data), size);
    const lv::PageHeadInfo head = lv::ReadPageHead(page);
    if (!head.iconFound && !head.iconAddress.empty()) {
        std::abort();
    }
    // Whatever the page says, an icon address resolves to an http(s) address (an absolute one
    // kept as written, in any letter case) or to nothing.
    const std::string icon =
        lv::ResolvePageAddress("http://127.0.0.1:8080/a/b.html", head.iconAddress);
    if (!icon.empty() && lv::AsciiLower(icon.substr(0, 4)) != "http") {
        std::abort();
    }
    lv::FoundLink link;
    if (lv::FindLinkInLine(page, lv::LooksLikeUtf8(page), link) &&
        link.address.find("://") == std::string::npos) {
        std::abort();
    }
    lv::SniffIconContent(page);
    return 0;
}
