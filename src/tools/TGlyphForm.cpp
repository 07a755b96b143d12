#include "tools/TGlyphForm.h"

#include "platform/Dialogs.h"
#include "platform/image/Glyphs.h"
#include "platform/image/IconFile.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lv {

namespace {

bool IsFile(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string TGlyphForm::SourcePath(const std::string& stored) {
    // The blank before the parameters is not part of the program's name: a file name with a
    // trailing blank would never be found.
    const std::size_t cut = stored.find(" /");
    return cut == std::string::npos ? stored : stored.substr(0, cut);
}

std::vector<TGlyphForm::FileEntry> TGlyphForm::LoadFileEntries(const std::string& path) {
    std::vector<FileEntry> entries;
    if (!IsFile(path)) {
        return entries;
    }
    entries.push_back({FileEntry::Kind::Blank, 0});
    const std::string ext = LowerExtension(path);
    if (ext == ".gif" || ext == ".jpg") {
        entries.push_back({FileEntry::Kind::Picture, 0});
        return entries;
    }
    // One entry more than the file has icons (the last one shows the desktop's substitute), and
    // one entry for a file with a single icon or none.
    int count = std::min(CountIcons(path), kMaxFileIcons);
    if (count == 1) {
        count = 0;
    }
    for (int i = 0; i <= count; ++i) {
        entries.push_back({FileEntry::Kind::Icon, i});
    }
    return entries;
}

void TGlyphForm::FormActivate(Target target, Dialogs* dialogs) {
    target_ = std::move(target);
    dialogs_ = dialogs;
    result_ = kNoChoice;
    choice_ = Choice::None;
    chosenFile_.clear();
    editorAction_ = 0;
    imageIndex_ = 0;
    closed_ = false;
    entries_.clear();
    path_.clear();
    builtIn_ = target_.builtInOnly;
    if (builtIn_) {
        return;
    }
    const TIniFile32 ini(target_.dataFile);
    std::string stored = ini.ReadString(target_.section, target_.prefix + "I", "");
    if (stored.empty()) {
        stored = ini.ReadString(target_.section, target_.prefix + "U", "");
    }
    ShowFile(Cp1252ToUtf8(SourcePath(stored)));
}

void TGlyphForm::ShowFile(const std::string& path) {
    path_ = path;
    entries_ = LoadFileEntries(path);
    builtIn_ = false;
    imageIndex_ = 0;
}

int TGlyphForm::EntryCount() const {
    return builtIn_ ? kBuiltInGlyphCount : static_cast<int>(entries_.size());
}

void TGlyphForm::ImagesScroll1Selected(int entry) {
    if (closed_ || entry < 0 || entry >= EntryCount()) {
        return;
    }
    imageIndex_ = entry;
    if (builtIn_) {
        if (target_.writes) {
            TIniFile32 ini(target_.dataFile);
            ini.WriteString(target_.section, target_.prefix + "G", std::to_string(entry));
            if (!ini.ReadString(target_.section, target_.prefix + "I", "").empty()) {
                ini.DeleteKey(target_.section, target_.prefix + "I");
            }
        }
        result_ = entry;
        choice_ = Choice::BuiltIn;
    } else {
        TIniFile32 ini(target_.dataFile);
        int number = kFirstFileIcon - 1 + entry;
        if (entry == 0) {
            number = ini.ReadInteger(target_.section, target_.prefix + "G", kFirstFileIcon);
        }
        const std::string file =
            path_.empty() ? Cp1252ToUtf8(ini.ReadString(target_.section, target_.prefix + "I", ""))
                          : path_;
        if (target_.writes) {
            ini.SetDeferSaves(true);
            ini.WriteString(target_.section, target_.prefix + "G", std::to_string(number));
            ini.WriteString(target_.section, target_.prefix + "I", Utf8ToCp1252(file));
            ini.UpdateFile();
            editorAction_ = kEditIconFromFile;
        }
        result_ = number;
        chosenFile_ = file;
        choice_ = Choice::File;
    }
    Close();
}

void TGlyphForm::FileBtnClick() {
    if (closed_ || target_.builtInOnly || dialogs_ == nullptr) {
        return;
    }
    std::string folder;
    if (!path_.empty()) {
        folder = std::filesystem::path(path_).parent_path().string();
    }
    const OpenFileResult chosen = dialogs_->OpenFile(
        {"Images from Files",
         "Icons and Pictures|*.ico;*.exe;*.dll;*.gif;*.jpg;*.png;*.bmp|All Files|*", folder});
    if (chosen.accepted && !chosen.path.empty()) {
        ShowFile(chosen.path);
    }
}

void TGlyphForm::DefaultBtnClick() {
    if (closed_) {
        return;
    }
    builtIn_ = true;
    path_.clear();
    imageIndex_ = 0;
}

void TGlyphForm::NoIconBtnClick() {
    if (closed_) {
        return;
    }
    if (target_.writes) {
        // Removed rather than written empty: an empty [Default] IconG would read as glyph 0.
        TIniFile32 ini(target_.dataFile);
        ini.SetDeferSaves(true);
        ini.DeleteKey(target_.section, target_.prefix + "I");
        ini.DeleteKey(target_.section, target_.prefix + "G");
        if (ini.Modified()) {
            ini.UpdateFile();
        }
    }
    editorAction_ = kEditIconFromFile;
    choice_ = Choice::DefaultIcon;
    Close();
}

void TGlyphForm::CloseBtnClick() {
    if (!closed_) {
        Close();
    }
}

void TGlyphForm::HelpBtnClick() {
    if (onHelp) {
        onHelp(kHelpTopic);
    }
}

void TGlyphForm::Close() {
    if (result_ == 0) {
        result_ = kNoChoice;
    } else if (result_ == kFirstFileIcon - 1) {
        result_ = kFirstFileIcon;
    }
    closed_ = true;
}

} // namespace lv
