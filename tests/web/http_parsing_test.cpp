// The pure parts of the client: address parser, document names, header lines, error texts.
#include "web/HttpResponseParser.h"
#include "web/HttpUrl.h"
#include "web/WinsockErrors.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <netdb.h>

namespace {

TEST(HttpUrl, AddressesSplitIntoTheirParts) {
    struct Case {
        std::string address, scheme, user, password, host, port, path;
    };
    const std::vector<Case> cases = {
        {"", "", "", "", "", "", ""},
        {"http://www.example.com", "http", "", "", "www.example.com", "", ""},
        {"https://example.com/a/b?c=d", "https", "", "", "example.com", "", "/a/b?c=d"},
        {"http://ann:pw@example.com:8080/x", "http", "ann", "pw", "example.com", "8080", "/x"},
        {"http://ann@example.com/", "http", "ann", "", "example.com", "", "/"},
        {"http://ann:pw@example.com/", "http", "ann", "pw", "example.com", "", "/"},
        {"www.example.com/page.htm", "", "", "", "www.example.com", "", "/page.htm"},
        {"/local/page", "http", "", "", "", "", "/local/page"},
        {"//host/page", "http", "", "", "", "", "/host/page"},
        {"HTTP:page.htm", "http", "", "", "", "", "page.htm"},
        {"http:/x", "http", "", "", "", "", "/x"},
        {"mailto:ann@example.com", "mailto", "ann", "", "example.com", "", ""},
        {"example.com:81", "", "", "", "example.com", "81", ""},
    };
    for (const auto& c : cases) {
        const auto p = lv::ParseHttpUrl(c.address);
        EXPECT_EQ(p.scheme, c.scheme) << c.address;
        EXPECT_EQ(p.user, c.user) << c.address;
        EXPECT_EQ(p.password, c.password) << c.address;
        EXPECT_EQ(p.host, c.host) << c.address;
        EXPECT_EQ(p.port, c.port) << c.address;
        EXPECT_EQ(p.path, c.path) << c.address;
    }
}

TEST(HttpUrl, DocumentFileNames) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "document.htm"},
        {"/", "document.htm"},
        {"/docs/", "docs"},
        {"/cgi-bin/search.cgi?q=a", "search.cgi"},
        {"/a/b/page.html", "page.html"},
        {"/?q=1", "document.htm"},
        {"/" + std::string(300, 'n'), std::string(255, 'n')},
    };
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(lv::DocumentFileNameFromPath(path), name) << path;
    }
}

TEST(HttpUrl, Base64PadsAndNeverBreaksLines) {
    EXPECT_EQ(lv::Base64Encode(""), "");
    EXPECT_EQ(lv::Base64Encode("a"), "YQ==");
    EXPECT_EQ(lv::Base64Encode("ab"), "YWI=");
    EXPECT_EQ(lv::Base64Encode("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
    EXPECT_EQ(lv::Base64Encode(std::string(100, '\xff')).find('\n'), std::string::npos);
}

// The examples of RFC 3986 section 5.4, plus the forms servers really send.
TEST(HttpUrl, RelocationsResolveAgainstTheAddressAsked) {
    const lv::HttpTarget base{"http", "a", "80", "/b/c/d;p?q"};
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"g", "http://a:80/b/c/g"},
        {"./g", "http://a:80/b/c/g"},
        {"g/", "http://a:80/b/c/g/"},
        {"/g", "http://a:80/g"},
        {"//g", "http://g:80/"},
        {"?y", "http://a:80/b/c/d;p?y"},
        {"g?y", "http://a:80/b/c/g?y"},
        {"#s", "http://a:80/b/c/d;p?q"},
        {"g?y#s", "http://a:80/b/c/g?y"},
        {";x", "http://a:80/b/c/;x"},
        {"", "http://a:80/b/c/d;p?q"},
        {".", "http://a:80/b/c/"},
        {"..", "http://a:80/b/"},
        {"../g", "http://a:80/b/g"},
        {"../..", "http://a:80/"},
        {"../../../../g", "http://a:80/g"},
        {"/./g", "http://a:80/g"},
        {"/../g", "http://a:80/g"},
        {"g.", "http://a:80/b/c/g."},
        {"..g", "http://a:80/b/c/..g"},
        {"./g/.", "http://a:80/b/c/g/"},
        {"g;x=1/../y", "http://a:80/b/c/y"},
        {"g?y/../x", "http://a:80/b/c/g?y/../x"},
        {"g#s/../x", "http://a:80/b/c/g"},
        {"http:g", "http://a:80/b/c/g"},
        // A host name without a scheme is a relative path, not a host.
        {"www.example.com/page", "http://a:80/b/c/www.example.com/page"},
        {"//h:8080/x?z", "http://h:8080/x?z"},
        {"HTTPS://Host.Example/x", "https://host.example:443/x"},
        {"https://h:8443", "https://h:8443/"},
        {"http://ann:pw@h:81/x", "http://h:81/x"},
        {"http://[::1]:81/x", "http://[::1]:81/x"},
    };
    for (const auto& [reference, expected] : cases) {
        lv::HttpTarget out;
        std::string why;
        ASSERT_TRUE(lv::ResolveHttpReference(base, reference, out, why)) << reference << why;
        EXPECT_EQ(lv::HttpOrigin(out) + out.target, expected) << reference;
    }
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"g:h", "only http and https addresses are followed"},
        {"ftp://a/x", "only http and https addresses are followed"},
        {"javascript:alert(1)", "only http and https addresses are followed"},
        {"localhost:8080/x", "only http and https addresses are followed"},
        {"http:///x", "the address names no host"},
        {"https:x", "the address names no host"},
        {"http://h:0/", "the address has a bad port"},
        {"http://h:65536/", "the address has a bad port"},
        {"http://h:8o/", "the address has a bad port"},
        {"/x\r\nSet-Cookie: a=b", "the address holds a line break"},
        {"/x\rX-Evil: 1", "the address holds a line break"},
        {std::string("/x\0y", 4), "the address holds a line break"},
    };
    for (const auto& [reference, reason] : refused) {
        lv::HttpTarget out;
        std::string why;
        EXPECT_FALSE(lv::ResolveHttpReference(base, reference, out, why)) << reference;
        EXPECT_EQ(why, reason) << reference;
    }
}

TEST(HttpUrl, RequestTargetsAreEncodedForTheRequestLine) {
    EXPECT_EQ(lv::EncodeRequestTarget("/a b/\xC3\xA9?q=1&r=%20"), "/a%20b/%C3%A9?q=1&r=%20");
    EXPECT_EQ(lv::EncodeRequestTarget("/t\tx\x7F"), "/t%09x%7F");
    EXPECT_EQ(lv::EncodeRequestTarget("/plain/path;p?x=~y#z"), "/plain/path;p?x=~y#z");
}

TEST(HttpHeaderLine, ContentLengthIsTakenOnlyWhenItIsANumber) {
    const std::vector<std::pair<std::string, long long>> cases = {
        {"1234", 1234}, {" 0 ", 0},
        {"12abc", -1},  {"-5", -1},
        {"+5", -1},     {"5, 5", -1},
        {"", -1},       {"abc", -1},
        {"0x10", -1},   {"99999999999999999999999999", 999999999999999999LL},
    };
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(lv::ParseContentLength(text), value) << text;
    }
}

TEST(HttpHeaderLine, LinesAreClassified) {
    auto status = lv::ParseHttpHeaderLine("HTTP/1.1 404 Not Found");
    EXPECT_EQ(status.kind, lv::HttpHeaderLine::Kind::Status);
    EXPECT_EQ(status.statusCode, 404);
    EXPECT_EQ(status.reason, "Not Found");
    EXPECT_EQ(lv::ParseHttpHeaderLine("HTTP/1.0 200").reason, "");
    EXPECT_EQ(lv::ParseHttpHeaderLine("HTTP/2 200 OK").kind, lv::HttpHeaderLine::Kind::Other);

    auto field = lv::ParseHttpHeaderLine("Content-Type:   Text/HTML");
    EXPECT_EQ(field.kind, lv::HttpHeaderLine::Kind::Field);
    EXPECT_EQ(field.name, "content-type");
    EXPECT_EQ(field.value, "Text/HTML");
    EXPECT_EQ(lv::ParseHttpHeaderLine("X:  ").value, " "); // the last character stays
    EXPECT_EQ(lv::ParseHttpHeaderLine("garbage").kind, lv::HttpHeaderLine::Kind::Other);

    EXPECT_TRUE(lv::IsHeaderlessHtml("<hTmL><head>"));
    EXPECT_FALSE(lv::IsHeaderlessHtml("<HTM"));
    EXPECT_EQ(lv::ParseHttpInteger(" 1234x"), 1234);
    EXPECT_EQ(lv::ParseHttpInteger("99999999999999999999999999"), 999999999999999999LL);

    std::string begin, end;
    lv::ParseContentRange("bytes 100-199/1000", begin, end);
    EXPECT_EQ(begin, "100");
    EXPECT_EQ(end, "199");
    lv::ParseContentRange("junk", begin, end);
    EXPECT_EQ(begin + end, "");
}

TEST(HttpLineBuffer, TakesLinesWithoutTheirEnds) {
    lv::HttpLineBuffer buffer;
    const std::string bytes = "one\r\ntwo\nthree";
    std::copy(bytes.begin(), bytes.end(), buffer.FreeSpace());
    buffer.Commit(bytes.size());
    std::string line;
    std::size_t raw = 0;
    ASSERT_TRUE(buffer.TakeLine(line, &raw));
    EXPECT_EQ(line, "one");
    EXPECT_EQ(raw, 5u);
    ASSERT_TRUE(buffer.TakeLine(line));
    EXPECT_EQ(line, "two");
    EXPECT_FALSE(buffer.TakeLine(line));
    EXPECT_EQ(buffer.View(), "three");
}

TEST(WinsockErrors, PosixErrorsMapToWinsockNumbersAndTexts) {
    const std::vector<std::tuple<int, int, std::string>> cases = {
        {ECONNREFUSED, 10061, "Connection refused"},
        {ETIMEDOUT, 10060, "Connection timed out"},
        {ECONNRESET, 10054, "Connection reset by peer"},
        {EHOSTUNREACH, 10065, "No route to host"},
        {ENETUNREACH, 10051, "Network is unreachable"},
        {EAGAIN, 10035, "Operation would block"},
        {EPIPE, 10058, "Can't send after socket shutdown"},
    };
    for (const auto& [posix, number, text] : cases) {
        EXPECT_EQ(lv::WinsockErrorFromErrno(posix), number) << text;
        EXPECT_EQ(lv::WinsockErrorText(number), text);
    }
    EXPECT_EQ(lv::WinsockErrorFromGai(EAI_NONAME, 0), 11001);
    EXPECT_EQ(lv::WinsockErrorText(11001), "Host not found");
    EXPECT_EQ(lv::WinsockErrorText(0), "No Error");
    EXPECT_EQ(lv::WinsockErrorText(12345), "Not a WinSock error");
}

} // namespace
