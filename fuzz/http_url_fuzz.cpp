// The address parser and the names derived from it, fed any bytes a bookmark may hold.
#include "web/HttpUrl.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string address(reinterpret_cast<const char*>(data), size);
    const lv::HttpUrlParts parts = lv::ParseHttpUrl(address);
    // Every part is a piece of the address: nothing is invented.
    for (const std::string* part :
         {&parts.user, &parts.password, &parts.host, &parts.port, &parts.path}) {
        if (part->size() > address.size()) {
            std::abort();
        }
    }
    if (parts.host.find('/') != std::string::npos || parts.port.find('/') != std::string::npos) {
        std::abort();
    }
    const std::string name = lv::DocumentFileNameFromPath(parts.path);
    if (name.empty() || name.size() > 255 || name.find('?') != std::string::npos) {
        std::abort();
    }
    const std::string encoded = lv::Base64Encode(parts.user + ":" + parts.password);
    if (encoded.size() % 4 != 0) {
        std::abort();
    }
    return 0;
}
