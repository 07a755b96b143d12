#include "tools/TMruList.h"

#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lv {
namespace {

constexpr std::string_view kBar = "  |";

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

std::string MruEntryText(std::string_view title, std::string_view page, int slot) {
    std::string text(title);
    text += kBar;
    text += page;
    text += "::";
    text += SlotPrefix(slot);
    return text;
}

std::optional<MruEntryParts> SplitMruEntry(std::string_view text,
                                           const std::vector<std::string>& pages) {
    if (text.size() < 4 + kBar.size() || text.substr(text.size() - 4, 2) != "::" ||
        !IsDigit(text[text.size() - 2]) || !IsDigit(text.back())) {
        return std::nullopt;
    }
    const std::string_view head = text.substr(0, text.size() - 4);
    std::optional<MruEntryParts> first;
    for (std::size_t bar = head.find(kBar); bar != std::string_view::npos;
         bar = head.find(kBar, bar + 1)) {
        MruEntryParts parts;
        parts.title = std::string(head.substr(0, bar));
        parts.page = std::string(head.substr(bar + kBar.size()));
        parts.slot = (text[text.size() - 2] - '0') * 10 + (text.back() - '0');
        const bool known = std::any_of(pages.begin(), pages.end(), [&](const std::string& name) {
            return SameText1252(name, parts.page);
        });
        if (known) {
            return parts;
        }
        if (!first) {
            first = std::move(parts);
        }
    }
    return first;
}

void TMruList::SetFile(const std::string& dataFile) {
    file_ = dataFile;
    entries_.clear();
    changed_ = false;
    Load();
}

void TMruList::SetFile(const std::string& dataFile, const TIniFile32& ini) {
    file_ = dataFile;
    entries_.clear();
    Load(ini);
}

void TMruList::Load() {
    if (file_.empty() || !std::filesystem::exists(file_)) {
        entries_.clear();
        changed_ = false;
        return;
    }
    Load(TIniFile32(file_));
}

void TMruList::Load(const TIniFile32& ini) {
    std::vector<Entry> loaded;
    const int count = ini.ReadInteger(datafile::kMru, datafile::kCount, 0);
    for (int i = 1; i <= count; ++i) {
        std::string text = ini.ReadString(datafile::kMru, std::to_string(i), "");
        if (text.empty()) {
            continue;
        }
        Entry entry{std::move(text), {}};
        if (const Entry* known = Find(entry.text)) {
            entry.address = known->address;
        }
        loaded.push_back(std::move(entry));
    }
    entries_ = std::move(loaded);
    changed_ = false;
}

void TMruList::Save() {
    if (file_.empty() || !changed_) {
        return;
    }
    TIniFile32 ini(file_);
    Save(ini);
}

void TMruList::Save(TIniFile32& ini) {
    if (!changed_) {
        return;
    }
    const bool deferred = ini.DeferSaves();
    ini.SetDeferSaves(true);
    ini.EraseSection(datafile::kMru);
    ini.WriteInteger(datafile::kMru, datafile::kCount, static_cast<int>(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        ini.WriteString(datafile::kMru, std::to_string(i + 1), entries_[i].text);
    }
    ini.SetDeferSaves(deferred);
    if (!deferred) {
        ini.UpdateFile();
    }
    changed_ = false;
}

const TMruList::Entry* TMruList::Find(const std::string& text) const {
    for (const Entry& entry : entries_) {
        if (SameText1252(entry.text, text)) {
            return &entry;
        }
    }
    return nullptr;
}

void TMruList::Add(const std::string& text, const std::string& address) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& entry) { return SameText1252(entry.text, text); });
    Entry entry{text, address};
    if (found != entries_.end()) {
        entry.text = found->text;
        if (entry.address.empty()) {
            entry.address = found->address;
        }
        entries_.erase(found);
    } else if (static_cast<int>(entries_.size()) > kMaxSaveCount) {
        entries_.pop_back();
    }
    entries_.insert(entries_.begin(), std::move(entry));
    changed_ = true;
}

void TMruList::Drop(const std::string& text) {
    const auto before = entries_.size();
    std::erase_if(entries_, [&](const Entry& entry) { return SameText1252(entry.text, text); });
    changed_ = changed_ || entries_.size() != before;
}

bool TMruList::RemoveEntry(const std::string& text) {
    if (file_.empty() || Find(text) == nullptr) {
        return false;
    }
    TIniFile32 ini(file_);
    return RemoveEntry(text, ini);
}

// The entry becomes an empty text at the top; the saved section keeps it as an empty value,
// which the next load skips.
bool TMruList::RemoveEntry(const std::string& text, TIniFile32& ini) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& entry) { return SameText1252(entry.text, text); });
    if (found == entries_.end()) {
        return false;
    }
    entries_.erase(found);
    entries_.insert(entries_.begin(), Entry{});
    changed_ = true;
    Save(ini);
    Load(ini);
    return true;
}

std::vector<std::string> TMruList::Shown() const {
    std::vector<std::string> shown;
    for (const Entry& entry : entries_) {
        if (static_cast<int>(shown.size()) == kMaxShowCount) {
            break;
        }
        shown.push_back(entry.text);
    }
    return shown;
}

} // namespace lv
