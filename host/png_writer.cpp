#include "png_writer.h"

namespace {

// Largest payload of one stored deflate block.
constexpr size_t kStoredBlockMax = 65535;

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& body) {
  PutBigEndian(out, static_cast<uint32_t>(body.size()));
  size_t typeStart = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out, Crc32(out.data() + typeStart, out.size() - typeStart));
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
  size_t offset = 0;
  do {
    size_t size = raw.size() - offset;
    if (size > kStoredBlockMax) size = kStoredBlockMax;
    bool last = offset + size == raw.size();
    out.push_back(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
    out.push_back(static_cast<uint8_t>(size));
    out.push_back(static_cast<uint8_t>(size >> 8));
    out.push_back(static_cast<uint8_t>(~size));
    out.push_back(static_cast<uint8_t>(~size >> 8));
    out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + size);
    offset += size;
  } while (offset < raw.size());
  PutBigEndian(out, Adler32(raw.data(), raw.size()));
  return out;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
  constexpr uint32_t kModulus = 65521;
  uint32_t a = 1, b = 0;
  for (size_t i = 0; i < size; ++i) {
    a = (a + data[i]) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb) {
  size_t rowBytes = static_cast<size_t>(width) * 3;
  if (width == 0 || height == 0 || rgb.size() < rowBytes * height) return {};

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter, no interlace
  PutChunk(out, "IHDR", header);

  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * height);
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // filter type None
    raw.insert(raw.end(), rgb.begin() + y * rowBytes, rgb.begin() + (y + 1) * rowBytes);
  }
  PutChunk(out, "IDAT", ZlibStored(raw));
  PutChunk(out, "IEND", {});
  return out;
}
