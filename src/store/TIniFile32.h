#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lv {

// The one engine for INI-shaped files (DataFile, SettingsFile, UserFile, search-engine files,
// shortcut files). It keeps the whole file as an ordered list of byte lines (Windows-1252 text,
// loaded with CR LF, lone CR or lone LF line ends, saved with CR LF), answers lookups by scanning
// the list and, by default, rewrites the whole file after every change.
//
// Section names match whole header lines case-insensitively (Windows-1252 letters); keys match
// exactly after trimming. Within a section only the first line with a key counts.
//
// Every failure to read or write the file raises lv::FileError.
class TIniFile32 {
public:
    // Loads the file when it exists; a missing file gives an empty list (created by the first
    // write). An existing file that cannot be read raises "Cannot open file ...".
    explicit TIniFile32(std::string fileName);
    // An engine over the given bytes, as if they had been loaded from fileName (which is only
    // touched by a save). For tests and fuzzing.
    static TIniFile32 FromBytes(std::string fileName, std::string bytes);

    TIniFile32(TIniFile32&&) noexcept;
    TIniFile32& operator=(TIniFile32&&) noexcept;
    TIniFile32(const TIniFile32&) = delete;
    TIniFile32& operator=(const TIniFile32&) = delete;
    ~TIniFile32(); // never writes

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal with optional sign, or hexadecimal after "$" or "0x"; anything else (or a value
    // outside 32 bits) gives the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;

    // Each of these saves the whole file (unless saves are deferred, below).
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // Saves only when a line was removed.
    void DeleteKey(std::string_view section, std::string_view key);
    // Saves only when the section existed.
    void EraseSection(std::string_view section);
    // Writes the whole line list to the file, each line followed by CR LF.
    void UpdateFile();

    // Deferred saving for callers that write many keys (merge, alphabetize, imports): while
    // deferred, the writes above only change the lines and mark the engine modified; the caller
    // saves once with UpdateFile(). The default is one save per change.
    void SetDeferSaves(bool defer) { deferSaves_ = defer; }
    bool DeferSaves() const { return deferSaves_; }
    // True when the lines changed since the last load or save.
    bool Modified() const { return modified_; }

    // The bytes UpdateFile() would write.
    std::string Bytes() const;
    std::size_t LineCount() const { return lines_.size(); }
    std::string_view Line(std::size_t index) const { return lines_[index]; }

    // Building blocks of the operations above.
    // Index of the first line equal to "[" + section + "]" ignoring case, if any.
    std::optional<std::size_t> FindSection(std::string_view section) const;
    // A header: after trimming, starts with '[' and ends with ']'.
    static bool IsSection(std::string_view line);
    // Trimmed text before the first '='; a line without '=' has the empty key.
    static std::string_view ExtractKey(std::string_view line);
    // Trimmed text after the first '='; empty when there is no '='.
    static std::string_view ExtractValue(std::string_view line);
    // Removes bytes up to and including the blank (control characters and spaces) at both ends.
    static std::string_view Trim(std::string_view text);

private:
    TIniFile32() = default;
    void Load(std::string bytes);
    struct SectionEntry;
    // Index of the first line after the section's header that has `key`, else of the line
    // that ends its body (the next header, or the line count).
    std::size_t WalkSection(SectionEntry& section, std::string_view key, bool& foundKey) const;
    std::string_view OwnLine(std::string text);
    // Line edits keep the index right.
    void ReplaceLine(std::size_t index, std::string text);
    void InsertLine(std::size_t index, std::string text);
    void EraseLine(std::size_t index);
    void ForgetSections() const;
    void Changed();

    std::string fileName_;
    // Lines are views into the loaded bytes or into strings of their own, so loading an 8 MB
    // DataFile costs one allocation for the text and one for the list. Neither is freed before
    // the next load, so views into them stay valid while lines come and go.
    std::unique_ptr<const std::string> loaded_;
    std::vector<std::unique_ptr<std::string>> owned_;
    std::vector<std::string_view> lines_;

    // The index. Every exact header line "[name]" is filed under its name in lower case (only
    // the first one of a name counts); each section gets a key index with its first lookup. Key
    // positions count from the header, so lines that move the section as a whole leave them
    // right; an edit inside the body drops the section's key index, one that adds or removes a
    // header drops the whole index. Both are built again when next asked for.
    struct KeyIndex {
        std::size_t bodySize = 0; // lines up to the next header or the end of the file
        std::unordered_map<std::string_view, std::size_t> first; // key -> offset from the header
    };
    struct SectionEntry {
        std::size_t header = 0;
        std::unique_ptr<KeyIndex> keys;
    };
    SectionEntry* FindEntry(std::string_view section) const;
    const KeyIndex& Keys(SectionEntry& entry) const;
    // The entry whose body (or the place right after it) holds line `index`, if it has keys.
    SectionEntry* KeyedSectionOf(std::size_t index) const;
    mutable std::unordered_map<std::string, SectionEntry> sections_;
    mutable bool indexed_ = false;
    // The lower-case name of the section asked for; kept to spare an allocation per lookup.
    mutable std::string probe_;
    bool deferSaves_ = false;
    bool modified_ = false;
};

// One-shot operations: each opens a fresh engine over the file, performs one call and discards
// it, so every call reloads the file. The main window passes the SettingsFile path to the plain
// ones and its current DataFile name to the ...LVD ones.
void WriteToIniS(const std::string& file, std::string_view section, std::string_view key,
                 std::string_view value);
void WriteToIniI(const std::string& file, std::string_view section, std::string_view key,
                 std::int32_t value);
std::string ReadFromIniS(const std::string& file, std::string_view section, std::string_view key,
                         std::string_view defaultValue);
std::int32_t ReadFromIniI(const std::string& file, std::string_view section, std::string_view key,
                          std::int32_t defaultValue);
void WriteToIniSLVD(const std::string& dataFile, std::string_view section, std::string_view key,
                    std::string_view value);
void WriteToIniILVD(const std::string& dataFile, std::string_view section, std::string_view key,
                    std::int32_t value);
std::string ReadFromIniSLVD(const std::string& dataFile, std::string_view section,
                            std::string_view key, std::string_view defaultValue);
std::int32_t ReadFromIniILVD(const std::string& dataFile, std::string_view section,
                             std::string_view key, std::int32_t defaultValue);

// The standard integer conversion used by ReadInteger: optional sign, then decimal digits or
// "$" and hexadecimal digits (up to 32 bits). std::nullopt when the text is not such a number.
std::optional<std::int32_t> ParseInteger(std::string_view text);

} // namespace lv
