#pragma once

#include "store/TIniFile32.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The layout of a DataFile: sections, keys and the bookmark slots of a page.
namespace datafile {

inline constexpr std::string_view kTabs = "Tabs";
inline constexpr std::string_view kProgram = "Program";
inline constexpr std::string_view kDefault = "Default";
inline constexpr std::string_view kMru = "MRU";
inline constexpr std::string_view kMrux = "MRUX";
inline constexpr std::string_view kCount = "Count";
inline constexpr std::string_view kVersion = "Version";
inline constexpr std::string_view kIconG = "IconG";
inline constexpr std::string_view kTrack = "Track";

// Key names made of Windows-1252 bytes: "P_ß_¶_" and "ß_¶__".
inline constexpr std::string_view kPagePasswordKey = "\x50\x5F\xDF\x5F\xB6\x5F";
inline constexpr std::string_view kFilePasswordKey = "\xDF\x5F\xB6\x5F\x5F";
// Separates a scrambled target from its scrambled password.
inline constexpr char kProtectedMarker = '\xB6';
// Ends each entry of the page-password list.
inline constexpr char kPasswordEntryEnd = '\xA7';

inline constexpr int kSlotCount = 80;
inline constexpr int kRowCount = 20;
inline constexpr int kDefaultPageCount = 10;
inline constexpr int kDefaultIconG = 120;
inline constexpr int kNotesWrapColumn = 56;
inline constexpr std::string_view kPasswordProtectedHint = "Password Protected";

// The nine bookmark fields in BookmarkBox order, and the order MoveButtons copies them in.
inline constexpr std::string_view kFieldLetters = "NUCDPSLGI";
inline constexpr std::string_view kMoveOrder = "UNCDPSLGI";

} // namespace datafile

// "01".."80".
std::string SlotPrefix(int slot);
// Prefix + letter, e.g. SlotKey(7, 'U') == "07U".
std::string SlotKey(int slot, char letter);
// "B01".."B80".
std::string ButtonName(int slot);
// 1..80 for "01".."80" (or "B01".."B80"); 0 for anything else.
int SlotFromPrefix(std::string_view prefixOrButtonName);

// The nine values of one slot, as stored (Windows-1252 bytes, notes still encoded).
struct Bookmark {
    std::string title;    // N
    std::string target;   // U
    std::string colour;   // C
    std::string modified; // D
    std::string notes;    // P
    std::string extra;    // S
    std::string local;    // L
    std::string glyph;    // G
    std::string icon;     // I

    std::string& Field(char letter);
    const std::string& Field(char letter) const;
    bool Empty() const { return target.empty(); }
    // BookmarkBox lines: the nine values in N U C D P S L G I order.
    std::vector<std::string> ToBoxLines() const;
    // From BookmarkBox lines; missing lines read as empty.
    static Bookmark FromBoxLines(const std::vector<std::string>& lines);
    bool operator==(const Bookmark&) const = default;
};

Bookmark ReadBookmark(const TIniFile32& ini, std::string_view page, int slot);
// StoreButton's file side: the nine values of the slot, read through a fresh engine.
Bookmark StoreButton(const std::string& dataFile, std::string_view page, std::string_view prefix);
// WriteButton's file side: N and U always, the other seven only when not empty, in N U C D P S L
// G I order.
void WriteBookmark(TIniFile32& ini, std::string_view page, int slot, const Bookmark& bookmark);
// Copies the slot's keys to another slot in U N C D P S L G I order, only non-empty values; the
// source stays.
void MoveButtons(TIniFile32& ini, std::string_view sourcePage, std::string_view targetPage,
                 std::string_view targetPrefix, std::string_view sourcePrefix);
// EraseButton's file side: deletes the nine keys; returns what N, U and I held.
Bookmark EraseBookmark(TIniFile32& ini, std::string_view page, int slot);

// Page names from [Tabs]: Count (default 10) names Tab1..TabN (default "PageN").
std::vector<std::string> ReadTabs(const TIniFile32& ini);
// Tab1..TabN, then Count = N.
void SaveTabs(TIniFile32& ini, const std::vector<std::string>& names);
// A new DataFile: Count=10 and Tab1..Tab10 = Page1..Page10.
void WriteNewDataFile(TIniFile32& ini);

// File-password value followed by [Program] Version; not empty while the file is protected.
std::string ReadFileProtection(const TIniFile32& ini);
// [MRUX] Track, "On" unless it says "Off".
bool ReadTrackRecent(const TIniFile32& ini);
// [Default] IconG (default 120); "Image7" is turned into 7 and written back.
int ReadDefaultIconG(TIniFile32& ini);

// An old-style glyph value: "Icon7" -> 507 (500 added below 500), "Image7" -> 7; the following
// up to three characters are the number. Anything else is taken as a number ("" is 0).
struct GlyphValue {
    std::int32_t value = 0;
    bool converted = false; // an old form that must be written back
};
// Raises InvalidIntegerError for text that is not a number.
GlyphValue ParseGlyphValue(std::string_view g);

// "|" -> CR and "~" -> LF, and back.
std::string DecodeNotes(std::string_view stored);
std::string EncodeNotes(std::string_view text);
// Breaks long lines at the first blank from column 56 on, for the hint.
std::string WrapNotesForDisplay(std::string_view notes);
// The hint: target, notes, or target CR notes; each dropped when its switch is off. A target
// holding the protection marker gives "Password Protected".
std::string BuildHint(std::string_view target, std::string_view wrappedNotes, bool showUrl,
                      bool showNotes);

enum class GlyphKind {
    Default,    // [Default] IconG of the built-in list (index holds it)
    BuiltIn,    // index of the built-in list (1..120)
    SecondList, // index of the second list (G - 500)
    IconFile,   // icon number index (G - 600) of file
    Blank,      // empty slot
    NoIcon,     // icons switched off
};
struct GlyphChoice {
    GlyphKind kind = GlyphKind::Blank;
    int index = 0;
    std::string file;
    bool operator==(const GlyphChoice&) const = default;
};
// g is the converted G value, iconFile the I value read with U as its default. Built-in values
// past the list's end (121..499) keep the default glyph.
GlyphChoice ChooseGlyph(std::int32_t g, std::string_view target, std::string_view iconFile,
                        bool showIcons, int defaultIconG);
inline constexpr int kBuiltInGlyphCount = 121;

// What the page load needs besides the file.
struct DisplayOptions {
    bool showIcons = true; // [Button] Icons
    bool showNotes = true; // [Button] Notes
    bool showUrl = true;   // [Button] Url
    int defaultIconG = datafile::kDefaultIconG;
    std::int32_t buttonFontColor = 0;
    bool fileProtected = false;
    // Set while the page has a password: turns a stored (scrambled) target into the plain one.
    std::function<std::string(std::string_view)> unscramble;
};

// One slot as the page load shows it.
struct PageSlotView {
    int slot = 0;
    std::string caption; // N
    std::string target;  // U as stored
    std::string hint;
    GlyphChoice glyph;
    std::int32_t fontColor = 0;
    bool handCursor = false;
    bool enabled = true;
};

// Reads one slot for the page load: caption, target, icon file, glyph value (an old form is
// converted and written back through the engine, so save once after the loop), notes, hint,
// glyph, colour, cursor, and the locked state of a protected file. Raises InvalidIntegerError
// for a G value that is not a number; the caller reports it and stops at that slot.
PageSlotView ReadSlotForDisplay(TIniFile32& ini, std::string_view page, int slot,
                                const DisplayOptions& options);

} // namespace lv
