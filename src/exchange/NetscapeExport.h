#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lv {

// Pages going out to a Netscape bookmark file. Text as stored (Windows-1252); addresses plain,
// never scrambled.
struct ExportBookmark {
    std::string title;
    std::string url;
};
struct ExportFolder {
    std::string name;
    std::vector<ExportBookmark> links;
};

// The lines of the folders, each ended by CR LF: header, list start, links, list end. The date
// fills every date attribute. Text is escaped; utf8 chooses the file's encoding (else
// Windows-1252, characters it lacks written as numeric references).
std::string NetscapeFolderLines(const std::vector<ExportFolder>& folders, std::string_view date,
                                bool utf8);

// A whole bookmark file in UTF-8 holding the folders in its one list.
std::string NewNetscapeDocument(const std::vector<ExportFolder>& folders, std::string_view date);

// Whether a bookmark file's bytes are UTF-8 by its own word: a byte order mark or a charset.
bool DeclaresUtf8(std::string_view bytes);

// Adds the folders to the bookmark file. A file that does not exist is created whole (written
// atomically); an existing one is never rewritten: the folder lines go after its last line, in
// the encoding it declares. Returns true when the file was created. Failures raise FileError.
bool ExportNetscapeFile(const std::string& path, const std::vector<ExportFolder>& folders,
                        std::string_view date);

} // namespace lv
