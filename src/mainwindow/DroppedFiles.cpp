#include "mainwindow/DroppedFiles.h"

#include "mainwindow/AutoIcon.h"
#include "mainwindow/PagePasswords.h"
#include "mainwindow/PasswordProtection.h"
#include "platform/Shortcuts.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/TIniFile32.h"
#include "store/Text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace lv {

namespace {
constexpr int kFirstRowTop = 22;
constexpr int kRowHeight = 19;
} // namespace

int SlotAt(int x, int y, int clientWidth, int columns) {
    if (y < kFirstRowTop || x < 0 || columns < 1 || clientWidth < columns) {
        return 0;
    }
    const int row = (y - kFirstRowTop) / kRowHeight + 1;
    if (row > datafile::kRowCount) {
        return 0;
    }
    // Compared as x > k * (width / columns) without losing the fraction.
    int column = 1;
    for (int k = 1; k <= 3; ++k) {
        if (static_cast<long long>(x) * columns > static_cast<long long>(k) * clientWidth) {
            ++column;
        }
    }
    if (column > columns) {
        return 0;
    }
    return row + datafile::kRowCount * (column - 1);
}

std::string TitleFromFileName(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1); // a folder named with its slash
    }
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return std::string(name);
    }
    const std::string_view extension = name.substr(dot + 1);
    const bool real = !extension.empty() && extension.size() <= 8 &&
                      std::all_of(extension.begin(), extension.end(), [](char c) {
                          return std::isalnum(static_cast<unsigned char>(c)) != 0;
                      });
    return std::string(real ? name.substr(0, dot) : name);
}

DroppedBookmark BookmarkFromFile(const std::string& path) {
    const std::filesystem::path file(path);
    const std::string extension = LowerCase1252(file.extension().string());
    DroppedBookmark bookmark;
    bookmark.title = Utf8ToCp1252(TitleFromFileName(path));
    bookmark.target = Utf8ToCp1252(path);
    if (extension == ".url") {
        const TIniFile32 ini(path);
        bookmark.target = ini.ReadString("InternetShortcut", "URL", bookmark.target);
    } else if (extension == ".lnk" || extension == ".desktop") {
        const Shortcut shortcut = ReadShortcut(path);
        if (!shortcut.target.empty()) {
            bookmark.target = Utf8ToCp1252(StoredTarget(shortcut));
            if (!shortcut.arguments.empty()) {
                bookmark.iconFile = Utf8ToCp1252(shortcut.target);
            }
        }
        bookmark.workingDir = Utf8ToCp1252(shortcut.workingDir);
        if (!shortcut.title.empty()) {
            bookmark.title = Utf8ToCp1252(shortcut.title);
        }
    }
    return bookmark;
}

void DroppedFiles::Drop(const std::vector<std::string>& files, int x, int y) {
    if (files.empty() || state_.TabSet1.names.empty() || state_.locked) {
        return;
    }
    const int slot = SlotAt(x, y, state_.ClientWidth(), state_.ColumnCount);
    if (slot == 0 || slot > static_cast<int>(state_.buttons.size())) {
        return;
    }
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Drop files");
    const DroppedBookmark dropped = BookmarkFromFile(files.front());

    Bookmark inHand;
    inHand.title = dropped.title;
    inHand.target = dropped.target;
    inHand.extra = dropped.workingDir;
    inHand.local = "Yes";
    // The icon code goes into the bookmark in hand, never into the slot under the mouse: that
    // slot may hold another bookmark, which is shifted down, not given this one's icon.
    const std::string code = AutoIconCode(dropped.target, state_.checks.webIconSearch);
    if (code != "00") {
        inHand.glyph = code;
    }
    if (code == "600") {
        inHand.icon = dropped.iconFile;
    }
    if (const auto password =
            FindPagePass(state_.PagePassBox, state_.TabSet1.Current(), state_.TabSet1.names)) {
        const auto scrambled = SafeEncrypt(inHand.target, *password);
        if (!scrambled) {
            dialogs_.Message({MsgKind::Information, {}, CannotProtectText(inHand.title)});
            return;
        }
        inHand.target = *scrambled;
    }
    state_.BookmarkBox = inHand.ToBoxLines();
    if (!edit_.PutButton(slot)) {
        state_.BookmarkBox.clear();
        dialogs_.Message({MsgKind::Information, {}, std::string(kNoRoomPut)});
    }
}

} // namespace lv
