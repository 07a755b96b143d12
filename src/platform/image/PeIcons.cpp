// Icon groups of Windows executables and libraries, read from the PE resource tree.
#include "platform/image/ByteReader.h"
#include "platform/image/ImageDecoders.h"

#include <algorithm>
#include <map>
#include <optional>

namespace lv {

using imagedetail::ByteReader;

namespace {

constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupIcon = 14;
constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kNamed = 0x80000000u;

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

class PeResources {
public:
    explicit PeResources(ByteSpan file) : in_(file, "program file") {
        if (!in_.Has(0, 64) || in_.U8(0) != 'M' || in_.U8(1) != 'Z') {
            in_.Fail("not a Windows program or library");
        }
        const std::uint32_t pe = in_.U32(0x3C);
        if (!in_.Has(pe, 24) || in_.U32(pe) != 0x00004550u) { // "PE\0\0"
            in_.Fail("not a Windows program or library");
        }
        const std::uint16_t sectionCount = in_.U16(pe + 6);
        const std::uint16_t optionalSize = in_.U16(pe + 20);
        const std::uint64_t optional = pe + 24;
        const std::uint16_t magic = in_.U16(optional);
        std::uint64_t dirCountAt = 0;
        if (magic == 0x10B) {
            dirCountAt = optional + 92;
        } else if (magic == 0x20B) {
            dirCountAt = optional + 108;
        } else {
            in_.Fail("unknown optional header");
        }
        const std::uint32_t dirCount = in_.U32(dirCountAt);
        if (dirCount > 2 && dirCountAt + 4 + 3 * 8 <= optional + optionalSize) {
            resourceRva_ = in_.U32(dirCountAt + 4 + 2 * 8);
        }
        const std::uint64_t table = optional + optionalSize;
        for (std::uint16_t i = 0; i < sectionCount; ++i) {
            const std::uint64_t at = table + 40 * std::uint64_t{i};
            sections_.push_back(
                {in_.U32(at + 12), in_.U32(at + 8), in_.U32(at + 16), in_.U32(at + 20)});
        }
        if (resourceRva_ != 0) {
            root_ = Offset(resourceRva_);
        }
    }

    bool HasResources() const { return resourceRva_ != 0; }

    // File offset of a relative virtual address; throws when no section holds it.
    std::uint64_t Offset(std::uint32_t rva) const {
        for (const Section& s : sections_) {
            const std::uint32_t span = std::max(s.virtualSize, s.rawSize);
            if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
                const std::uint32_t into = rva - s.virtualAddress;
                if (into >= s.rawSize) {
                    break;
                }
                return std::uint64_t{s.rawOffset} + into;
            }
        }
        in_.Fail("resource address outside the file");
    }

    struct Entry {
        std::uint32_t name = 0; // an id, or kNamed for a named entry
        std::uint32_t target = 0;
        bool subdirectory = false;
    };

    // Entries of the directory at `offset` (from the resource root), named ones first as the
    // file stores them.
    std::vector<Entry> Directory(std::uint32_t offset) const {
        const std::uint64_t at = root_ + offset;
        const std::uint32_t count = std::uint32_t{in_.U16(at + 12)} + in_.U16(at + 14);
        in_.Need(at + 16, 8 * std::uint64_t{count});
        std::vector<Entry> entries;
        entries.reserve(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t e = at + 16 + 8 * std::uint64_t{i};
            const std::uint32_t name = in_.U32(e);
            const std::uint32_t target = in_.U32(e + 4);
            entries.push_back({(name & kNamed) ? kNamed : name, target & ~kSubdirectory,
                               (target & kSubdirectory) != 0});
        }
        return entries;
    }

    // The data of a name entry: its first language.
    ByteSpan Data(const Entry& nameEntry) const {
        if (!nameEntry.subdirectory) {
            in_.Fail("malformed resource tree");
        }
        const std::vector<Entry> languages = Directory(nameEntry.target);
        if (languages.empty() || languages.front().subdirectory) {
            in_.Fail("malformed resource tree");
        }
        const std::uint64_t leaf = root_ + languages.front().target;
        return in_.Sub(Offset(in_.U32(leaf)), in_.U32(leaf + 4));
    }

    // The name entries of a resource type.
    std::vector<Entry> OfType(std::uint32_t type) const {
        for (const Entry& e : Directory(0)) {
            if (e.name == type) {
                if (!e.subdirectory) {
                    in_.Fail("malformed resource tree");
                }
                return Directory(e.target);
            }
        }
        return {};
    }

    const ByteReader& Reader() const { return in_; }

private:
    ByteReader in_;
    std::vector<Section> sections_;
    std::uint32_t resourceRva_ = 0;
    std::uint64_t root_ = 0;
};

} // namespace

int CountPeIconGroups(ByteSpan file) {
    const PeResources pe(file);
    return pe.HasResources() ? static_cast<int>(pe.OfType(kRtGroupIcon).size()) : 0;
}

namespace {

std::map<std::uint32_t, PeResources::Entry> IconsById(const PeResources& pe) {
    std::map<std::uint32_t, PeResources::Entry> icons;
    for (const PeResources::Entry& e : pe.OfType(kRtIcon)) {
        if (e.name != kNamed) {
            icons.emplace(e.name, e);
        }
    }
    return icons;
}

// A group whose own directory is damaged comes back as one failed image, so the numbering of
// the groups after it stays right.
IconGroup DecodeGroup(const PeResources& pe,
                      const std::map<std::uint32_t, PeResources::Entry>& icons,
                      const PeResources::Entry& g) {
    IconGroup group;
    try {
        const ByteReader dir(pe.Data(g), "icon group");
        const int count = std::min<int>(dir.U16(4), kMaxIconImages);
        dir.Need(6, 14 * static_cast<std::uint64_t>(count));
        for (int i = 0; i < count; ++i) {
            const std::uint64_t at = 6 + 14 * static_cast<std::uint64_t>(i);
            IconImage image;
            image.width = dir.U8(at) == 0 ? 256 : dir.U8(at);
            image.height = dir.U8(at + 1) == 0 ? 256 : dir.U8(at + 1);
            image.bitCount = dir.U16(at + 6);
            try {
                const auto found = icons.find(dir.U16(at + 12));
                if (found == icons.end()) {
                    throw ImageDecodeError("icon group: missing icon image");
                }
                image.image = DecodeIconResource(pe.Data(found->second));
                image.width = image.image.Width();
                image.height = image.image.Height();
            } catch (const ImageDecodeError& e) {
                image.error = e.what();
            }
            group.images.push_back(std::move(image));
        }
    } catch (const ImageDecodeError& e) {
        group.images.clear();
        group.images.push_back(IconImage{0, 0, 0, {}, e.what()});
    }
    return group;
}

} // namespace

std::vector<IconGroup> DecodePeIconGroups(ByteSpan file) {
    const PeResources pe(file);
    if (!pe.HasResources()) {
        return {};
    }
    const auto icons = IconsById(pe);
    std::vector<IconGroup> groups;
    for (const PeResources::Entry& g : pe.OfType(kRtGroupIcon)) {
        groups.push_back(DecodeGroup(pe, icons, g));
    }
    return groups;
}

std::optional<IconGroup> DecodePeIconGroup(ByteSpan file, int index) {
    const PeResources pe(file);
    if (!pe.HasResources() || index < 0) {
        return std::nullopt;
    }
    const auto groups = pe.OfType(kRtGroupIcon);
    if (static_cast<std::size_t>(index) >= groups.size()) {
        return std::nullopt;
    }
    return DecodeGroup(pe, IconsById(pe), groups[static_cast<std::size_t>(index)]);
}

} // namespace lv
