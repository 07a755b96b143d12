#include "web/HttpResponseParser.h"

#include "web/HttpUrl.h"

#include <cstring>

namespace lv {

long long ParseHttpInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > 100000000000000000LL) {
            break;
        }
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

long long ParseContentLength(std::string_view value) {
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
        value.remove_prefix(1);
    }
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) {
        value.remove_suffix(1);
    }
    if (value.empty()) {
        return -1;
    }
    long long result = 0;
    for (const char c : value) {
        if (c < '0' || c > '9') {
            return -1;
        }
        result = result > 100000000000000000LL ? result : result * 10 + (c - '0');
    }
    return result;
}

HttpHeaderLine ParseHttpHeaderLine(std::string_view line) {
    HttpHeaderLine out;
    if (line.starts_with("HTTP/1.0") || line.starts_with("HTTP/1.1")) {
        // "HTTP/1.x NNN Reason": the code is in characters 10 to 12, the reason from 14 on.
        out.kind = HttpHeaderLine::Kind::Status;
        out.statusCode =
            static_cast<int>(ParseHttpInteger(line.size() > 9 ? line.substr(9, 3) : ""));
        out.reason = line.size() > 13 ? std::string(line.substr(13)) : std::string();
        return out;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) {
        return out;
    }
    out.kind = HttpHeaderLine::Kind::Field;
    out.name = AsciiLower(line.substr(0, colon));
    std::size_t start = colon + 1;
    // Leading blanks are skipped, but never the line's last character.
    while (start + 1 < line.size() && (line[start] == ' ' || line[start] == '\t')) {
        ++start;
    }
    out.value = std::string(line.substr(std::min(start, line.size())));
    return out;
}

bool IsHeaderlessHtml(std::string_view line) {
    return line.size() >= 6 && AsciiLower(line.substr(0, 6)) == "<html>";
}

void ParseContentRange(std::string_view value, std::string& begin, std::string& end) {
    // "bytes 0-99/1000": from the seventh character up to the first "-", then up to the "/".
    const auto dash = value.find('-');
    const auto slash = value.find('/');
    if (value.size() > 6 && dash != std::string_view::npos && dash >= 6) {
        begin = std::string(value.substr(6, dash - 6));
    } else {
        begin.clear();
    }
    if (dash != std::string_view::npos && slash != std::string_view::npos && slash > dash) {
        end = std::string(value.substr(dash + 1, slash - dash - 1));
    } else {
        end.clear();
    }
}

bool HttpLineBuffer::TakeLine(std::string& line, std::size_t* rawLength) {
    const void* lf = std::memchr(data_, '\n', fill_);
    if (lf == nullptr) {
        return false;
    }
    const std::size_t lineEnd = static_cast<const char*>(lf) - data_;
    std::size_t length = lineEnd;
    if (length > 0 && data_[length - 1] == '\r') {
        --length;
    }
    line.assign(data_, length);
    const std::size_t taken = lineEnd + 1;
    if (rawLength != nullptr) {
        *rawLength = taken;
    }
    std::memmove(data_, data_ + taken, fill_ - taken);
    fill_ -= taken;
    return true;
}

} // namespace lv
