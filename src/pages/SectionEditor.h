#pragma once

#include "store/TIniFile32.h"

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lv {

// Edits many sections of a large INI file without moving the whole line list for every inserted
// key. Each section handed out is a small engine holding only that section's lines; the file is
// put back together from the untouched lines and the edited sections: the same sections, keys
// and values in the same order as the same edits on one engine over the whole file give.
// Sections missing from the file are appended at the end in the order they were first asked for.
//
// Every edit must stay inside the section it was made on.
class SectionEditor {
public:
    explicit SectionEditor(const TIniFile32& whole);

    TIniFile32& Section(std::string_view name);
    bool Modified() const;
    std::string Bytes() const;
    // Replaces the file atomically with Bytes().
    void Save(const std::string& fileName) const;

private:
    struct Part {
        std::size_t begin = 0; // header line, or the line count for a new section
        std::size_t end = 0;
        std::unique_ptr<TIniFile32> engine;
    };

    const TIniFile32& whole_;
    // Lower-cased section name -> index into parts_; the first header of a name counts.
    std::unordered_map<std::string, std::size_t> headers_;
    std::vector<Part> parts_; // existing sections by header index; opened on demand
    std::vector<Part*> opened_;
    std::vector<Part> added_;
};

} // namespace lv
