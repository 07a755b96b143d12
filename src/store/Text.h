#pragma once

#include "platform/Unicode.h"

#include <optional>
#include <string>
#include <string_view>

namespace lv {

// Stored text is Windows-1252 bytes; the user interface, the file system and other programs speak
// UTF-8. Conversion happens only at those edges, through these functions.
//
// Characters that Windows-1252 cannot hold are stored as decimal references "&#NNNN;". Going back,
// a reference is turned into its character only when that character cannot be stored as a byte
// (and is written without leading zeros), so text such as "&#65;" stays as typed. Text that merely
// looks like such a reference (a user typing "&#20013;") has its '&' stored as "&#38;"; "&#38;" is
// read back as '&' only where it stands before such a text. Every UTF-8 text survives
// Utf8ToCp1252 then Cp1252ToUtf8, every byte string survives the opposite, and files written by
// the Windows program (which had no references) read as before, short of that rare pattern.
//
// The five bytes Windows-1252 leaves undefined (81, 8D, 8F, 90, 9D hex) map to the C1 control
// characters of the same value, so any byte string survives Cp1252ToUtf8 then Utf8ToCp1252.

// The byte that stands for a character, if there is one.
std::optional<unsigned char> UnicodeToCp1252(char32_t ch);

std::string Cp1252ToUtf8(std::string_view bytes);
// Invalid UTF-8 sequences become U+FFFD (stored as "&#65533;").
std::string Utf8ToCp1252(std::string_view utf8);

// Case of Windows-1252 letters: A-Z and the accented letters (and S, Z, OE, Y with their marks).
unsigned char LowerCase1252(unsigned char byte);
unsigned char UpperCase1252(unsigned char byte);
std::string LowerCase1252(std::string_view text);
std::string UpperCase1252(std::string_view text);

// Equality ignoring the case of Windows-1252 letters.
bool SameText1252(std::string_view a, std::string_view b);
// Alphabetical order without regard to case, as a sorted list shows it: letters with accents
// next to their base letter, punctuation before digits before letters. Negative, zero or
// positive. Texts that compare equal here but differ in bytes order by their folded bytes, so
// the order is total.
int CompareText1252(std::string_view a, std::string_view b);
inline bool LessText1252(std::string_view a, std::string_view b) {
    return CompareText1252(a, b) < 0;
}

// Linux names are case-sensitive, the Windows program's were not. Returns dir + "/" + name, where
// name is replaced by the spelling of an existing entry of dir that differs from it only in
// letter case (the exact spelling wins when it exists). When none exists, the fixed spelling is
// returned, so it is created as written. name may contain '/' (its last part is resolved).
std::string ResolveCaseInsensitive(const std::string& dir, const std::string& name);

} // namespace lv
