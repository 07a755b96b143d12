#include "platform/image/Image.h"

#include <algorithm>
#include <cmath>

namespace lv {

namespace {

std::uint8_t ToByte(float v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// One output pixel's share of the input: the first input index and a weight per input pixel.
struct Contributors {
    int first = 0;
    std::vector<float> weights;
};

float Hermite(float t) {
    t = std::fabs(t);
    return t < 1.0f ? (2.0f * t - 3.0f) * t * t + 1.0f : 0.0f;
}

// Contributor lists of one axis. When shrinking, the filter is stretched over 1/scale input
// pixels so every input pixel contributes; the weights are normalised so flat areas stay flat
// at the borders too.
std::vector<Contributors> BuildContributors(int srcSize, int dstSize) {
    std::vector<Contributors> list(static_cast<std::size_t>(dstSize));
    const float scale = static_cast<float>(dstSize) / static_cast<float>(srcSize);
    const float stretch = scale < 1.0f ? 1.0f / scale : 1.0f;
    const float support = 1.0f * stretch;
    for (int i = 0; i < dstSize; ++i) {
        // Pixel centres line up: the centre of output pixel i maps to this input position.
        const float centre = (static_cast<float>(i) + 0.5f) / scale - 0.5f;
        const int left = static_cast<int>(std::ceil(centre - support));
        const int right = static_cast<int>(std::floor(centre + support));
        Contributors& c = list[static_cast<std::size_t>(i)];
        c.first = std::clamp(left, 0, srcSize - 1);
        const int last = std::clamp(right, 0, srcSize - 1);
        c.weights.assign(static_cast<std::size_t>(last - c.first + 1), 0.0f);
        float sum = 0.0f;
        for (int j = left; j <= right; ++j) {
            const float w = Hermite((centre - static_cast<float>(j)) / stretch);
            const int k = std::clamp(j, 0, srcSize - 1) - c.first; // edge pixels repeat
            c.weights[static_cast<std::size_t>(k)] += w;
            sum += w;
        }
        if (sum <= 0.0f) { // cannot happen with support >= 1, but never divide by zero
            c.weights.assign(c.weights.size(), 0.0f);
            c.weights[0] = 1.0f;
            sum = 1.0f;
        }
        for (float& w : c.weights) {
            w /= sum;
        }
    }
    return list;
}

} // namespace

Image::Image(int width, int height, Rgba fill) {
    if (width < 0 || height < 0 || width > kMaxImageSide || height > kMaxImageSide ||
        std::int64_t{width} * height > kMaxImagePixels) {
        throw ImageDecodeError("Image too large: " + std::to_string(width) + " x " +
                               std::to_string(height) + " pixels");
    }
    if (width == 0 || height == 0) {
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
    Fill(fill);
}

Rgba Image::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return {};
    }
    const std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Image::SetPixel(int x, int y, Rgba colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    std::uint8_t* p = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
    p[3] = colour.a;
}

void Image::Fill(Rgba colour) {
    for (std::size_t i = 0; i < pixels_.size(); i += 4) {
        pixels_[i] = colour.r;
        pixels_[i + 1] = colour.g;
        pixels_[i + 2] = colour.b;
        pixels_[i + 3] = colour.a;
    }
}

Image Image::Scaled(int width, int height, ScaleFilter filter) const {
    Image out(width, height);
    if (out.IsNull() || IsNull()) {
        return out;
    }
    if (filter == ScaleFilter::Nearest) {
        for (int y = 0; y < height; ++y) {
            const int sy = static_cast<int>(std::int64_t{y} * 2 * height_ + height_) / (2 * height);
            for (int x = 0; x < width; ++x) {
                const int sx =
                    static_cast<int>((std::int64_t{x} * 2 * width_ + width_) / (2 * width));
                out.SetPixel(x, y, Pixel(sx, sy));
            }
        }
        return out;
    }

    // Horizontal pass into width x height_ premultiplied floats. Source rows are premultiplied
    // one at a time, so a large photo costs no more than one row of extra memory.
    const auto xContrib = BuildContributors(width_, width);
    std::vector<float> row(static_cast<std::size_t>(width_) * 4);
    std::vector<float> mid(static_cast<std::size_t>(width) * height_ * 4, 0.0f);
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* in = &pixels_[static_cast<std::size_t>(y) * width_ * 4];
        for (std::size_t i = 0; i < row.size(); i += 4) {
            const float a = in[i + 3] / 255.0f;
            row[i] = in[i] * a;
            row[i + 1] = in[i + 1] * a;
            row[i + 2] = in[i + 2] * a;
            row[i + 3] = in[i + 3];
        }
        float* outRow = &mid[static_cast<std::size_t>(y) * width * 4];
        for (int x = 0; x < width; ++x) {
            const Contributors& c = xContrib[static_cast<std::size_t>(x)];
            float acc[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < c.weights.size(); ++k) {
                const float* p = &row[(static_cast<std::size_t>(c.first) + k) * 4];
                for (int ch = 0; ch < 4; ++ch) {
                    acc[ch] += p[ch] * c.weights[k];
                }
            }
            std::copy(acc, acc + 4, outRow + static_cast<std::size_t>(x) * 4);
        }
    }

    // Vertical pass, then back to straight alpha.
    const auto yContrib = BuildContributors(height_, height);
    for (int y = 0; y < height; ++y) {
        const Contributors& c = yContrib[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (std::size_t k = 0; k < c.weights.size(); ++k) {
                const float* p = &mid[((static_cast<std::size_t>(c.first) + k) * width + x) * 4];
                for (int ch = 0; ch < 4; ++ch) {
                    acc[ch] += p[ch] * c.weights[k];
                }
            }
            const float a = std::clamp(acc[3], 0.0f, 255.0f);
            if (a < 0.5f) {
                out.SetPixel(x, y, {});
                continue;
            }
            const float un = 255.0f / a;
            out.SetPixel(
                x, y, {ToByte(acc[0] * un), ToByte(acc[1] * un), ToByte(acc[2] * un), ToByte(a)});
        }
    }
    return out;
}

Image Image::ComposedOver(Rgba background) const {
    Image out(width_, height_, Rgba{background.r, background.g, background.b, 255});
    out.Draw(*this, 0, 0);
    return out;
}

void Image::Draw(const Image& src, int x, int y) {
    for (int sy = 0; sy < src.height_; ++sy) {
        const int dy = y + sy;
        if (dy < 0 || dy >= height_) {
            continue;
        }
        for (int sx = 0; sx < src.width_; ++sx) {
            const int dx = x + sx;
            if (dx < 0 || dx >= width_) {
                continue;
            }
            const Rgba s = src.Pixel(sx, sy);
            if (s.a == 255) {
                SetPixel(dx, dy, s);
                continue;
            }
            if (s.a == 0) {
                continue;
            }
            const Rgba d = Pixel(dx, dy);
            const float sa = s.a / 255.0f;
            const float da = d.a / 255.0f * (1.0f - sa);
            const float oa = sa + da;
            auto mix = [&](std::uint8_t sc, std::uint8_t dc) {
                return ToByte((sc * sa + dc * da) / oa);
            };
            SetPixel(dx, dy, {mix(s.r, d.r), mix(s.g, d.g), mix(s.b, d.b), ToByte(oa * 255.0f)});
        }
    }
}

} // namespace lv
