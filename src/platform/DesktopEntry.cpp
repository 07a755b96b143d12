// Desktop entry launchers: the [Desktop Entry] group of an INI-like UTF-8 file. Exec is a
// command line with its own quoting and field codes (%f, %U, ...) that a launcher fills in;
// a bookmark has nothing to fill in, so the codes are removed.
#include "platform/Shortcuts.h"

#include <map>
#include <vector>

namespace lv {

namespace {

// \s, \n, \t, \r and \\ of the value syntax.
std::string Unescape(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += value[i];
            break;
        }
    }
    return out;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::map<std::string, std::string> EntryGroup(std::string_view bytes) {
    std::map<std::string, std::string> keys;
    bool inGroup = false;
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        std::string_view line = bytes.substr(0, newline);
        bytes.remove_prefix(newline == std::string_view::npos ? bytes.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = TrimBlanks(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            if (inGroup) {
                break;
            }
            inGroup = line == "[Desktop Entry]";
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        // The first line of a key counts; localised variants (Name[de]) are other keys.
        keys.emplace(std::string(TrimBlanks(line.substr(0, equals))),
                     Unescape(TrimBlanks(line.substr(equals + 1))));
    }
    return keys;
}

// Exec split into words: double quotes group, and inside them a backslash escapes " ` $ \.
std::vector<std::string> ExecWords(std::string_view exec) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted && c == '\\' && i + 1 < exec.size()) {
            word += exec[++i];
        } else {
            word += c;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

// Removes field codes; "%%" is a percent sign. A word that was nothing but codes goes.
std::optional<std::string> WithoutFieldCodes(const std::string& word) {
    std::string out;
    bool hadCode = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '%' && i + 1 < word.size()) {
            if (word[i + 1] == '%') {
                out += '%';
            } else {
                hadCode = true;
            }
            ++i;
        } else {
            out += word[i];
        }
    }
    if (hadCode && out.empty()) {
        return std::nullopt;
    }
    return out;
}

// Arguments as one text that splits back into the same words.
std::string JoinArguments(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) {
        if (!text.empty()) {
            text += ' ';
        }
        if (!word.empty() && word.find_first_of(" \t\r\n'\"") == std::string::npos) {
            text += word;
            continue;
        }
        text += '"';
        for (char c : word) {
            if (c == '"') {
                text += '\\';
            }
            text += c;
        }
        text += '"';
    }
    return text;
}

std::string Value(const std::map<std::string, std::string>& keys, const std::string& key) {
    const auto found = keys.find(key);
    return found == keys.end() ? std::string() : found->second;
}

} // namespace

std::optional<Shortcut>
ParseDesktopEntry(std::string_view bytes,
                  const std::function<std::string(const std::string&)>& findProgram) {
    const std::map<std::string, std::string> keys = EntryGroup(bytes);
    Shortcut shortcut;
    std::string title = Value(keys, "Name");
    if (title.empty()) {
        title = Value(keys, "Comment");
    }
    shortcut.title = title;
    shortcut.iconFile = Value(keys, "Icon");

    if (Value(keys, "Type") == "Link") {
        shortcut.target = Value(keys, "URL");
    } else {
        std::vector<std::string> words;
        for (const std::string& word : ExecWords(Value(keys, "Exec"))) {
            if (std::optional<std::string> kept = WithoutFieldCodes(word)) {
                words.push_back(std::move(*kept));
            }
        }
        if (!words.empty()) {
            std::string program = words.front();
            if (program.find('/') == std::string::npos && findProgram) {
                if (std::string found = findProgram(program); !found.empty()) {
                    program = std::move(found);
                }
            }
            shortcut.target = program;
            words.erase(words.begin());
            shortcut.arguments = JoinArguments(words);
        }
        shortcut.workingDir = Value(keys, "Path");
    }
    if (shortcut.target.empty()) {
        return std::nullopt;
    }
    return shortcut;
}

} // namespace lv
