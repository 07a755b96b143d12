#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

class TIniFile32;

// Where a recent entry points: "title  |page::07".
struct MruEntryParts {
    std::string title;
    std::string page;
    int slot = 0;
};

// The entry text of a bookmark: title, two blanks, "|", page, "::", two-digit slot.
std::string MruEntryText(std::string_view title, std::string_view page, int slot);
// Splits an entry text. `pages`, when given, settles a title or a page that itself holds "  |":
// the first split whose page is one of them wins. Nothing when the text has no "  |" or does
// not end in "::" and two digits.
std::optional<MruEntryParts> SplitMruEntry(std::string_view text,
                                           const std::vector<std::string>& pages = {});

// The recent-bookmark list of a DataFile's [MRU] section: most recent first, compared without
// regard to letter case, up to 21 entries held and saved, the newest 10 shown in the tray menu.
// Each entry may also carry the stored address its bookmark had (kept in memory only), so that
// a bookmark that moved can still be found.
class TMruList {
public:
    static constexpr int kMaxSaveCount = 20;
    static constexpr int kMaxShowCount = 10;

    struct Entry {
        std::string text;
        std::string address; // stored U of the bookmark when recorded; empty: unknown
    };

    // Points the list at a DataFile and loads its section (an empty name empties the list).
    void SetFile(const std::string& dataFile);
    // The same, with the file already loaded in `ini`.
    void SetFile(const std::string& dataFile, const TIniFile32& ini);
    const std::string& File() const { return file_; }

    // Reads [MRU]: Count, then 1..Count; empty texts are skipped. Addresses already known for an
    // entry are kept.
    void Load(const TIniFile32& ini);
    void Load();
    // Erases [MRU] and writes it whole. Only writes when the list changed since it was loaded or
    // saved, so a close with nothing launched leaves the file as it was.
    void Save(TIniFile32& ini);
    void Save();
    bool Changed() const { return changed_; }

    // Adds an entry: an equal one (letter case aside) is used again, otherwise the last is
    // dropped when more than 20 are held and the text appended; the entry then moves to the top.
    void Add(const std::string& text, const std::string& address = {});
    // Removes the entry with this text (letter case aside), saves and loads the list again.
    // False when there was none.
    bool RemoveEntry(const std::string& text, TIniFile32& ini);
    bool RemoveEntry(const std::string& text);
    // Drops an entry in memory only (saved with the next save).
    void Drop(const std::string& text);

    const std::vector<Entry>& Entries() const { return entries_; }
    std::vector<std::string> Shown() const;
    const Entry* Find(const std::string& text) const;

private:
    std::string file_;
    std::vector<Entry> entries_;
    bool changed_ = false;
};

} // namespace lv
