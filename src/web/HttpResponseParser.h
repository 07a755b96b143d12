#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lv {

// What one response header line means to the client.
struct HttpHeaderLine {
    enum class Kind { Status, Field, Other };
    Kind kind = Kind::Other;
    int statusCode = 0; // Status
    std::string reason; // Status
    std::string name;   // Field: lower-cased name
    std::string value;  // Field: value without leading blanks
};

// Classifies a non-empty header line: a status line ("HTTP/1.0 ..." or "HTTP/1.1 ..."), a
// "name: value" field, or anything else.
HttpHeaderLine ParseHttpHeaderLine(std::string_view line);

// Decimal value of the leading digits of a field value ("Content-Length"), after blanks; 0
// when there are none. Never overflows.
long long ParseHttpInteger(std::string_view text);

// Value of a "Content-Length" field: its digits, with blanks around them; -1 when it is
// anything else (a sign, a list, letters), so that a size that cannot be trusted is unknown.
// Values beyond 10^17 are capped there.
long long ParseContentLength(std::string_view value);

// True for a line whose first six characters are "<HTML>" in any case: a server that sent no
// header at all.
bool IsHeaderlessHtml(std::string_view line);

// The first and last byte of a "content-range" value ("bytes 0-99/1000" gives "0" and "99").
void ParseContentRange(std::string_view value, std::string& begin, std::string& end);

// The client's receive buffer: 8192 bytes of room plus one, filled from the socket and emptied
// line by line (header) or block by block (body).
class HttpLineBuffer {
public:
    static constexpr std::size_t kCapacity = 8193;
    static constexpr std::size_t kLineLimit = 8192;

    char* FreeSpace() { return data_ + fill_; }
    std::size_t FreeRoom() const { return kLineLimit - fill_; }
    bool Full() const { return fill_ >= kLineLimit; }
    void Commit(std::size_t count) { fill_ += count; }
    std::size_t Size() const { return fill_; }
    std::string_view View() const { return std::string_view(data_, fill_); }
    void Clear() { fill_ = 0; }

    // Takes the next line ending in LF, without the LF and one CR before it; false when the
    // buffer holds no line feed. rawLength receives the length with the line end.
    bool TakeLine(std::string& line, std::size_t* rawLength = nullptr);

private:
    char data_[kCapacity] = {};
    std::size_t fill_ = 0;
};

} // namespace lv
