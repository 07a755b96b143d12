#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The reversible scrambling of stored passwords: character i (from 1) moves by i div 2.
std::string Shift(std::string_view text);
std::string Unshift(std::string_view text);
// The target of a protected bookmark: the unshifted text before the first marker byte.
std::string Decrypt(std::string_view stored);

// PagePassBox: one plain entry per protected page, the page name followed by its password.
// The password of a page: the rest of the last entry that begins with the page name.
std::optional<std::string> FindPagePass(const std::vector<std::string>& box, std::string_view page);
// The stored value of the list: each entry shifted and followed by the end marker, and back.
std::vector<std::string> ReadPagePass(std::string_view stored);
std::string PagePassValue(const std::vector<std::string>& box);

} // namespace lv
