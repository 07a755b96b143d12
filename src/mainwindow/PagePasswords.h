#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The reversible scrambling of protected targets and stored passwords: character i (from 1)
// moves by i div 2, modulo 256. It hides text from casual eyes; it is not encryption.
std::string Shift(std::string_view text);
std::string Unshift(std::string_view text);

// A protected target: shift(target), the marker byte, shift(password).
std::string Encrypt(std::string_view target, std::string_view password);
// The target of a protected bookmark: the unshifted text before the first marker byte.
std::string Decrypt(std::string_view stored);
// The password stored with a protected target: the text after the first marker, unshifted.
std::string StoredPassword(std::string_view stored);
bool IsScrambled(std::string_view stored);

// Whether a value comes back from the DataFile byte for byte: no NUL, CR or LF inside (they
// would break or cut the line) and no blank or control byte at either end (the engine trims
// those when reading). Shifting can produce any of these from ordinary text.
bool StorableValue(std::string_view value);
// Encrypt's result when it survives the DataFile and decrypts to the same target; nothing when
// the scrambled target would hold the marker byte or the value could not be stored.
std::optional<std::string> SafeEncrypt(std::string_view target, std::string_view password);
// shift(password) as the file password when it can be stored.
bool StorableFilePassword(std::string_view password);
// Whether a page-password entry survives the stored list (no end marker in its shifted form).
bool StorablePageEntry(std::string_view entry);

// PagePassBox: one plain entry per protected page, the page name followed by its password.
// Nothing separates the two, so "Work+x" may belong to "Work" or to "Work+": the longest name of
// the page list that begins an entry owns it, and a page never takes another page's entry.
// A page's entry is the last one it owns.
std::optional<std::size_t> PagePassEntry(const std::vector<std::string>& box, std::string_view page,
                                         const std::vector<std::string>& pages);
// The password of a page: the rest of its entry.
std::optional<std::string> FindPagePass(const std::vector<std::string>& box, std::string_view page,
                                        const std::vector<std::string>& pages);
// Moves a page's entry to a new name (rename), or removes it when the names are equal (delete).
void PagePassMove(std::vector<std::string>& box, std::string_view oldName, std::string_view newName,
                  const std::vector<std::string>& pages);
// The stored value of the list: each entry shifted and followed by the end marker, and back.
std::vector<std::string> ReadPagePass(std::string_view stored);
std::string PagePassValue(const std::vector<std::string>& box);

} // namespace lv
