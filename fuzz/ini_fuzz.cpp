// Arbitrary bytes as an INI file: reads, writes and the page load must neither crash nor lose
// the file's shape, and saving must be stable (what is saved loads back to the same bytes).
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Never saved: the path cannot exist, and saves are deferred.
    auto ini = lv::TIniFile32::FromBytes("/nonexistent-dir/fuzz.ini", bytes);
    ini.SetDeferSaves(true);

    // Names taken from the input itself, so existing sections and keys are hit.
    std::vector<std::string> sections;
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < ini.LineCount() && sections.size() + keys.size() < 32; ++i) {
        const std::string_view line = ini.Line(i);
        if (lv::TIniFile32::IsSection(line)) {
            const std::string_view trimmed = lv::TIniFile32::Trim(line);
            sections.emplace_back(trimmed.substr(1, trimmed.size() - 2));
        } else {
            keys.emplace_back(lv::TIniFile32::ExtractKey(line));
        }
        Check(lv::Utf8ToCp1252(lv::Cp1252ToUtf8(line)) == line);
    }
    sections.emplace_back("Tabs");
    keys.emplace_back("01G");

    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            (void)ini.ReadString(section, key, "d");
            (void)ini.ReadInteger(section, key, 0);
        }
        (void)lv::ReadTabs(ini);
        for (int slot = 1; slot <= 3; ++slot) {
            try {
                (void)lv::ReadSlotForDisplay(ini, section, slot, {});
            } catch (const lv::InvalidIntegerError&) {
            }
        }
    }
    for (std::size_t i = 0; i < sections.size() && i < keys.size(); ++i) {
        switch ((static_cast<unsigned char>(keys[i].empty() ? 0 : keys[i][0]) + i) % 4) {
        case 0:
            ini.WriteString(sections[i], keys[i], bytes.substr(0, 64));
            Check(keys[i].empty() || bytes.empty() ||
                  ini.ReadString(sections[i], keys[i], "").size() <= 64);
            break;
        case 1:
            ini.DeleteKey(sections[i], keys[i]);
            break;
        case 2:
            ini.EraseSection(sections[i]);
            break;
        default:
            ini.WriteInteger(sections[i], "n", static_cast<std::int32_t>(i));
            Check(ini.ReadInteger(sections[i], "n", -1) == static_cast<std::int32_t>(i) ||
                  !ini.FindSection(sections[i]));
            break;
        }
    }

    const std::string saved = ini.Bytes();
    Check(lv::TIniFile32::FromBytes("x", saved).Bytes() == saved);
    return 0;
}
