#include "mainwindow/BookmarkEdit.h"

#include "mainwindow/AutoIcon.h"
#include "mainwindow/PageGrid.h"
#include "mainwindow/PagePasswords.h"
#include "mainwindow/PasswordProtection.h"
#include "mainwindow/TaskTray.h"
#include "mainwindow/UrlHelpers.h"
#include "store/Backup.h"
#include "store/DataFile.h"
#include "store/FileIo.h"
#include "store/Settings.h"
#include "store/TIniFile32.h"
#include "store/Text.h"
#include "tools/TGlyphForm.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace lv {
namespace {

std::string Strip(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (std::string_view("\\/:*?\"<>|.,").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return out;
}

// [MRU] entries name a bookmark by title, page and slot; an erased bookmark leaves the list.
void RemoveRecent(TIniFile32& ini, const std::string& entry) {
    const int count = ini.ReadInteger(datafile::kMru, datafile::kCount, 0);
    std::vector<std::string> kept;
    for (int i = 1; i <= count && i <= 100; ++i) {
        std::string value = ini.ReadString(datafile::kMru, std::to_string(i), "");
        if (value != entry) {
            kept.push_back(std::move(value));
        }
    }
    if (static_cast<int>(kept.size()) == count || count > 100) {
        return;
    }
    for (std::size_t i = 0; i < kept.size(); ++i) {
        ini.WriteString(datafile::kMru, std::to_string(i + 1), kept[i]);
    }
    for (int i = static_cast<int>(kept.size()) + 1; i <= count; ++i) {
        ini.DeleteKey(datafile::kMru, std::to_string(i));
    }
    ini.WriteInteger(datafile::kMru, datafile::kCount, static_cast<int>(kept.size()));
}

bool DeletableImage(const std::string& path) {
    const std::string extension = LowerCase1252(std::filesystem::path(path).extension().string());
    return extension == ".gif" || extension == ".jpg" || extension == ".ico";
}

// The file an icon key names, when it is one of this DataFile's web icons: a regular file
// right inside its web icon directory once ".." and links are resolved. The key is only text
// in a file anyone may have written; a picture elsewhere is never ours to delete.
std::optional<std::filesystem::path> OwnedWebIcon(const std::string& dataFile,
                                                  const std::string& iconPath) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::canonical(WebIconDirectory(dataFile), error);
    if (error) {
        return std::nullopt;
    }
    const fs::path file = fs::canonical(iconPath, error);
    if (error || !fs::is_regular_file(file, error) || file.parent_path() != folder ||
        !DeletableImage(file.string())) {
        return std::nullopt;
    }
    return file;
}

} // namespace

bool WebIconOfSite(std::string_view iconFile, std::string_view target) {
    const auto slash = iconFile.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? iconFile : iconFile.substr(slash + 1);
    name = name.substr(0, name.find('.'));
    const std::size_t skip = static_cast<std::size_t>(TrimHTTP(target) - 1);
    const std::string_view site = skip < target.size() ? target.substr(skip) : std::string_view();
    return !name.empty() && Strip(name) == Strip(site);
}

BookmarkButton* BookmarkEdit::OnScreen(const std::string& page, int slot) {
    if (state_.TabSet1.names.empty() || state_.TabSet1.Current() != page || slot < 1 ||
        slot > static_cast<int>(state_.buttons.size())) {
        return nullptr;
    }
    return &state_.buttons[static_cast<std::size_t>(slot - 1)];
}

void BookmarkEdit::Tell(std::string text) {
    ports_.dialogs.Message({MsgKind::Information, {}, std::move(text)});
}

void BookmarkEdit::ShowSlot(MainWindowState& state, TIniFile32& ini, const std::string& page,
                            int slot) {
    if (state.TabSet1.names.empty() || state.TabSet1.Current() != page || slot < 1 ||
        slot > static_cast<int>(state.buttons.size())) {
        return;
    }
    ShowSlotView(state.buttons[static_cast<std::size_t>(slot - 1)],
                 ReadSlotForDisplay(ini, page, slot, SlotDisplayOptions(state, page)));
}

void BookmarkEdit::SetButtonParams(int slot) {
    if (state_.TabSet1.names.empty() || slot < 1 ||
        slot > static_cast<int>(state_.buttons.size())) {
        return;
    }
    if (edit_.putPending) {
        PutPending(slot);
        return;
    }
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Edit bookmark");
    const std::string page = state_.TabSet1.Current();
    const BookmarkButton& button = state_.buttons[static_cast<std::size_t>(slot - 1)];
    const Bookmark bookmark = StoreButton(state_.DataFileName, page, SlotPrefix(slot));
    const bool pageProtected =
        FindPagePass(state_.PagePassBox, page, state_.TabSet1.names).has_value();

    TBConfigForm& form = edit_.BConfigForm;
    form.Open();
    form.RunBox = bookmark.local == "Yes";
    form.PassBox = IsScrambled(bookmark.target);
    form.EI1 = DecodeNotes(bookmark.notes);
    form.EI2 = bookmark.extra;
    form.bookmarkColor = button.fontColor;
    form.Desc1 = bookmark.title;
    form.URL1 = pageProtected && form.PassBox ? Decrypt(bookmark.target) : bookmark.target;
    form.titleReadOnly = false;
    form.fieldsVisible = true;
    form.actionsVisible = true;
    form.passBoxVisible = true;
    if (pageProtected) {
        form.passBoxVisible = false;
    } else if (form.PassBox) {
        form.titleReadOnly = true;
        form.fieldsVisible = false;
        form.actionsVisible = false;
    }
    form.resetColorVisible = button.fontColor != state_.ButtonFontColor;
    if (form.Desc1.empty()) {
        form.passBoxVisible = false;
    }
    state_.CurrentButtonName = ButtonName(slot);
    form.glyph = button.glyph;
    edit_.shownUrl = form.URL1;
    form.onNameChange = [this, page, slot] { NameChange(page, slot); };
    form.onResetColor = [this, page, slot] { ResetBC(page, slot); };
    form.onIcon = [this, page, slot] { ChooseIcon(page, slot); };

    if (ports_.bookmarkEditor) {
        ports_.bookmarkEditor(form);
    }
    form.onNameChange = nullptr;
    form.onResetColor = nullptr;
    form.onIcon = nullptr;

    TIniFile32 ini(state_.DataFileName);
    const std::string target = ini.ReadString(page, SlotKey(slot, 'U'), "");
    if (bookmark.target.empty() && !target.empty()) {
        AutoIcon(state_, ports_, ini, page, slot, pageProtected ? Decrypt(target) : target);
    }
    ShowSlot(state_, ini, page, slot);
    ActAfterEditor(page, slot);
    form.EditorAction = kEditNothing;
    // An editor closed without a change leaves no backup armed for a later, unrelated save; a
    // bookmark picked up to be put down keeps it for the put.
    if (!edit_.putPending) {
        DisarmBeforeFirstChange();
    }
}

void BookmarkEdit::NameChange(const std::string& page, int slot) {
    const TBConfigForm& form = edit_.BConfigForm;
    TIniFile32 ini(state_.DataFileName);
    if (!form.Desc1.empty()) {
        ini.WriteString(page, SlotKey(slot, 'N'), form.Desc1);
    }
    const std::string stored = ini.ReadString(page, SlotKey(slot, 'U'), "");
    // An unchanged field is written back only when the slot has no target: rewriting it would
    // scramble an already scrambled target once more.
    if (!form.URL1.empty() && (form.URL1 != edit_.shownUrl || stored.empty())) {
        std::string value = form.URL1;
        if (const auto password = FindPagePass(state_.PagePassBox, page, state_.TabSet1.names)) {
            const auto scrambled = SafeEncrypt(value, *password);
            if (!scrambled) {
                Tell(CannotProtectText(form.Desc1));
                ShowSlot(state_, ini, page, slot);
                return;
            }
            value = *scrambled;
        }
        ini.WriteString(page, SlotKey(slot, 'U'), value);
        edit_.shownUrl = form.URL1;
    }
    const std::pair<char, std::string> texts[] = {{'P', EncodeNotes(form.EI1)}, {'S', form.EI2}};
    for (const auto& [letter, value] : texts) {
        if (!value.empty()) {
            ini.WriteString(page, SlotKey(slot, letter), value);
        } else {
            ini.DeleteKey(page, SlotKey(slot, letter));
        }
    }
    ShowSlot(state_, ini, page, slot);
}

void BookmarkEdit::ChooseIcon(const std::string& page, int slot) {
    TGlyphForm chooser;
    chooser.backColor = state_.TabSelectedColor;
    chooser.fontColor = state_.TabFontColor;
    chooser.onHelp = ports_.openHelp;
    chooser.FormActivate({state_.DataFileName, page, SlotPrefix(slot), true, false},
                         &ports_.dialogs);
    if (ports_.glyphForm) {
        ports_.glyphForm(chooser);
    }
    TBConfigForm& form = edit_.BConfigForm;
    if (chooser.GetChoice() != TGlyphForm::Choice::None) {
        TIniFile32 ini(state_.DataFileName);
        ShowSlot(state_, ini, page, slot);
        form.glyph = state_.buttons[static_cast<std::size_t>(slot - 1)].glyph;
    }
    if (chooser.EditorAction() == kEditIconFromFile) {
        form.EditorAction = kEditIconFromFile;
    }
}

void BookmarkEdit::ActAfterEditor(const std::string& page, int slot) {
    switch (edit_.BConfigForm.EditorAction) {
    case kEditProtect:
        ProtectBookmark(page, slot);
        break;
    case kEditLocal:
        LocalLaunch(page, slot);
        break;
    case kEditColor:
        BFontChange(page, slot);
        break;
    case kEditMove:
        TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Move bookmark");
        PickUp(page, slot, true);
        break;
    case kEditCopy:
        PickUp(page, slot, false);
        break;
    case kEditErase: {
        const std::string caption = state_.buttons[static_cast<std::size_t>(slot - 1)].caption;
        if (state_.checks.confirmDialog) {
            MessageRequest question{MsgKind::Confirmation,
                                    {},
                                    "Are you sure you want to delete the \"" + caption +
                                        "\" bookmark?",
                                    MsgButtons::YesNo,
                                    0};
            if (ports_.dialogs.Message(question) != MsgResult::Yes) {
                break;
            }
        }
        TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Erase bookmark");
        EraseButton(page, slot, true);
        break;
    }
    case kEditEmail: {
        const TBConfigForm& form = edit_.BConfigForm;
        const std::string& caption = state_.buttons[static_cast<std::size_t>(slot - 1)].caption;
        state_.Memo1 = "<A HREF=\"" + form.URL1 + "\">" + caption + "</A><BR>";
        if (ports_.emailForm) {
            ports_.emailForm(EmailMode::One, {state_.Memo1});
        }
        state_.Memo1.clear();
        break;
    }
    default:
        break;
    }
}

void BookmarkEdit::ProtectBookmark(const std::string& page, int slot) {
    TIniFile32 ini(state_.DataFileName);
    const std::string stored = ini.ReadString(page, SlotKey(slot, 'U'), "");
    if (IsScrambled(stored)) {
        const std::string typed = ports_.dialogs.Password({true}).password;
        if (!TestPassword(state_.DataFileName, page, slot, typed)) {
            Tell("Invalid Password!");
            return;
        }
        ini.WriteString(page, SlotKey(slot, 'U'), Decrypt(stored));
    } else {
        const std::string typed = ports_.dialogs.Password({false}).password;
        if (typed.empty() || stored.empty()) {
            return;
        }
        if (!StorableValue("x" + Shift(typed))) {
            Tell(std::string(kCannotUsePassword));
            return;
        }
        const auto scrambled = SafeEncrypt(stored, typed);
        if (!scrambled) {
            Tell(CannotProtectText(ini.ReadString(page, SlotKey(slot, 'N'), "")));
            return;
        }
        ini.WriteString(page, SlotKey(slot, 'U'), *scrambled);
    }
    ShowSlot(state_, ini, page, slot);
}

void BookmarkEdit::LocalLaunch(const std::string& page, int slot) {
    TIniFile32 ini(state_.DataFileName);
    if (ini.ReadString(page, SlotKey(slot, 'L'), "") == "Yes") {
        ini.DeleteKey(page, SlotKey(slot, 'L'));
        return;
    }
    ini.WriteString(page, SlotKey(slot, 'L'), "Yes");
    if (edit_.BConfigForm.URL1.empty()) {
        if (click_) {
            click_(slot);
        }
    } else {
        NameChange(page, slot);
    }
}

void BookmarkEdit::BFontChange(const std::string& page, int slot) {
    TIniFile32 settingsIni(state_.SettingsFile());
    auto entries = ReadCustomColors(settingsIni);
    ColorRequest request;
    request.color = edit_.BConfigForm.bookmarkColor;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        request.customColors[i] = CustomColorValue(entries[i]);
    }
    const ColorResult chosen = ports_.dialogs.Color(request);
    if (!chosen.accepted) {
        return;
    }
    if (BookmarkButton* button = OnScreen(page, slot)) {
        button->fontColor = chosen.color;
    }
    WriteToIniILVD(state_.DataFileName, page, SlotKey(slot, 'C'), chosen.color);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = CustomColorEntry(static_cast<char>('A' + i), chosen.customColors[i]);
    }
    WriteCustomColors(settingsIni, entries);
}

void BookmarkEdit::ResetBC(const std::string& page, int slot) {
    TIniFile32 ini(state_.DataFileName);
    ini.DeleteKey(page, SlotKey(slot, 'C'));
    if (BookmarkButton* button = OnScreen(page, slot)) {
        button->fontColor = state_.ButtonFontColor;
    }
}

void BookmarkEdit::PickUp(const std::string& page, int slot, bool move) {
    edit_.putPending = true;
    edit_.pickedPage = page;
    edit_.pickedSlot = slot;
    state_.BookmarkBox = StoreButton(state_.DataFileName, page, SlotPrefix(slot)).ToBoxLines();
    if (move) {
        EraseButton(page, slot, false);
    }
}

void BookmarkEdit::PutPending(int slot) {
    if (!PutButton(slot)) {
        // The bookmark was picked up (and for a move already erased): it stays in hand.
        Tell(std::string(kNoRoomPut));
    }
}

bool BookmarkEdit::RoomFrom(int target, int vacated) const {
    const int last = static_cast<int>(state_.buttons.size());
    for (int s = target; s >= 1 && s <= last; ++s) {
        if (s == vacated || state_.buttons[static_cast<std::size_t>(s - 1)].caption.empty()) {
            return true;
        }
    }
    return false;
}

void BookmarkEdit::ButtonDragDrop(int source, int target) {
    const int last = static_cast<int>(state_.buttons.size());
    if (state_.TabSet1.names.empty() || source == target || source < 1 || target < 1 ||
        source > last || target > last) {
        return;
    }
    const Bookmark inHand = Bookmark::FromBoxLines(state_.BookmarkBox);
    if (inHand.target.empty() && inHand.title.empty()) {
        return;
    }
    TakeModificationBackup(state_.DataFileName, state_.checks.autoBackup, "Move bookmark");
    // Refused before anything changes: erasing the source first would lose the bookmark.
    if (!RoomFrom(target, source)) {
        Tell(std::string(kNoRoomMove));
        return;
    }
    EraseButton(state_.TabSet1.Current(), source, false);
    PutButton(target);
}

bool BookmarkEdit::PutButton(int slot) {
    const int last = static_cast<int>(state_.buttons.size());
    if (state_.TabSet1.names.empty() || slot < 1 || slot > last) {
        return false;
    }
    const Bookmark inHand = Bookmark::FromBoxLines(state_.BookmarkBox);
    if (inHand.target.empty() && inHand.title.empty()) {
        edit_.putPending = false;
        return false;
    }
    auto caption = [this](int s) -> std::string& {
        return state_.buttons[static_cast<std::size_t>(s - 1)].caption;
    };
    int empty = 0;
    for (int s = slot; s <= last; ++s) {
        if (caption(s).empty()) {
            empty = s;
            break;
        }
    }
    if (empty == 0) {
        return false;
    }
    const std::string page = state_.TabSet1.Current();
    TIniFile32 ini(state_.DataFileName);
    ini.SetDeferSaves(true);
    // A slot without a title counts as empty; what it still holds is overwritten, not mixed
    // with the bookmark that arrives.
    EraseSlot(ini, page, empty, false);
    for (int s = empty; s > slot; --s) {
        MoveButtons(ini, page, page, SlotPrefix(s), SlotPrefix(s - 1));
        EraseSlot(ini, page, s - 1, false);
    }
    WriteBookmark(ini, page, slot, inHand);
    ini.UpdateFile();
    ShowSlot(state_, ini, page, slot);
    state_.BookmarkBox.clear();
    edit_.putPending = false;
    if (empty > slot && reload_) {
        reload_();
    }
    return true;
}

void BookmarkEdit::EraseButton(const std::string& page, int slot, bool webIconQuestion) {
    TIniFile32 ini(state_.DataFileName);
    EraseSlot(ini, page, slot, webIconQuestion);
}

void BookmarkEdit::EraseSlot(TIniFile32& ini, const std::string& page, int slot,
                             bool webIconQuestion) {
    if (BookmarkButton* button = OnScreen(page, slot)) {
        button->caption.clear();
        button->hint.clear();
        button->glyph = {state_.checks.icons ? GlyphRef::Kind::Blank : GlyphRef::Kind::None, 0, {}};
        button->cursor = ButtonCursor::Normal;
        button->fontColor = state_.ButtonFontColor;
    }
    const Bookmark erased = EraseBookmark(ini, page, slot);
    if (!erased.title.empty()) {
        TaskTray(state_, ports_).RemoveEntry(MruEntryText(erased.title, page, slot), &ini);
    }
    const std::string target =
        FindPagePass(state_.PagePassBox, page, state_.TabSet1.names) && IsScrambled(erased.target)
            ? Decrypt(erased.target)
            : erased.target;
    const auto icon = webIconQuestion && !erased.icon.empty() && WebIconOfSite(erased.icon, target)
                          ? OwnedWebIcon(state_.DataFileName, Cp1252ToUtf8(erased.icon))
                          : std::nullopt;
    if (icon) {
        bool remove = true;
        if (state_.checks.confirmWebIcon) {
            UserDlgRequest question;
            question.title = "Delete Web Icon for \"" + erased.title + "\"";
            question.message = {
                "A Web Icon is being used by the \"" + erased.title + "\" bookmark.", target,
                "Icon file: " + Utf8ToCp1252(icon->string()),
                "If you have duplicate bookmarks they may be using this icon as well.",
                "If you delete this icon you can recover it by bookmarking the site again."};
            question.buttons = {"Delete Image", "Keep Image"};
            remove = ports_.dialogs.UserDlg(question) == 0;
        }
        if (remove) {
            std::error_code error;
            std::filesystem::remove(*icon, error);
        }
    }
    if (!erased.title.empty()) {
        RemoveRecent(ini, erased.title + "  |" + page + "::" + SlotPrefix(slot));
    }
}

} // namespace lv
