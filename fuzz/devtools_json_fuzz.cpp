// The browser link's JSON reader: whatever listens on the debugging port may answer anything.
// Beyond not crashing: a lone object reads the same inside an array, and every string read
// comes through EncodeQuery as unreserved characters and %XX escapes that decode back to it.
#include "web/DevToolsTransport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool Unreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == ':' || c == '/';
}

void CheckEncoding(const std::string& value) {
    const std::string encoded = lv::DevToolsTransport::EncodeQuery(value);
    std::string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            if (!Unreserved(encoded[i])) {
                std::abort();
            }
            decoded += encoded[i];
            continue;
        }
        if (i + 2 >= encoded.size()) {
            std::abort();
        }
        const int high = HexValue(encoded[i + 1]);
        const int low = HexValue(encoded[i + 2]);
        if (high < 0 || low < 0) {
            std::abort();
        }
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    if (decoded != value) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto objects = lv::DevToolsTransport::ParseObjects(input);
    if (!objects) {
        return 0;
    }
    for (const auto& object : *objects) {
        for (const auto& [key, value] : object) {
            CheckEncoding(key);
            CheckEncoding(value);
        }
    }
    const std::size_t first = input.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && input[first] == '{') {
        const std::string wrapped = "[" + std::string(input) + "," + std::string(input) + "]";
        const auto both = lv::DevToolsTransport::ParseObjects(wrapped);
        if (!both || both->size() != 2 || (*both)[0] != objects->front() ||
            (*both)[1] != objects->front()) {
            std::abort();
        }
    }
    return 0;
}
