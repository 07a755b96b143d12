#pragma once

#include "platform/image/Image.h"

#include <cstdint>
#include <span>
#include <string>

namespace lv::imagedetail {

// Bounds-checked little-endian reads from a file held in memory. Every offset comes from the
// file, so every read is checked; a read past the end throws with `what` in the message.
class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> data, const char* what) : data_(data), what_(what) {}

    std::size_t Size() const { return data_.size(); }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    void Need(std::uint64_t offset, std::uint64_t count) const {
        if (!Has(offset, count)) {
            Fail("truncated");
        }
    }
    std::uint8_t U8(std::uint64_t at) const {
        Need(at, 1);
        return data_[at];
    }
    std::uint16_t U16(std::uint64_t at) const {
        Need(at, 2);
        return static_cast<std::uint16_t>(data_[at] | (data_[at + 1] << 8));
    }
    std::uint32_t U32(std::uint64_t at) const {
        Need(at, 4);
        return static_cast<std::uint32_t>(data_[at]) |
               (static_cast<std::uint32_t>(data_[at + 1]) << 8) |
               (static_cast<std::uint32_t>(data_[at + 2]) << 16) |
               (static_cast<std::uint32_t>(data_[at + 3]) << 24);
    }
    std::int32_t I32(std::uint64_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::span<const std::uint8_t> Sub(std::uint64_t offset, std::uint64_t count) const {
        Need(offset, count);
        return data_.subspan(offset, count);
    }
    [[noreturn]] void Fail(const std::string& why) const {
        throw ImageDecodeError(std::string(what_) + ": " + why);
    }

private:
    std::span<const std::uint8_t> data_;
    const char* what_;
};

} // namespace lv::imagedetail
