#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lv {

// The address a shortcut without one is imported with: the program's own home page.
inline constexpr std::string_view kHomePageAddress = "https://linkvane.example/";
inline constexpr std::string_view kShortcutSection = "InternetShortcut";
inline constexpr std::string_view kShortcutUrlKey = "URL";
// The DataFile a favourites import makes, in the program directory.
inline constexpr std::string_view kFavoritesDataFile = "IE.lvd";

// A shortcut's file name from a bookmark name: \ / : * ? " < > | . and , become "_".
std::string Strip(std::string_view text);

// A recursive file finder: the full path of every entry below `path`, at any depth, whose name
// matches `filter` ("*" and "?" wildcards, letters compared without regard to case; "*." stands
// for names without an extension), of the kinds asked for. "." and ".." are never reported, and
// a symbolic link to a folder is not followed, so a loop of links cannot make it run forever.
// Folders it cannot read are passed over.
class TFindFile {
public:
    std::string path;
    std::string filter = "*";
    bool recurse = true;
    bool directories = true;
    bool files = true;

    std::vector<std::string> Execute() const;
};

// Whether a file name matches a TFindFile filter.
bool MatchesFilter(std::string_view name, std::string_view filter);

// The favourites root: $HOME/Favorites when that folder exists, else empty (the user picks one).
std::string FavoritesRoot();

struct FavoritesImport {
    std::vector<std::string> pages; // in tab order
    int links = 0;
    int defaultAddresses = 0; // shortcuts without an address, given the home page
    // One line per shortcut file not taken: its path and why.
    std::vector<std::string> notTaken;
};

// Reads the tree below `root` into a new DataFile at `dataFile`, which is replaced as a whole in
// one save (the old file stays when anything fails). Every folder that holds shortcuts, the root
// first and then the others sorted by path without regard to case, becomes a page named after the
// folder, its shortcuts in name order, 80 to a page and continued on pages named with "+"; the
// title is the file name without ".url". Names that would share a section with another page get
// "+" appended. Text is converted to the DataFile's encoding. When the tree holds no shortcut
// at all, nothing is written and the result has no pages.
FavoritesImport ImportFavorites(const std::string& root, const std::string& dataFile);

// "Imported N links into M pages." and what was not taken, one line each.
std::vector<std::string> ImportSummary(const FavoritesImport& import);

struct FavoritesExportRequest {
    std::string dataFile;
    std::vector<std::string> pages; // the page list in tab order
    int firstPage = 0;
    int lastPage = 0;
    int columnCount = 4;
    std::string folder; // the chosen folder; each page gets a folder below it
};

struct FavoritesExport {
    int pages = 0;
    int shortcuts = 0;
    // Bookmarks not written, with the reason (an address scrambled by a password).
    std::vector<std::string> notTaken;
};

// Writes the pages as folders of shortcut files below the chosen folder. An existing shortcut of
// the same name keeps its other lines and gets its URL replaced; two bookmarks of one page whose
// cleaned names are equal go to "Name.url" and "Name (2).url". A file error stops the export
// there (lv::FileError).
FavoritesExport ExportFavorites(const FavoritesExportRequest& request);

// The folder name of a page below the chosen folder: the page name as it stands, except that it
// can never climb out of that folder or into a subfolder ("/" becomes "_", "." and ".." become
// "_").
std::string PageFolderName(std::string_view storedPageName);

} // namespace lv
