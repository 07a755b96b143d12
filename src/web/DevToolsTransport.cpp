#include "web/DevToolsTransport.h"
#include "platform/LaunchTarget.h"
#include "platform/Unicode.h"

#include "store/Text.h"
#include "web/TWSocket.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace lv {

namespace {

using Clock = std::chrono::steady_clock;

// A reader for the small JSON answers of the endpoints. Whatever listens on the port may send
// anything, so nesting is bounded and every read is checked.
class JsonReader {
public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    std::optional<std::vector<DevToolsTransport::JsonObject>> Objects() {
        std::vector<DevToolsTransport::JsonObject> objects;
        Blank();
        if (Peek() == '{') {
            objects.emplace_back();
            if (!Object(&objects.back(), 0)) {
                return std::nullopt;
            }
        } else if (Take('[')) {
            Blank();
            if (!Take(']')) {
                do {
                    Blank();
                    objects.emplace_back();
                    if (Peek() != '{' || !Object(&objects.back(), 0)) {
                        return std::nullopt;
                    }
                    Blank();
                } while (Take(','));
                if (!Take(']')) {
                    return std::nullopt;
                }
            }
        } else {
            return std::nullopt;
        }
        Blank();
        if (at_ != text_.size()) {
            return std::nullopt;
        }
        return objects;
    }

private:
    static constexpr int kMaxDepth = 32;

    char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    bool Take(char c) {
        if (Peek() != c || at_ >= text_.size()) {
            return false;
        }
        ++at_;
        return true;
    }
    void Blank() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n')) {
            ++at_;
        }
    }

    // Fills out with the string members when out is given.
    bool Object(DevToolsTransport::JsonObject* out, int depth) {
        if (depth > kMaxDepth || !Take('{')) {
            return false;
        }
        Blank();
        if (Take('}')) {
            return true;
        }
        do {
            Blank();
            std::string key;
            if (!String(key)) {
                return false;
            }
            Blank();
            if (!Take(':')) {
                return false;
            }
            Blank();
            if (Peek() == '"') {
                std::string value;
                if (!String(value)) {
                    return false;
                }
                if (out) {
                    out->emplace(std::move(key), std::move(value));
                }
            } else if (!Skip(depth + 1)) {
                return false;
            }
            Blank();
        } while (Take(','));
        return Take('}');
    }

    bool Skip(int depth) {
        if (depth > kMaxDepth) {
            return false;
        }
        const char c = Peek();
        if (c == '{') {
            return Object(nullptr, depth);
        }
        if (c == '[') {
            ++at_;
            Blank();
            if (Take(']')) {
                return true;
            }
            do {
                Blank();
                if (!Skip(depth + 1)) {
                    return false;
                }
                Blank();
            } while (Take(','));
            return Take(']');
        }
        if (c == '"') {
            std::string ignored;
            return String(ignored);
        }
        // A number or a literal: the run of characters that may form one.
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '-' ||
                text_[at_] == '+' || text_[at_] == '.')) {
            ++at_;
        }
        return at_ > start;
    }

    bool Hex4(std::uint32_t& value) {
        if (text_.size() - at_ < 4) {
            return false;
        }
        value = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            value <<= 4;
            if (c >= '0' && c <= '9') {
                value |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                value |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                value |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return false;
            }
        }
        return true;
    }

    bool String(std::string& out) {
        if (!Take('"')) {
            return false;
        }
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') {
                return true;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) {
                return false;
            }
            const char e = text_[at_++];
            switch (e) {
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                std::uint32_t ch = 0;
                if (!Hex4(ch)) {
                    return false;
                }
                if (ch >= 0xD800 && ch <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
                    const std::size_t back = at_;
                    at_ += 2;
                    std::uint32_t low = 0;
                    if (Hex4(low) && low >= 0xDC00 && low <= 0xDFFF) {
                        ch = 0x10000 + ((ch - 0xD800) << 10) + (low - 0xDC00);
                    } else {
                        at_ = back;
                    }
                }
                if (ch >= 0xD800 && ch <= 0xDFFF) {
                    ch = 0xFFFD;
                }
                AppendUtf8(out, ch);
                break;
            }
            default:
                out += e; // \" \\ \/
                break;
            }
        }
        return false;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// Status and body of a whole HTTP response; nothing while it is incomplete. Complete at the
// end of its Content-Length, or when the peer has closed (closed).
std::optional<DevToolsTransport::HttpAnswer> ParseResponse(const std::string& bytes, bool closed) {
    const std::size_t headerEnd = bytes.find("\r\n\r\n");
    if (headerEnd == std::string::npos) {
        return std::nullopt;
    }
    DevToolsTransport::HttpAnswer answer;
    const std::string_view head(bytes.data(), headerEnd);
    const std::size_t space = head.find(' ');
    if (head.substr(0, 5) != "HTTP/" || space == std::string_view::npos) {
        return DevToolsTransport::HttpAnswer{};
    }
    answer.status = std::atoi(std::string(head.substr(space + 1, 3)).c_str());
    long long length = -1;
    std::size_t line = head.find("\r\n");
    while (line != std::string_view::npos) {
        const std::size_t next = head.find("\r\n", line + 2);
        std::string field(head.substr(
            line + 2, next == std::string_view::npos ? std::string_view::npos : next - line - 2));
        std::transform(field.begin(), field.end(), field.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (field.rfind("content-length:", 0) == 0) {
            length = std::atoll(field.c_str() + 15);
        }
        line = next;
    }
    answer.body = bytes.substr(headerEnd + 4);
    if (length >= 0 && answer.body.size() >= static_cast<unsigned long long>(length)) {
        answer.body.resize(static_cast<std::size_t>(length));
        return answer;
    }
    if (closed) {
        return answer;
    }
    return std::nullopt;
}

std::chrono::milliseconds Left(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return std::clamp(left, std::chrono::milliseconds(0), std::chrono::milliseconds(50));
}

} // namespace

std::optional<std::vector<DevToolsTransport::JsonObject>>
DevToolsTransport::ParseObjects(std::string_view json) {
    return JsonReader(json).Objects();
}

std::string DevToolsTransport::EncodeQuery(std::string_view url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '~' || c == ':' ||
            c == '/') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

// One request over a socket of its own. THttpCli speaks HTTP/1.0 with GET, HEAD and POST,
// while the browser's endpoint refuses HTTP/1.0 and wants PUT for a new tab.
std::optional<DevToolsTransport::HttpAnswer> DevToolsTransport::Send(const std::string& method,
                                                                     const std::string& path,
                                                                     Clock::time_point deadline) {
    TWSocket socket(loop_);
    std::string received;
    bool closed = false;
    bool failed = false;
    std::string request = method + " " + path +
                          " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
                          "\r\nConnection: close\r\n";
    if (method == "PUT") {
        request += "Content-Length: 0\r\n";
    }
    request += "\r\n";
    socket.OnSessionConnected = [&](int error) {
        if (error != 0) {
            failed = true;
        } else {
            socket.SendStr(request);
        }
    };
    socket.OnDataAvailable = [&](int) {
        received += socket.ReceiveStr();
        // Whatever listens on the port must not fill the memory.
        failed = failed || received.size() > kMaxAnswerBytes;
    };
    socket.OnSessionClosed = [&](int) { closed = true; };
    try {
        socket.Connect("127.0.0.1", std::to_string(port_));
    } catch (const ESocketException&) {
        return std::nullopt;
    }
    std::optional<HttpAnswer> answer;
    while (!failed && Clock::now() < deadline) {
        answer = ParseResponse(received, closed);
        if (answer || closed) {
            break;
        }
        loop_.ProcessPending(Left(deadline));
    }
    socket.OnSessionClosed = nullptr;
    socket.OnDataAvailable = nullptr;
    socket.OnSessionConnected = nullptr;
    socket.Abort();
    if (failed) {
        return std::nullopt;
    }
    return answer;
}

bool DevToolsTransport::Connect(const std::string& /*service*/, const std::string& topic) {
    Disconnect();
    const std::optional<HttpAnswer> answer =
        Send("GET", "/json/list", Clock::now() + connectTimeout);
    if (!answer || answer->status != 200) {
        return false;
    }
    const auto targets = ParseObjects(answer->body);
    if (!targets) {
        return false;
    }
    for (const JsonObject& target : *targets) {
        const auto type = target.find("type");
        if (type != target.end() && type->second == "page" && target.count("id")) {
            pages_.push_back(target);
        }
    }
    topic_ = topic;
    connected_ = true;
    return true;
}

void DevToolsTransport::Disconnect() {
    connected_ = false;
    topic_.clear();
    pages_.clear();
}

std::optional<std::string> DevToolsTransport::Request(const std::string& item,
                                                      std::chrono::milliseconds timeout) {
    if (!connected_) {
        return std::nullopt;
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    // The link reads fields up to the next double quote, so a quote inside one would cut it
    // short: an address gets its percent form, a title an apostrophe.
    const auto field = [](const JsonObject& page, const char* name) {
        const auto found = page.find(name);
        std::string text = found == page.end() ? std::string() : Utf8ToCp1252(found->second);
        const bool url = std::string_view(name) == "url";
        for (std::size_t at = text.find('"'); at != std::string::npos; at = text.find('"', at)) {
            text.replace(at, 1, url ? "%22" : "'");
        }
        return text;
    };
    if (topic_ == "WWW_GetWindowInfo") {
        if (pages_.empty()) {
            return std::nullopt;
        }
        return "\"" + field(pages_.front(), "url") + "\",\"" + field(pages_.front(), "title") +
               "\",\"\"";
    }
    if (topic_ == "WWW_Activate") {
        if (pages_.empty()) {
            return std::string("0");
        }
        const auto answer =
            Send("GET", "/json/activate/" + EncodeQuery(pages_.front().at("id")), deadline);
        if (!answer || answer->status != 200) {
            return std::nullopt;
        }
        return field(pages_.front(), "id");
    }
    if (topic_ == "WWW_OpenURL") {
        return OpenUrl(item, deadline);
    }
    return std::nullopt;
}

std::optional<std::string> DevToolsTransport::OpenUrl(const std::string& item,
                                                      Clock::time_point deadline) {
    // The item is a quoted address followed by the window arguments.
    if (item.empty() || item[0] != '"') {
        return std::nullopt;
    }
    const std::size_t close = item.find('"', 1);
    const std::string url =
        Cp1252ToUtf8(item.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    if (!TargetRefusal(url, TargetKind::WebAddress).empty()) {
        return std::nullopt;
    }
    const auto answer = Send("PUT", "/json/new?" + EncodeQuery(url), deadline);
    if (!answer || answer->status != 200) {
        return std::nullopt;
    }
    const auto created = ParseObjects(answer->body);
    if (!created || created->size() != 1 || !created->front().count("id")) {
        return std::nullopt;
    }
    const std::string id = created->front().at("id");
    // The tab is open either way; bringing it to the front is a courtesy.
    (void)Send("GET", "/json/activate/" + EncodeQuery(id), deadline);
    return Utf8ToCp1252(id);
}

} // namespace lv
