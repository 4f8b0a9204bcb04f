// Encodes a picture as PNG without a compression library: stored deflate
// blocks are valid zlib data, and screenshots are small enough not to care.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

// rgb holds width * height pixels, 3 bytes each (red, green, blue), rows
// from the top. Returns the whole file's bytes; empty for a size of 0.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
