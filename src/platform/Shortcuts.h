#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lv {

// What a dropped shortcut points at. Texts are UTF-8, like file names (the caller converts them
// for the DataFile); empty when the shortcut does not say.
struct Shortcut {
    std::string target;     // program, document or address
    std::string arguments;  // the program's arguments, as one text
    std::string workingDir; // where the program starts
    std::string title;      // the shortcut's own name or description
    std::string iconFile;
    int iconIndex = 0;
};

// Reads the file dropped at path by its extension, ignoring case: ".lnk" shell links and
// ".desktop" launchers. Any other file, or a shortcut that cannot be read, is its own target.
// Never throws for bad content. (".url" files are INI files of the DataFile kind and are read
// with the INI engine: [InternetShortcut] URL.)
Shortcut ReadShortcut(const std::string& path);

// The bookmark target of a shortcut: the target, then " /" and the arguments when it has any.
std::string StoredTarget(const Shortcut& shortcut);

// A Windows shell link (the binary ".lnk" format). Nothing when the bytes are not one or
// hold no target. Strings stored without Unicode are read as Windows-1252.
std::optional<Shortcut> ParseShellLink(std::string_view bytes);

// A desktop entry launcher: Exec split into the program and its arguments with field codes
// removed, Path, Name (else Comment), Icon; a link entry's URL. findProgram resolves a program
// given without a folder (empty: not found, the name stays as written).
std::optional<Shortcut>
ParseDesktopEntry(std::string_view bytes,
                  const std::function<std::string(const std::string&)>& findProgram = nullptr);

// The first executable file of that name in the folders of $PATH, or an empty text.
std::string FindOnPath(const std::string& name);

} // namespace lv
