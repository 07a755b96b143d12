#include "platform/image/IconFile.h"

#include "platform/image/ImageDecoders.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lv {

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

namespace {

// No icon source comes near this; anything larger is not read.
constexpr std::uintmax_t kMaxIconFileBytes = std::uintmax_t{256} << 20;

// A read-only view of a whole file. Programs and libraries can be large; mapping them costs
// nothing until the resource pages are touched.
class MappedFile {
public:
    explicit MappedFile(const std::string& path) {
        // Only a regular file is opened: opening a FIFO named as an icon would wait for a writer
        // forever, and a device may do anything on open. Non-blocking all the same, for a FIFO
        // swapped in after the check.
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return;
        }
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) {
            return;
        }
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
            static_cast<std::uintmax_t>(st.st_size) <= kMaxIconFileBytes) {
            opened_ = true;
            size_ = static_cast<std::size_t>(st.st_size);
            if (size_ > 0) {
                void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
                if (p == MAP_FAILED) {
                    opened_ = false;
                    size_ = 0;
                } else {
                    data_ = static_cast<const std::uint8_t*>(p);
                }
            }
        }
        ::close(fd);
    }
    ~MappedFile() {
        if (data_ != nullptr) {
            ::munmap(const_cast<std::uint8_t*>(data_), size_);
        }
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    bool Opened() const { return opened_; }
    ByteSpan Bytes() const { return {data_, size_}; }

private:
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
    bool opened_ = false;
};

enum class Kind { Gif, Jpeg, Png, Ico, Pe, Bmp, Other };

// GIF and JPEG go by name only, as the button grid always did. Everything else is an icon
// lookup, which looks at the content: icons live in .ico/.cur files, in programs and
// libraries whatever their extension (.exe, .dll, .cpl, .scr ...), and .bmp pictures count as
// one icon.
Kind KindOf(const std::string& path, ByteSpan bytes) {
    const std::string ext = LowerExtension(path);
    if (ext == ".gif") {
        return Kind::Gif;
    }
    if (ext == ".jpg") {
        return Kind::Jpeg;
    }
    // A PNG is known by its first bytes: a site's favicon.ico is often one.
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' &&
        bytes[3] == 'G') {
        return Kind::Png;
    }
    if (bytes.size() >= 4 && bytes[0] == 0 && bytes[1] == 0 && (bytes[2] == 1 || bytes[2] == 2) &&
        bytes[3] == 0) {
        return Kind::Ico;
    }
    if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
        return Kind::Pe;
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return Kind::Bmp;
    }
    return Kind::Other;
}

IconLoad Loaded(Image image) {
    return {IconLoadStatus::Ok, std::move(image), {}};
}

IconLoad Failed(IconLoadStatus status, std::string error) {
    return {status, {}, std::move(error)};
}

// The image size an icon group is read at: the desktop's large icon, which the grid then
// shrinks to its glyph size.
constexpr int kIconSide = 32;

IconLoad LoadKind(Kind kind, ByteSpan bytes, int iconNumber) {
    switch (kind) {
    case Kind::Gif:
        return Loaded(DecodeGif(bytes));
    case Kind::Jpeg:
        return Loaded(DecodeJpeg(bytes));
    case Kind::Bmp:
        if (iconNumber != 0) {
            return Failed(IconLoadStatus::NoIcon, {});
        }
        return Loaded(DecodeBmp(bytes));
    case Kind::Png:
        if (iconNumber != 0) {
            return Failed(IconLoadStatus::NoIcon, {});
        }
        return Loaded(DecodePng(bytes));
    case Kind::Ico: {
        std::vector<IconImage> images = DecodeIcoFile(bytes);
        if (iconNumber < 0 || static_cast<std::size_t>(iconNumber) >= images.size()) {
            return Failed(IconLoadStatus::NoIcon, {});
        }
        IconImage& entry = images[static_cast<std::size_t>(iconNumber)];
        if (entry.image.IsNull()) {
            return Failed(IconLoadStatus::Undecodable, entry.error);
        }
        return Loaded(std::move(entry.image));
    }
    case Kind::Pe: {
        const std::optional<IconGroup> group = DecodePeIconGroup(bytes, iconNumber);
        if (!group) {
            return Failed(IconLoadStatus::NoIcon, {});
        }
        if (const IconImage* best = PickIconImage(group->images, kIconSide)) {
            return Loaded(best->image);
        }
        return Failed(IconLoadStatus::Undecodable,
                      group->images.empty() ? "icon group: no images" : group->images[0].error);
    }
    case Kind::Other:
        break;
    }
    return Failed(IconLoadStatus::NoIcon, "no icon in file");
}

} // namespace

IconLoad LoadIconFile(const std::string& path, int iconNumber) {
    const MappedFile file(path);
    if (!file.Opened()) {
        return Failed(IconLoadStatus::FileMissing, "Cannot open file " + path);
    }
    try {
        return LoadKind(KindOf(path, file.Bytes()), file.Bytes(), iconNumber);
    } catch (const ImageDecodeError& e) {
        // A file that only looked like an icon container by its first bytes is just a file
        // without icons; one that says it is a picture is damaged.
        static const char* const pictures[] = {".gif", ".jpg", ".png", ".ico",
                                               ".cur", ".exe", ".dll", ".bmp"};
        const std::string ext = LowerExtension(path);
        const bool named =
            std::find(std::begin(pictures), std::end(pictures), ext) != std::end(pictures);
        return Failed(named ? IconLoadStatus::Undecodable : IconLoadStatus::NoIcon, e.what());
    }
}

int CountIcons(const std::string& path) {
    const MappedFile file(path);
    if (!file.Opened()) {
        return 0;
    }
    try {
        switch (KindOf(path, file.Bytes())) {
        case Kind::Ico:
            return static_cast<int>(DecodeIcoFile(file.Bytes()).size());
        case Kind::Pe:
            return CountPeIconGroups(file.Bytes());
        case Kind::Gif:
        case Kind::Jpeg:
        case Kind::Png:
        case Kind::Bmp:
            return 1;
        case Kind::Other:
            break;
        }
    } catch (const ImageDecodeError&) {
    }
    return 0;
}

Image PictureGlyph(const Image& picture) {
    return picture.Scaled(kPictureGlyphSide, kPictureGlyphSide);
}

Image IconGlyph(const Image& icon, Rgba buttonFace, int side) {
    return icon.ComposedOver(buttonFace).Scaled(side, side);
}

IconLoad LoadButtonGlyph(const std::string& path, int iconNumber, Rgba buttonFace, int side) {
    IconLoad load = LoadIconFile(path, iconNumber);
    if (load.Ok()) {
        const std::string ext = LowerExtension(path);
        load.image = ext == ".gif" || ext == ".jpg" ? PictureGlyph(load.image)
                                                    : IconGlyph(load.image, buttonFace, side);
    }
    return load;
}

} // namespace lv
