#include "image_builders.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace imgtest {

void Put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void Set32(Bytes& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.at(at + static_cast<std::size_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

namespace {

void PadRow(Bytes& out, std::size_t rowStart) {
    while ((out.size() - rowStart) % 4 != 0) {
        out.push_back(0);
    }
}

} // namespace

Bytes Dib(const DibSpec& s) {
    Bytes out;
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(s.width));
    const int stored = (s.iconMask ? 2 : 1) * s.height;
    Put32(out, static_cast<std::uint32_t>(s.topDown ? -stored : stored));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(s.bpp));
    Put32(out, 0); // BI_RGB
    Put32(out, 0);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(s.palette.size()));
    Put32(out, 0);
    for (const lv::Rgba& c : s.palette) {
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int row = 0; row < s.height; ++row) {
        const int y = s.topDown ? row : s.height - 1 - row;
        const std::size_t start = out.size();
        if (s.bpp <= 8) {
            unsigned acc = 0;
            int bits = 0;
            for (int x = 0; x < s.width; ++x) {
                acc = (acc << s.bpp) | static_cast<unsigned>(s.index(x, y));
                bits += s.bpp;
                if (bits == 8) {
                    out.push_back(static_cast<std::uint8_t>(acc));
                    acc = 0;
                    bits = 0;
                }
            }
            if (bits > 0) {
                out.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
            }
        } else {
            for (int x = 0; x < s.width; ++x) {
                const lv::Rgba c = s.colour(x, y);
                if (s.bpp == 16) {
                    Put16(out, ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3));
                } else {
                    out.insert(out.end(), {c.b, c.g, c.r});
                    if (s.bpp == 32) {
                        out.push_back(c.a);
                    }
                }
            }
        }
        PadRow(out, start);
    }
    if (s.iconMask) {
        for (int row = 0; row < s.height; ++row) {
            const int y = s.height - 1 - row;
            const std::size_t start = out.size();
            for (int x0 = 0; x0 < s.width; x0 += 8) {
                std::uint8_t byte = 0;
                for (int b = 0; b < 8 && x0 + b < s.width; ++b) {
                    if (s.transparent && s.transparent(x0 + b, y)) {
                        byte |= static_cast<std::uint8_t>(0x80 >> b);
                    }
                }
                out.push_back(byte);
            }
            PadRow(out, start);
        }
    }
    return out;
}

Bytes Bmp(const DibSpec& spec) {
    const Bytes dib = Dib(spec);
    Bytes out = {'B', 'M'};
    Put32(out, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(14 + 40 + 4 * spec.palette.size()));
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

Bytes Png(const lv::Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width());
    png.height = static_cast<png_uint_32>(image.Height());
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.Bytes(), 0, nullptr)) {
        throw std::runtime_error(png.message);
    }
    Bytes out(size);
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, image.Bytes(), 0, nullptr)) {
        throw std::runtime_error(png.message);
    }
    out.resize(size);
    return out;
}

Bytes Ico(const std::vector<IcoEntry>& entries, int type) {
    Bytes out;
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(type));
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const IcoEntry& e : entries) {
        out.push_back(static_cast<std::uint8_t>(e.width >= 256 ? 0 : e.width));
        out.push_back(static_cast<std::uint8_t>(e.height >= 256 ? 0 : e.height));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<std::uint32_t>(e.bpp));
        Put32(out, static_cast<std::uint32_t>(e.data.size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(e.data.size());
    }
    for (const IcoEntry& e : entries) {
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    return out;
}

namespace {

// A resource directory tree: inner nodes are directories, leaves carry data.
struct Node {
    std::uint32_t id = 0;
    Bytes data;
    std::vector<Node> children;
};

constexpr std::uint32_t kSectionRva = 0x1000;

std::size_t WriteDirectory(Bytes& out, const std::vector<Node>& children) {
    const std::size_t at = out.size();
    out.resize(at + 16 + 8 * children.size(), 0);
    out[at + 14] = static_cast<std::uint8_t>(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Node& child = children[i];
        const std::size_t entry = at + 16 + 8 * i;
        Set32(out, entry, child.id);
        if (!child.children.empty()) {
            const std::size_t sub = WriteDirectory(out, child.children);
            Set32(out, entry + 4, static_cast<std::uint32_t>(sub) | 0x80000000u);
        } else {
            const std::size_t leaf = out.size();
            Set32(out, entry + 4, static_cast<std::uint32_t>(leaf));
            out.resize(leaf + 16, 0);
            const std::size_t data = out.size();
            Set32(out, leaf, static_cast<std::uint32_t>(kSectionRva + data));
            Set32(out, leaf + 4, static_cast<std::uint32_t>(child.data.size()));
            out.insert(out.end(), child.data.begin(), child.data.end());
            while (out.size() % 4 != 0) {
                out.push_back(0);
            }
        }
    }
    return at;
}

Node Named(std::uint32_t id, Bytes data) {
    Node language{0x409, std::move(data), {}};
    return Node{id, {}, {language}};
}

} // namespace

Bytes Pe(const std::vector<PeIcon>& icons, const std::vector<std::vector<std::uint16_t>>& groups) {
    Node iconType{3, {}, {}};
    for (const PeIcon& icon : icons) {
        iconType.children.push_back(Named(icon.id, icon.image.data));
    }
    Node groupType{14, {}, {}};
    std::uint32_t groupId = 100;
    for (const auto& group : groups) {
        Bytes dir;
        Put16(dir, 0);
        Put16(dir, 1);
        Put16(dir, static_cast<std::uint32_t>(group.size()));
        for (std::uint16_t id : group) {
            const IcoEntry* e = nullptr;
            for (const PeIcon& icon : icons) {
                if (icon.id == id) {
                    e = &icon.image;
                }
            }
            dir.push_back(static_cast<std::uint8_t>(e ? e->width : 0));
            dir.push_back(static_cast<std::uint8_t>(e ? e->height : 0));
            dir.push_back(0);
            dir.push_back(0);
            Put16(dir, 1);
            Put16(dir, static_cast<std::uint32_t>(e ? e->bpp : 0));
            Put32(dir, static_cast<std::uint32_t>(e ? e->data.size() : 0));
            Put16(dir, id);
        }
        groupType.children.push_back(Named(groupId++, dir));
    }
    std::vector<Node> types;
    if (!iconType.children.empty()) {
        types.push_back(iconType);
    }
    if (!groupType.children.empty()) {
        types.push_back(groupType);
    }
    Bytes rsrc;
    WriteDirectory(rsrc, types);

    // The whole image is sized up front and the section copied into place: GCC 12 at -O3 misreads
    // a vector growing inside insert() as a copy past its end (-Warray-bounds).
    const std::size_t sectionAt = 0x200;
    Bytes out(sectionAt + rsrc.size(), 0);
    out[0] = 'M';
    out[1] = 'Z';
    Set32(out, 0x3C, 0x40);
    Set32(out, 0x40, 0x00004550);
    const std::size_t coff = 0x44;
    out[coff] = 0x4C; // i386
    out[coff + 1] = 0x01;
    out[coff + 2] = 1;    // one section
    out[coff + 16] = 224; // optional header size
    out[coff + 18] = 0x02;
    const std::size_t opt = coff + 20;
    out[opt] = 0x0B;
    out[opt + 1] = 0x01;
    Set32(out, opt + 92, 16);
    Set32(out, opt + 96 + 2 * 8, kSectionRva);
    Set32(out, opt + 96 + 2 * 8 + 4, static_cast<std::uint32_t>(rsrc.size()));
    const std::size_t section = opt + 224;
    std::memcpy(&out[section], ".rsrc", 5);
    Set32(out, section + 8, static_cast<std::uint32_t>(rsrc.size()));
    Set32(out, section + 12, kSectionRva);
    Set32(out, section + 16, static_cast<std::uint32_t>(rsrc.size()));
    Set32(out, section + 20, static_cast<std::uint32_t>(sectionAt));
    std::copy(rsrc.begin(), rsrc.end(), out.begin() + static_cast<std::ptrdiff_t>(sectionAt));
    return out;
}

lv::Image Picture(int width, int height, const std::function<lv::Rgba(int, int)>& colour) {
    lv::Image out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out.SetPixel(x, y, colour(x, y));
        }
    }
    return out;
}

} // namespace imgtest
