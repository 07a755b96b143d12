// Response header parsing: bytes as a server might send them, split into lines by the client's
// receive buffer and classified line by line.
#include "web/HttpResponseParser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lv::HttpLineBuffer buffer;
    std::string line;
    std::string begin;
    std::string end;
    // The first byte picks the chunk size, so lines also straddle receive calls.
    const std::size_t chunk = size > 0 ? 1 + data[0] % 64 : 1;
    std::size_t pos = size > 0 ? 1 : 0;
    while (pos < size) {
        if (buffer.Full()) {
            buffer.Clear(); // the client gives up on the line here
        }
        const std::size_t take = std::min({chunk, size - pos, buffer.FreeRoom()});
        std::memcpy(buffer.FreeSpace(), data + pos, take);
        buffer.Commit(take);
        pos += take;
        std::size_t raw = 0;
        while (buffer.TakeLine(line, &raw)) {
            if (raw < line.size() + 1 || raw > line.size() + 2) {
                std::abort();
            }
            lv::IsHeaderlessHtml(line);
            if (line.empty()) {
                continue;
            }
            const auto parsed = lv::ParseHttpHeaderLine(line);
            if (parsed.kind == lv::HttpHeaderLine::Kind::Field) {
                if (parsed.value.size() > line.size()) {
                    std::abort();
                }
                lv::ParseHttpInteger(parsed.value);
                lv::ParseContentRange(parsed.value, begin, end);
            }
        }
        if (buffer.Size() > lv::HttpLineBuffer::kLineLimit) {
            std::abort();
        }
    }
    return 0;
}
