#include "pages/SectionEditor.h"

#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>

namespace lv {

SectionEditor::SectionEditor(const TIniFile32& whole) : whole_(whole) {
    const std::size_t count = whole.LineCount();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line = whole.Line(i);
        if (!TIniFile32::IsSection(line)) {
            continue;
        }
        if (!parts_.empty() && parts_.back().end == count) {
            parts_.back().end = i;
        }
        // Lookups find a section only by a header line that is exactly "[name]".
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            headers_.emplace(LowerCase1252(line.substr(1, line.size() - 2)), parts_.size());
        }
        parts_.push_back({i, count, nullptr});
    }
}

TIniFile32& SectionEditor::Section(std::string_view name) {
    const std::string key = LowerCase1252(name);
    if (const auto hit = headers_.find(key); hit != headers_.end()) {
        Part& part =
            hit->second < parts_.size() ? parts_[hit->second] : added_[hit->second - parts_.size()];
        if (!part.engine) {
            std::string bytes;
            for (std::size_t i = part.begin; i < part.end; ++i) {
                bytes.append(whole_.Line(i)).append("\r\n");
            }
            part.engine = std::make_unique<TIniFile32>(
                TIniFile32::FromBytes(whole_.FileName(), std::move(bytes)));
            part.engine->SetDeferSaves(true);
        }
        return *part.engine;
    }
    headers_.emplace(key, parts_.size() + added_.size());
    Part part{whole_.LineCount(), whole_.LineCount(),
              std::make_unique<TIniFile32>(TIniFile32::FromBytes(whole_.FileName(), ""))};
    part.engine->SetDeferSaves(true);
    added_.push_back(std::move(part));
    return *added_.back().engine;
}

bool SectionEditor::Modified() const {
    const auto modified = [](const Part& part) { return part.engine && part.engine->Modified(); };
    return std::any_of(parts_.begin(), parts_.end(), modified) ||
           std::any_of(added_.begin(), added_.end(), modified);
}

std::string SectionEditor::Bytes() const {
    std::string bytes;
    std::size_t line = 0;
    const auto copyUntil = [&](std::size_t end) {
        for (; line < end; ++line) {
            bytes.append(whole_.Line(line)).append("\r\n");
        }
    };
    for (const Part& part : parts_) {
        if (!part.engine) {
            continue;
        }
        copyUntil(part.begin);
        bytes += part.engine->Bytes();
        line = part.end;
    }
    copyUntil(whole_.LineCount());
    for (const Part& part : added_) {
        bytes += part.engine->Bytes();
    }
    return bytes;
}

void SectionEditor::Save(const std::string& fileName) const {
    WriteFileAtomic(fileName, Bytes());
}

} // namespace lv
