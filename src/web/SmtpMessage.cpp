#include "web/SmtpMessage.h"

#include "web/HttpUrl.h"

#include <array>
#include <cstdio>

namespace lv {

std::string SmtpDotStuff(std::string_view line) {
    if (!line.empty() && line[0] == '.') {
        return "." + std::string(line);
    }
    return std::string(line);
}

std::string SmtpTrim(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    const auto end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

std::string SmtpOneLine(std::string text) {
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
    return text;
}

std::string SmtpBoundary(const std::tm& t) {
    // Fixed English month names: the boundary is protocol text, not something for the reader.
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%s%02d%02d%02d%02d",
                  kMonths[static_cast<std::size_t>(t.tm_mon) % 12], t.tm_mday % 100,
                  (t.tm_year + 1900) % 100, t.tm_hour % 100, t.tm_min % 100);
    return std::string("= Multipart Boundary ") + stamp;
}

bool SmtpBase64File::Open(const std::string& fileName) {
    Close();
    in_.open(fileName, std::ios::binary);
    open_ = in_.is_open();
    atEnd_ = false;
    return open_;
}

bool SmtpBase64File::NextLine(std::string& line) {
    line.clear();
    if (!open_ || atEnd_) {
        return false;
    }
    char chunk[kBytesPerLine];
    in_.read(chunk, kBytesPerLine);
    const auto got = static_cast<std::size_t>(in_.gcount());
    if (in_.bad()) {
        return false;
    }
    line = Base64Encode(std::string_view(chunk, got));
    // Look one byte ahead so the caller learns about the last line as it takes it.
    if (got < kBytesPerLine || in_.peek() == std::char_traits<char>::eof()) {
        atEnd_ = true;
    }
    if (in_.bad()) {
        return false;
    }
    return true;
}

void SmtpBase64File::Close() {
    if (in_.is_open()) {
        in_.close();
    }
    in_.clear();
    open_ = false;
}

} // namespace lv
