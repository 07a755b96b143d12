#pragma once

#include "store/DataFile.h"
#include "store/TIniFile32.h"

#include <string>
#include <string_view>
#include <vector>

namespace lvtest {

// A DataFile's bytes from its lines, with the CR LF line ends the program writes.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    for (const std::string_view line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

// Titles of slots 1..count of a page, "" for an empty slot.
inline std::vector<std::string> Titles(const std::string& file, std::string_view page, int count) {
    const lv::TIniFile32 ini(file);
    std::vector<std::string> titles;
    for (int slot = 1; slot <= count; ++slot) {
        titles.push_back(ini.ReadString(page, lv::SlotKey(slot, 'N'), ""));
    }
    return titles;
}

} // namespace lvtest
