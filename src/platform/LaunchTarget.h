#pragma once

#include <string>
#include <string_view>

namespace lv {

// What a target is handed to: a browser takes web addresses, the desktop's "open" takes local
// files, folders and the addresses it opens itself.
enum class TargetKind { WebAddress, LocalFile };

// Characters no launched text may carry unseen: C0 and C1 controls and DEL, and the marks that
// reorder or hide what the user reads (bidirectional embeddings, overrides, isolates and marks,
// zero-width characters, the word joiner, line and paragraph separators, the byte order mark).
bool IsHiddenCharacter(char32_t cp);

// The UTF-8 text with each hidden character written out, as "<U+202E>".
std::string ShowHiddenCharacters(std::string_view utf8);

// The one check every launch goes through. Why the UTF-8 target must not be handed to another
// program, as the text the user is shown; empty when it may go. A web address that begins with
// "-" would be read as one of the browser's options; a target with hidden characters shows the
// user something other than what runs. A local file beginning with "-" is not refused: the shell
// hands it over as a path.
std::string TargetRefusal(std::string_view utf8, TargetKind kind);

// Whether the browser reads "--" as the end of its options, so that nothing after it is taken as
// one: the Chromium family, known by the program's file name (or that of the file a link leads
// to). Other browsers might open "--" itself as an address or skip what follows it, so they
// never get it; for them the refusal of addresses beginning with "-" is the guard.
bool BrowserTakesEndOfOptions(const std::string& program);

} // namespace lv
