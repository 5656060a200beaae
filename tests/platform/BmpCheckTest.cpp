#include "platform/BmpCheck.h"

#include <gtest/gtest.h>

#include <vector>

namespace velt {
namespace {

void Put(std::vector<std::uint8_t>& bytes, size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A 3 x 2 bitmap with an information header; 8 bits a pixel has a 256-colour palette.
std::vector<std::uint8_t> Bmp(int bits, std::int32_t height = 2, std::uint32_t compression = 0) {
    std::uint32_t palette = bits <= 8 ? (1u << bits) * 4 : 0;
    std::uint32_t stride = ((3 * static_cast<std::uint32_t>(bits) + 31) / 32) * 4;
    std::uint32_t offset = 14 + 40 + palette + (compression == 3 ? 12 : 0);
    std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    std::vector<std::uint8_t> bytes(offset + stride * rows);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    Put(bytes, 10, offset, 4);
    Put(bytes, 14, 40, 4);
    Put(bytes, 18, 3, 4);
    Put(bytes, 22, static_cast<std::uint32_t>(height), 4);
    Put(bytes, 26, 1, 2);
    Put(bytes, 28, static_cast<std::uint32_t>(bits), 2);
    Put(bytes, 30, compression, 4);
    return bytes;
}

TEST(BmpCheck, CompleteBitmapsOfEveryDepthPass) {
    for (int bits : {1, 4, 8, 16, 24, 32}) EXPECT_TRUE(BmpIsComplete(Bmp(bits))) << bits;
    EXPECT_TRUE(BmpIsComplete(Bmp(24, -2)));   // top-down
    EXPECT_TRUE(BmpIsComplete(Bmp(32, 2, 3))); // bit fields
    EXPECT_FALSE(LooksLikeBmp(std::vector<std::uint8_t>{'G', 'I', 'F'}));
}

TEST(BmpCheck, EveryTruncationFails) {
    for (int bits : {8, 24}) {
        std::vector<std::uint8_t> bytes = Bmp(bits);
        for (size_t length = 0; length < bytes.size(); ++length)
            EXPECT_FALSE(BmpIsComplete(std::span(bytes).first(length))) << bits << " " << length;
    }
}

TEST(BmpCheck, LyingHeadersFail) {
    auto broken = [](auto change) {
        std::vector<std::uint8_t> bytes = Bmp(24);
        change(bytes);
        return BmpIsComplete(bytes);
    };
    EXPECT_FALSE(broken([](auto& b) { Put(b, 18, 0, 4); }));          // no width
    EXPECT_FALSE(broken([](auto& b) { Put(b, 18, 0x7FFFFFFF, 4); })); // huge width
    EXPECT_FALSE(broken([](auto& b) { Put(b, 22, 0x80000000, 4); })); // most negative height
    EXPECT_FALSE(broken([](auto& b) { Put(b, 22, 3, 4); }));          // more rows than bytes
    EXPECT_FALSE(broken([](auto& b) { Put(b, 26, 2, 2); }));          // planes
    EXPECT_FALSE(broken([](auto& b) { Put(b, 28, 7, 2); }));          // bits a pixel
    EXPECT_FALSE(broken([](auto& b) { Put(b, 30, 1, 4); }));          // run-length
    EXPECT_FALSE(broken([](auto& b) { Put(b, 10, 0xFFFFFFF0, 4); })); // pixels past the end
    EXPECT_FALSE(broken([](auto& b) { Put(b, 10, 20, 4); }));         // pixels inside the header
    EXPECT_FALSE(broken([](auto& b) { Put(b, 14, 0xFFFFFFFF, 4); })); // header larger than the file
    std::vector<std::uint8_t> palette = Bmp(8);
    Put(palette, 46, 257, 4); // more colours than 8 bits hold
    EXPECT_FALSE(BmpIsComplete(palette));
}

} // namespace
} // namespace velt
