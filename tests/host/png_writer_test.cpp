// The screenshot encoder: checksums against published check values, and a
// reader of stored-block PNGs that takes the files apart again.
#include <gtest/gtest.h>

#include <cstring>

#include "png_writer.h"

namespace {

uint32_t BigEndian(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

struct Chunk {
  std::string type;
  std::vector<uint8_t> body;
};

// Splits a PNG into chunks, failing the test on a bad signature or CRC.
std::vector<Chunk> ReadChunks(const std::vector<uint8_t>& png) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<Chunk> chunks;
  EXPECT_GE(png.size(), 8u);
  EXPECT_EQ(std::memcmp(png.data(), kSignature, 8), 0);
  size_t at = 8;
  while (at + 12 <= png.size()) {
    uint32_t length = BigEndian(png, at);
    Chunk chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                std::vector<uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)};
    EXPECT_EQ(BigEndian(png, at + 8 + length), Crc32(png.data() + at + 4, length + 4)) << chunk.type;
    chunks.push_back(chunk);
    at += 12 + length;
  }
  EXPECT_EQ(at, png.size());
  return chunks;
}

// Undoes zlib stored blocks; counts blocks and checks LEN/NLEN and Adler-32.
std::vector<uint8_t> Unstore(const std::vector<uint8_t>& z, int* blocks) {
  std::vector<uint8_t> raw;
  EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);  // zlib header check bits
  size_t at = 2;
  bool last = false;
  *blocks = 0;
  while (!last) {
    last = z[at] & 1;
    EXPECT_EQ(z[at] & 6, 0);  // stored
    uint16_t len = z[at + 1] | (z[at + 2] << 8), nlen = z[at + 3] | (z[at + 4] << 8);
    EXPECT_EQ(uint16_t(~len), nlen);
    raw.insert(raw.end(), z.begin() + at + 5, z.begin() + at + 5 + len);
    at += 5 + len;
    ++*blocks;
  }
  EXPECT_EQ(BigEndian(z, at), Adler32(raw.data(), raw.size()));
  EXPECT_EQ(at + 4, z.size());
  return raw;
}

std::vector<uint8_t> Bytes(const char* text) { return std::vector<uint8_t>(text, text + std::strlen(text)); }

}  // namespace

TEST(PngChecksums, MatchTheirPublishedCheckValues) {
  std::vector<uint8_t> digits = Bytes("123456789");
  EXPECT_EQ(Crc32(digits.data(), digits.size()), 0xCBF43926u);
  std::vector<uint8_t> iend = Bytes("IEND");
  EXPECT_EQ(Crc32(iend.data(), iend.size()), 0xAE426082u);
  std::vector<uint8_t> wiki = Bytes("Wikipedia");
  EXPECT_EQ(Adler32(wiki.data(), wiki.size()), 0x11E60398u);
  EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(PngEncoding, SmallPictureRoundTrips) {
  std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  std::vector<Chunk> chunks = ReadChunks(EncodePng(3, 2, rgb));
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].type, "IHDR");
  EXPECT_EQ(BigEndian(chunks[0].body, 0), 3u);
  EXPECT_EQ(BigEndian(chunks[0].body, 4), 2u);
  EXPECT_EQ(std::vector<uint8_t>(chunks[0].body.begin() + 8, chunks[0].body.end()),
            (std::vector<uint8_t>{8, 2, 0, 0, 0}));
  EXPECT_EQ(chunks[1].type, "IDAT");
  EXPECT_EQ(chunks[2].type, "IEND");
  EXPECT_TRUE(chunks[2].body.empty());
  int blocks = 0;
  std::vector<uint8_t> raw = Unstore(chunks[1].body, &blocks);
  EXPECT_EQ(blocks, 1);
  std::vector<uint8_t> expected = {0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(raw, expected);
}

TEST(PngEncoding, LargePictureSpansSeveralStoredBlocks) {
  const uint32_t width = 300, height = 200;  // 180,200 raw bytes: three blocks
  std::vector<uint8_t> rgb(width * height * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7);
  std::vector<Chunk> chunks = ReadChunks(EncodePng(width, height, rgb));
  ASSERT_EQ(chunks.size(), 3u);
  int blocks = 0;
  std::vector<uint8_t> raw = Unstore(chunks[1].body, &blocks);
  EXPECT_EQ(blocks, 3);
  ASSERT_EQ(raw.size(), (width * 3 + 1) * height);
  for (uint32_t y = 0; y < height; ++y) {
    ASSERT_EQ(raw[y * (width * 3 + 1)], 0) << y;
    ASSERT_EQ(std::memcmp(&raw[y * (width * 3 + 1) + 1], &rgb[y * width * 3], width * 3), 0) << y;
  }
}

TEST(PngEncoding, EmptyOrShortPicturesGiveNoFile) {
  EXPECT_TRUE(EncodePng(0, 5, {}).empty());
  EXPECT_TRUE(EncodePng(2, 2, std::vector<uint8_t>(11)).empty());
}
