#include "imaging/Inflate.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>
#include <zlib.h>

namespace velt {
namespace {

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data, int level, int strategy) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, 15, 9, strategy);
    std::vector<uint8_t> out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Text-like data with repeats near and far, and a stretch of noise.
std::vector<uint8_t> SampleData(size_t size, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> data;
    while (data.size() < size) {
        switch (rng() % 4) {
        case 0:
            for (int i = 0; i < 40; ++i) data.push_back(static_cast<uint8_t>('a' + rng() % 6));
            break;
        case 1:
            if (data.size() > 300) {
                size_t from = data.size() - 1 - rng() % 300, n = 3 + rng() % 250;
                for (size_t i = 0; i < n; ++i) data.push_back(data[from + i]);
            }
            break;
        case 2: data.insert(data.end(), 1 + rng() % 70, static_cast<uint8_t>(rng())); break;
        default:
            for (int i = 0; i < 20; ++i) data.push_back(static_cast<uint8_t>(rng()));
        }
    }
    data.resize(size);
    return data;
}

TEST(Inflate, DecodesWhatZlibWritesAtEveryLevelAndStrategy) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{1000}, size_t{300000}}) {
        std::vector<uint8_t> data = SampleData(size, static_cast<uint32_t>(size));
        for (int level : {0, 1, 6, 9}) {
            for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE, Z_FILTERED}) {
                SCOPED_TRACE(testing::Message()
                             << size << " bytes, level " << level << " strategy " << strategy);
                std::vector<uint8_t> packed = Deflate(data, level, strategy);
                std::vector<uint8_t> out(size + 1, 0xCC);
                InflateResult result = InflateZlibStream(packed, out);
                ASSERT_TRUE(result.ok);
                ASSERT_EQ(result.produced, size);
                EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin()));
            }
        }
    }
}

TEST(Inflate, FailsWhenTheOutputWouldOverflowOrTheInputRunsOut) {
    std::vector<uint8_t> data = SampleData(20000, 5);
    std::vector<uint8_t> packed = Deflate(data, 9, Z_DEFAULT_STRATEGY);
    std::vector<uint8_t> small(data.size() - 1);
    EXPECT_FALSE(InflateZlibStream(packed, small).ok);
    std::vector<uint8_t> out(data.size());
    // Without the 4-byte Adler-32 trailer the stream is still whole; any shorter it is not.
    EXPECT_TRUE(InflateZlibStream(std::span(packed).first(packed.size() - 4), out).ok);
    for (size_t length = 0; length < packed.size() - 4; length += 1 + length / 50) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(InflateZlibStream(std::span(packed).first(length), out).ok);
    }
}

// Hand-made blocks, written after a two-byte zlib header that the inflater skips unread.
TEST(Inflate, RejectsMalformedBlocks) {
    std::vector<uint8_t> out(64);
    // Stored, final: LEN 5 with a check value that is not its complement.
    const uint8_t storedBad[] = {0x78, 0x9C, 0x01, 0x05, 0x00, 0xFA, 0xFE, 1, 2, 3, 4, 5};
    EXPECT_FALSE(InflateZlibStream(storedBad, out).ok);
    const uint8_t storedGood[] = {0x78, 0x9C, 0x01, 0x05, 0x00, 0xFA, 0xFF, 1, 2, 3, 4, 5};
    InflateResult good = InflateZlibStream(storedGood, out);
    EXPECT_TRUE(good.ok);
    EXPECT_EQ(good.produced, 5u);
    // Block type 3 does not exist.
    const uint8_t reserved[] = {0x78, 0x9C, 0x07, 0x00};
    EXPECT_FALSE(InflateZlibStream(reserved, out).ok);
    // Fixed Huffman, final: a length-3 match (code 257 = 0000001) at distance 1 before any
    // output exists. Bits from the low end: 1 (final), 10 (fixed), 0000001, then distance 00000.
    const uint8_t farBack[] = {0x78, 0x9C, 0x03, 0x02, 0x00, 0x00};
    EXPECT_FALSE(InflateZlibStream(farBack, out).ok);
    // Dynamic block whose code lengths over-subscribe: HCLEN codes all of length 1.
    const uint8_t overSubscribed[] = {0x78, 0x9C, 0x05, 0xE0, 0xFF, 0xFF,
                                      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_FALSE(InflateZlibStream(overSubscribed, out).ok);
    const uint8_t headerOnly[] = {0x78};
    EXPECT_FALSE(InflateZlibStream(headerOnly, out).ok);
}

TEST(Inflate, StopsAfterTheFinalBlock) {
    std::vector<uint8_t> data = SampleData(5000, 11);
    std::vector<uint8_t> packed = Deflate(data, 6, Z_DEFAULT_STRATEGY);
    packed.insert(packed.end(), 100, 0xFF); // trailing bytes are never read as blocks
    std::vector<uint8_t> out(data.size());
    InflateResult result = InflateZlibStream(packed, out);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.produced, data.size());
}

} // namespace
} // namespace velt
