// Server replies as the mail client reads them: split into lines, take the code of each, find
// the end of a multi-line reply and read the EHLO offers.
#include "web/SmtpReply.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> reply;
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        std::string line(input.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const int code = lv::SmtpReplyCode(line);
        if (code < 0) {
            __builtin_trap();
        }
        reply.push_back(line);
        if (lv::SmtpIsLastReplyLine(line)) {
            lv::SmtpParseEhlo(reply);
            reply.clear();
        }
        start = end + 1;
    }
    lv::SmtpParseEhlo(reply);
    return 0;
}
