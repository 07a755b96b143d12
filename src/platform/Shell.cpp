#include "platform/Shell.h"

namespace lv {

LocalTarget SplitLocalTarget(std::string_view target, std::string_view extraInfo) {
    LocalTarget result;
    const std::size_t mark = target.find(" /");
    if (mark == std::string_view::npos) {
        result.file = std::string(target);
    } else {
        result.file = std::string(target.substr(0, mark + 1));
        // Stored arguments are kept whole: cutting them at a fixed length would start the
        // program with a different command than the one bookmarked.
        result.parameters = std::string(target.substr(mark + 2));
    }
    if ((extraInfo.size() >= 2 && extraInfo[1] == ':') ||
        (!extraInfo.empty() && extraInfo[0] == '/')) {
        result.directory = std::string(extraInfo);
    } else {
        std::string_view file = result.file;
        while (!file.empty() && file.back() == ' ') {
            file.remove_suffix(1);
        }
        const std::size_t slash = file.find_last_of("/\\");
        if (slash != std::string_view::npos) {
            result.directory = std::string(file.substr(0, slash == 0 ? 1 : slash));
        }
    }
    return result;
}

std::vector<std::string> SplitParameters(std::string_view parameters) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const char c = parameters[i];
        if (quote == 0 && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == '\\' && quote != '\'' && i + 1 < parameters.size() && parameters[i + 1] == '"') {
            word += '"';
            ++i;
        } else if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
        } else if (c == quote) {
            quote = 0;
        } else {
            word += c;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

} // namespace lv
