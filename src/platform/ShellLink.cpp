// The Windows shell link format: a fixed header, an optional ID list of the target, an
// optional LinkInfo block with the target's local or network path, then counted strings
// (name, relative path, working directory, arguments, icon location). Dropped files come from
// anywhere, so every size and offset is checked against the bytes before it is used.
#include "platform/Shortcuts.h"
#include "platform/Unicode.h"

#include <array>
#include <cstdint>

namespace lv {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<unsigned char, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum : std::uint32_t {
    HasLinkTargetIdList = 0x01,
    HasLinkInfo = 0x02,
    HasName = 0x04,
    HasRelativePath = 0x08,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
};

enum : std::uint32_t {
    VolumeIdAndLocalBasePath = 0x01,
    CommonNetworkRelativeLinkAndPathSuffix = 0x02,
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool Has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    std::uint16_t U16(std::size_t at) const {
        return static_cast<std::uint16_t>(Byte(at) | Byte(at + 1) << 8);
    }
    std::uint32_t U32(std::size_t at) const {
        return static_cast<std::uint32_t>(U16(at)) | static_cast<std::uint32_t>(U16(at + 2)) << 16;
    }
    unsigned char Byte(std::size_t at) const { return static_cast<unsigned char>(bytes_[at]); }
    std::string_view Slice(std::size_t at, std::size_t count) const {
        return bytes_.substr(at, count);
    }

private:
    std::string_view bytes_;
};

std::string FromAnsi(std::string_view bytes) {
    std::string utf8;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(utf8, Cp1252ToUnicode(byte));
    }
    return utf8;
}

// UTF-16LE code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string FromUtf16(const Reader& in, std::size_t at, std::size_t units) {
    std::string utf8;
    for (std::size_t i = 0; i < units; ++i) {
        char32_t ch = in.U16(at + 2 * i);
        if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < units) {
            const char32_t low = in.U16(at + 2 * (i + 1));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ch = 0x10000 + ((ch - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if (ch >= 0xD800 && ch <= 0xDFFF) {
            ch = 0xFFFD;
        }
        AppendUtf8(utf8, ch);
    }
    return utf8;
}

// A zero-terminated string inside [at, end): ANSI bytes or UTF-16.
std::optional<std::string> Terminated(const Reader& in, std::size_t at, std::size_t end,
                                      bool wide) {
    if (wide) {
        for (std::size_t i = at; i + 1 < end; i += 2) {
            if (in.U16(i) == 0) {
                return FromUtf16(in, at, (i - at) / 2);
            }
        }
        return std::nullopt;
    }
    for (std::size_t i = at; i < end; ++i) {
        if (in.Byte(i) == 0) {
            return FromAnsi(in.Slice(at, i - at));
        }
    }
    return std::nullopt;
}

// The path named by the LinkInfo block starting at `at`, or nothing.
std::optional<std::string> LinkInfoPath(const Reader& in, std::size_t at, std::size_t size) {
    if (size < 0x1C) {
        return std::nullopt;
    }
    const std::size_t end = at + size;
    const std::uint32_t headerSize = in.U32(at + 4);
    const std::uint32_t flags = in.U32(at + 8);
    const bool wide = headerSize >= 0x24 && size >= 0x24;
    // Offsets count from the block's start and must stay inside it.
    const auto text = [&](std::uint32_t offset, bool unicode) -> std::optional<std::string> {
        if (offset == 0 || offset >= size) {
            return std::nullopt;
        }
        return Terminated(in, at + offset, end, unicode);
    };
    std::optional<std::string> suffix = wide ? text(in.U32(at + 0x20), true) : std::nullopt;
    if (!suffix) {
        suffix = text(in.U32(at + 0x18), false);
    }
    if (flags & VolumeIdAndLocalBasePath) {
        std::optional<std::string> base = wide ? text(in.U32(at + 0x1C), true) : std::nullopt;
        if (!base) {
            base = text(in.U32(at + 0x10), false);
        }
        if (base && !base->empty()) {
            return *base + suffix.value_or("");
        }
    }
    if (flags & CommonNetworkRelativeLinkAndPathSuffix) {
        const std::uint32_t netOffset = in.U32(at + 0x14);
        if (netOffset != 0 && netOffset < size && size - netOffset >= 0x14) {
            const std::size_t net = at + netOffset;
            const std::uint32_t netSize = in.U32(net);
            const std::size_t netEnd = netSize <= size - netOffset ? net + netSize : end;
            const std::uint32_t nameOffset = in.U32(net + 8);
            if (nameOffset != 0 && nameOffset < netEnd - net) {
                if (std::optional<std::string> name =
                        Terminated(in, net + nameOffset, netEnd, false);
                    name && !name->empty()) {
                    return suffix && !suffix->empty() ? *name + "\\" + *suffix : *name;
                }
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<Shortcut> ParseShellLink(std::string_view bytes) {
    const Reader in(bytes);
    if (!in.Has(0, kHeaderSize) || in.U32(0) != kHeaderSize ||
        bytes.substr(4, 16) !=
            std::string_view(reinterpret_cast<const char*>(kLinkClsid.data()), kLinkClsid.size())) {
        return std::nullopt;
    }
    const std::uint32_t flags = in.U32(0x14);
    Shortcut shortcut;
    shortcut.iconIndex = static_cast<std::int32_t>(in.U32(0x38));
    std::size_t at = kHeaderSize;

    if (flags & HasLinkTargetIdList) {
        if (!in.Has(at, 2)) {
            return std::nullopt;
        }
        at += 2 + in.U16(at);
    }
    std::optional<std::string> linkInfoPath;
    if (flags & HasLinkInfo) {
        if (!in.Has(at, 4)) {
            return std::nullopt;
        }
        const std::uint32_t size = in.U32(at);
        if (size < 4 || !in.Has(at, size)) {
            return std::nullopt;
        }
        linkInfoPath = LinkInfoPath(in, at, size);
        at += size;
    }

    const bool wide = flags & IsUnicode;
    const auto counted = [&](std::uint32_t flag, std::string& out) {
        if (!(flags & flag)) {
            return true;
        }
        if (!in.Has(at, 2)) {
            return false;
        }
        const std::size_t count = in.U16(at);
        const std::size_t length = wide ? 2 * count : count;
        if (!in.Has(at + 2, length)) {
            return false;
        }
        out = wide ? FromUtf16(in, at + 2, count) : FromAnsi(in.Slice(at + 2, length));
        at += 2 + length;
        return true;
    };
    std::string relativePath;
    // A string cut short ends the reading; what was read before still counts.
    (void)(counted(HasName, shortcut.title) && counted(HasRelativePath, relativePath) &&
           counted(HasWorkingDir, shortcut.workingDir) &&
           counted(HasArguments, shortcut.arguments) &&
           counted(HasIconLocation, shortcut.iconFile));

    shortcut.target = linkInfoPath ? *linkInfoPath : relativePath;
    if (shortcut.target.empty()) {
        return std::nullopt;
    }
    return shortcut;
}

} // namespace lv
