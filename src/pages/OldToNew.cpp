#include "pages/OldToNew.h"

#include "pages/FileMerge.h"
#include "pages/PageNames.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/TIniFile32.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

namespace lv {

namespace {

constexpr int kOldSlots = 40;
// A damaged count must not make us write millions of empty pages.
constexpr std::int32_t kMaxOldPages = 10000;

struct OldField {
    std::string_view section;
    char letter;
};
constexpr std::array<OldField, 7> kOldFields = {{{"Names", 'N'},
                                                 {"Parameters", 'U'},
                                                 {"Reminder1", 'P'},
                                                 {"Reminder2", 'S'},
                                                 {"FontColor", 'C'},
                                                 {"Updated", 'D'},
                                                 {"AppLaunch", 'L'}}};

// One pass over a section instead of a scan per key: an old section holds a key for every button
// of every page. The first line with a key counts, as in lookups.
std::unordered_map<std::string, std::string> ReadSection(const TIniFile32& ini,
                                                         std::string_view section) {
    std::unordered_map<std::string, std::string> values;
    const auto header = ini.FindSection(section);
    if (!header) {
        return values;
    }
    for (std::size_t i = *header + 1; i < ini.LineCount(); ++i) {
        const std::string_view line = ini.Line(i);
        if (TIniFile32::IsSection(line)) {
            break;
        }
        if (line.find('=') == std::string_view::npos) {
            continue;
        }
        values.emplace(std::string(TIniFile32::ExtractKey(line)),
                       std::string(TIniFile32::ExtractValue(line)));
    }
    return values;
}

} // namespace

std::string ConvertedFileName(const std::string& oldFile) {
    const std::size_t slash = oldFile.rfind('/');
    const std::size_t dot = oldFile.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExtension ? oldFile.substr(0, dot) : oldFile;
    return DataFileForStem(stem, ".LVD");
}

OldToNewResult OldToNew(const std::string& oldFile) {
    OldToNewResult result;
    result.newFile = ConvertedFileName(oldFile);
    const TIniFile32 old(oldFile);
    TIniFile32 ini(result.newFile);
    ini.SetDeferSaves(true);

    const std::int32_t count =
        std::clamp(old.ReadInteger("Pages", "Count", datafile::kDefaultPageCount), 0, kMaxOldPages);
    const std::string prefix = old.ReadString("Program", "Info", "").empty() ? "SpeedButton" : "SB";
    ini.EraseSection(datafile::kMru);
    ini.WriteInteger(datafile::kTabs, datafile::kCount, count);

    std::array<std::unordered_map<std::string, std::string>, kOldFields.size()> fields;
    for (std::size_t f = 0; f < kOldFields.size(); ++f) {
        fields[f] = ReadSection(old, kOldFields[f].section);
    }
    for (int page = 1; page <= count; ++page) {
        // Old files knew nothing of letter case or of our own sections: "Work" and "WORK" become
        // "Work" and "WORK+", each with a section of its own.
        std::string name = ArrivingPageName(
            old.ReadString("Tabs", "PageTab" + std::to_string(page), "Page" + std::to_string(page)),
            result.pages);
        ini.WriteString(datafile::kTabs, "Tab" + std::to_string(page), name);
        result.pages.push_back(name);
        for (int slot = 1; slot <= kOldSlots; ++slot) {
            const std::string key = prefix + std::to_string((page - 1) * kOldSlots + slot);
            for (std::size_t f = 0; f < kOldFields.size(); ++f) {
                const auto hit = fields[f].find(key);
                if (hit != fields[f].end() && !hit->second.empty()) {
                    ini.WriteString(name, SlotKey(slot, kOldFields[f].letter), hit->second);
                }
            }
        }
    }
    ini.UpdateFile();
    return result;
}

std::string OpenPreviousFormat(Dialogs& dialogs, const std::string& oldFile) {
    const std::string newFile = ConvertedFileName(oldFile);
    if (!PathExists(newFile) ||
        dialogs.Message({MsgKind::Confirmation, "",
                         "Converted file already exists, do you want to overwrite it?",
                         MsgButtons::YesNoHelp, 48}) == MsgResult::Yes) {
        OldToNew(oldFile);
    }
    return newFile;
}

} // namespace lv
