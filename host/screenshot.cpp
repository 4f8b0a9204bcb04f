#include "screenshot.h"

#include <cstdio>
#include <vector>

#include "png_writer.h"

namespace {

// Owners of the GDI objects of one capture, released in reverse order.
struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() { if (dc) ReleaseDC(nullptr, dc); }
};
struct MemoryDc {
  HDC dc;
  explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
  ~MemoryDc() { if (dc) DeleteDC(dc); }
};
struct Bitmap {
  HBITMAP bitmap = nullptr;
  ~Bitmap() { if (bitmap) DeleteObject(bitmap); }
};

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool SaveWindowPng(HWND window, const std::string& path) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  ScreenDc screen;
  if (!screen.dc) return false;
  MemoryDc memory(screen.dc);
  if (!memory.dc) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top, as PNG wants them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap;
  bitmap.bitmap = CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap.bitmap || !bits) return false;
  HGDIOBJ previous = SelectObject(memory.dc, bitmap.bitmap);
  BOOL copied = BitBlt(memory.dc, 0, 0, width, height, screen.dc, rect.left, rect.top,
                       SRCCOPY | CAPTUREBLT);
  GdiFlush();
  SelectObject(memory.dc, previous);
  if (!copied) return false;

  const auto* bgrx = static_cast<const uint8_t*>(bits);
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
    rgb[i * 3] = bgrx[i * 4 + 2];
    rgb[i * 3 + 1] = bgrx[i * 4 + 1];
    rgb[i * 3 + 2] = bgrx[i * 4];
  }
  return WriteFileBytes(path, EncodePng(width, height, rgb));
}
