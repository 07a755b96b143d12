#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The code of a reply line: its leading decimal digits after any blanks, tabs, CRs and LFs;
// 0 when there is no digit. Absurdly long digit runs saturate instead of overflowing.
int SmtpReplyCode(std::string_view line);

// A reply ends with the first line shorter than four characters or whose fourth character is
// not "-" ("250-first", "250-second", "250 last").
bool SmtpIsLastReplyLine(std::string_view line);

// What an EHLO answer offers, from its lines (the first one is the greeting and is skipped).
struct SmtpExtensions {
    bool startTls = false;
    bool authPlain = false;
    bool authLogin = false;
};
SmtpExtensions SmtpParseEhlo(const std::vector<std::string>& lines);

} // namespace lv
