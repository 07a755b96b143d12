#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lv {

class Dialogs;

// The icon chooser ("Select an Icon"): the built-in icons, or the pictures of one file. The
// target is a key prefix in a section of the DataFile: a bookmark slot ("07" on a page), or
// "Icon" in [Default] for the default icon. Opened from the bookmark editor it writes G and I of
// the target itself; opened for several bookmarks it only reports the choice.
class TGlyphForm {
public:
    static constexpr int kWidth = 617;
    static constexpr int kHeight = 160;
    static constexpr int kScrollStep = 18;
    static constexpr int kHelpTopic = 75;
    static constexpr int kNoChoice = 120;
    static constexpr int kFirstFileIcon = 600;
    static constexpr int kEditIconFromFile = 20;
    // The strip lists at most this many icons of a file: system libraries hold a few hundred,
    // and a file claiming a hundred thousand would keep the chooser drawing for minutes.
    static constexpr int kMaxFileIcons = 1024;

    // One entry of a file's strip: the blank first entry, a GIF/JPEG/PNG picture, or icon
    // `icon` of the file (the view draws the desktop's icon for the file's type when the file
    // has no such icon of its own).
    struct FileEntry {
        enum class Kind { Blank, Picture, Icon };
        Kind kind = Kind::Blank;
        int icon = 0;
    };

    struct Target {
        std::string dataFile;
        std::string section; // page name, or "Default"
        std::string prefix;  // "07", or "Icon"
        bool writes = true;  // the editor's chooser writes G and I itself
        // Only the built-in icons are offered (the default icon is one of them).
        bool builtInOnly = false;
    };

    // What the choice was, for a caller that writes it itself.
    enum class Choice { None, BuiltIn, File, DefaultIcon };

    int backColor = 0;
    int fontColor = 0;
    std::function<void(int topic)> onHelp;

    // Each showing: result 120, selection 0, the target's icon source file shown.
    void FormActivate(Target target, Dialogs* dialogs);

    // The strip's selection event (a click on entry e).
    void ImagesScroll1Selected(int entry);
    // "Images from Files", "Internal Icons", "Default Icon", "Close", "Help".
    void FileBtnClick();
    void DefaultBtnClick();
    void NoIconBtnClick();
    void CloseBtnClick();
    void HelpBtnClick();

    bool Closed() const { return closed_; }
    bool ShowsBuiltIn() const { return builtIn_; }
    bool FilesOffered() const { return !target_.builtInOnly; }
    // PathLabel: the file whose pictures are shown (UTF-8), empty for the built-in icons.
    const std::string& PathLabel() const { return path_; }
    // The file strip's entries (empty while the built-in icons show, or for a missing file).
    const std::vector<FileEntry>& FileImageList() const { return entries_; }
    int EntryCount() const;
    int ImageIndex() const { return imageIndex_; }

    // The icon number chosen (120 without a choice); for a file choice, the file (UTF-8).
    int Result() const { return result_; }
    Choice GetChoice() const { return choice_; }
    const std::string& ChosenFile() const { return chosenFile_; }
    // 20 after a file picture or "Default Icon": the editor reloads the glyph from G and I.
    int EditorAction() const { return editorAction_; }

    // The pictures of a file as the strip lists them: nothing for a file that does not exist;
    // otherwise the blank entry, then one picture (GIF, JPEG, PNG) or the file's icons.
    static std::vector<FileEntry> LoadFileEntries(const std::string& path);
    // The source file of a stored value: a program followed by " /" and its parameters is
    // the program alone.
    static std::string SourcePath(const std::string& stored);

private:
    void ShowFile(const std::string& path);
    void Close();

    Target target_;
    Dialogs* dialogs_ = nullptr;
    bool builtIn_ = false;
    std::string path_;
    std::vector<FileEntry> entries_;
    int imageIndex_ = 0;
    int result_ = kNoChoice;
    Choice choice_ = Choice::None;
    std::string chosenFile_;
    int editorAction_ = 0;
    bool closed_ = true;
};

} // namespace lv
