#include "web/SmtpReply.h"

#include <cctype>
#include <climits>

namespace lv {

int SmtpReplyCode(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() &&
           (line[i] == ' ' || line[i] == '\t' || line[i] == '\r' || line[i] == '\n')) {
        ++i;
    }
    int code = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        const int digit = line[i] - '0';
        if (code > (INT_MAX - digit) / 10) {
            return INT_MAX;
        }
        code = code * 10 + digit;
    }
    return code;
}

bool SmtpIsLastReplyLine(std::string_view line) {
    return line.size() < 4 || line[3] != '-';
}

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// Splits at blanks and tabs.
std::vector<std::string> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') {
            ++i;
        }
        if (i > start) {
            words.emplace_back(text.substr(start, i - start));
        }
    }
    return words;
}

} // namespace

SmtpExtensions SmtpParseEhlo(const std::vector<std::string>& lines) {
    SmtpExtensions ext;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = lines[n];
        if (line.size() < 4) {
            continue;
        }
        const std::vector<std::string> words = Words(Upper(line.substr(4)));
        if (words.empty()) {
            continue;
        }
        if (words[0] == "STARTTLS") {
            ext.startTls = true;
        }
        // "AUTH=LOGIN PLAIN" is the form some old servers still send.
        if (words[0] == "AUTH" || words[0].rfind("AUTH=", 0) == 0) {
            for (std::size_t w = 0; w < words.size(); ++w) {
                std::string_view mech = words[w];
                if (w == 0) {
                    mech = mech.size() > 5 ? mech.substr(5) : std::string_view();
                }
                ext.authPlain = ext.authPlain || mech == "PLAIN";
                ext.authLogin = ext.authLogin || mech == "LOGIN";
            }
        }
    }
    return ext;
}

} // namespace lv
