#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace lv {

// The characters of the Windows-1252 bytes 80..9F hex; the five undefined ones keep their own
// value (the C1 controls), so every byte maps to a character and back.
inline constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The character a Windows-1252 byte stands for.
char32_t Cp1252ToUnicode(unsigned char byte);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t cp);

// The code point of the UTF-8 text at pos; advances pos. An invalid or overlong sequence, a
// surrogate or a value past U+10FFFF gives U+FFFD and skips one byte.
char32_t DecodeUtf8(std::string_view s, std::size_t& pos);

} // namespace lv
