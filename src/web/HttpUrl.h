#pragma once

#include <string>
#include <string_view>

namespace lv {

// The parts of an address as the HTTP client splits it. Every part is empty when the address
// does not carry it.
struct HttpUrlParts {
    std::string scheme;
    std::string user;
    std::string password;
    std::string host;
    std::string port;
    std::string path;
};

// Splits an address into scheme, user, password, host, port and path. Lenient by design: it
// accepts what users type into bookmarks ("host/page", "http:page", "user:pw@host:81/x").
HttpUrlParts ParseHttpUrl(std::string_view address);

// The file name a document would be stored under: the last path component (without a query),
// or "document.htm" when the path names none.
std::string DocumentFileNameFromPath(std::string_view path);

// Default port of a scheme as text: "443" for https, "80" otherwise.
std::string DefaultPortForScheme(std::string_view scheme);

// Lower-cased copy of ASCII text.
std::string AsciiLower(std::string_view text);

// RFC 1521 Base64 with "=" padding and no line breaks.
std::string Base64Encode(std::string_view bytes);

// Where a request goes: scheme ("http" or "https"), host, port (never empty) and the request
// target (path and query, beginning with "/").
struct HttpTarget {
    std::string scheme;
    std::string host;
    std::string port;
    std::string target;
};

// "scheme://host:port" in lower case: two addresses with the same origin are the same server.
std::string HttpOrigin(const HttpTarget& where);

// Resolves the value of a "Location" field against the address just requested, as RFC 3986
// (section 5) resolves a reference against its base: absolute addresses, "//host/path", "/path",
// relative paths with "." and "..", "?query" and the empty reference. A fragment is dropped and
// credentials in the value are ignored. False, with the reason in why, for a value that holds a
// CR, LF or NUL, names a scheme other than http and https, or has no host or a bad port.
bool ResolveHttpReference(const HttpTarget& base, std::string_view reference, HttpTarget& out,
                          std::string& why);

// The request target as it may go on the request line: spaces, control characters and bytes
// outside ASCII are percent-encoded; everything else is left as it is.
std::string EncodeRequestTarget(std::string_view target);

} // namespace lv
