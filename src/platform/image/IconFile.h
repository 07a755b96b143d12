#pragma once

#include "platform/image/Image.h"

#include <string>

namespace lv {

enum class IconLoadStatus {
    Ok,
    FileMissing, // the file does not exist or cannot be read
    NoIcon,      // the file holds no picture we can read (or none with that number): the caller
                 // falls back to the desktop's icon for the file's type
    Undecodable, // the file claims to be a picture but is damaged or too large; see error
};

struct IconLoad {
    IconLoadStatus status = IconLoadStatus::NoIcon;
    Image image;
    std::string error; // for Undecodable (and NoIcon when there is something to say)

    bool Ok() const { return status == IconLoadStatus::Ok; }
};

// Loads picture `iconNumber` (from 0) of a file, the loader chosen by the file's extension in
// lower case: ".gif" -> GIF, ".jpg" -> JPEG (both ignore the number), otherwise the icon
// lookup: ".ico"/".cur" -> the Nth image of the file, ".exe"/".dll" -> the Nth icon group (its
// image nearest to 32 pixels), ".bmp" -> the bitmap as icon 0, and a PNG (by its first bytes,
// whatever the name) as icon 0. Other files give NoIcon.
IconLoad LoadIconFile(const std::string& path, int iconNumber);

// Extension of the last path component, lower case, with its dot ("" when there is none).
std::string LowerExtension(const std::string& path);

// How many icons the icon lookup sees in a file: images of an .ico/.cur, icon groups of an
// .exe/.dll, 1 for a readable .bmp, .gif, .jpg or PNG, 0 otherwise (also for missing files).
int CountIcons(const std::string& path);

// The glyph of a GIF or JPEG picture as the button grid shows it: stretched to 15 x 15.
inline constexpr int kPictureGlyphSide = 15;
Image PictureGlyph(const Image& picture);

// The glyph of an icon as the button grid shows it: drawn on a bitmap of the icon's size filled
// with the button face colour, then stretched to a side x side square (the grid uses the
// button height minus 4, that is 15).
Image IconGlyph(const Image& icon, Rgba buttonFace, int side);

// Both in one: what a bookmark button shows for icon number `iconNumber` of `path`. GIF and JPEG
// pictures become PictureGlyph, everything else IconGlyph. status/error as LoadIconFile.
IconLoad LoadButtonGlyph(const std::string& path, int iconNumber, Rgba buttonFace, int side);

} // namespace lv
