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

} // namespace lv
