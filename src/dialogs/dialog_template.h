// In-memory extended dialog templates (DLGTEMPLATEEX) without items.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t kDS_SETFONT = 0x40;  // the template carries a font

struct DialogTemplateLayout {
  uint32_t style;
  uint32_t exStyle;
  int16_t x, y, cx, cy;  // dialog units; callers resize in pixels afterwards
  std::u16string title;
  // Used when style has DS_SETFONT.
  uint16_t pointSize;
  uint16_t weight;
  uint8_t italic;
  uint8_t charset;
  std::u16string face;
};

// The template's bytes: version 1, signature 0xFFFF, no menu, the default
// dialog class, no items. Hand data() to CreateDialogIndirectParamW.
std::vector<uint8_t> BuildDialogTemplate(const DialogTemplateLayout& layout);
