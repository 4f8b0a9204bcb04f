#include "dialogs/dialog_template.h"

namespace {

class TemplateWriter {
 public:
  // Little-endian, as the template is read on Windows.
  void Word(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void Dword(uint32_t v) {
    Word(static_cast<uint16_t>(v));
    Word(static_cast<uint16_t>(v >> 16));
  }
  void Byte(uint8_t v) { bytes_.push_back(v); }
  void Text(const std::u16string& text) {  // zero-terminated UTF-16
    for (char16_t c : text) Word(static_cast<uint16_t>(c));
    Word(0);
  }
  std::vector<uint8_t> Take() {
    while (bytes_.size() % 4) bytes_.push_back(0);  // DWORD-aligned end
    return std::move(bytes_);
  }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

std::vector<uint8_t> BuildDialogTemplate(const DialogTemplateLayout& layout) {
  TemplateWriter w;
  w.Word(1);                      // dlgVer
  w.Word(0xFFFF);                 // signature: extended template
  w.Dword(0);                     // helpID
  w.Dword(layout.exStyle);
  w.Dword(layout.style);
  w.Word(0);                      // cDlgItems
  w.Word(static_cast<uint16_t>(layout.x));
  w.Word(static_cast<uint16_t>(layout.y));
  w.Word(static_cast<uint16_t>(layout.cx));
  w.Word(static_cast<uint16_t>(layout.cy));
  w.Word(0);                      // no menu
  w.Word(0);                      // the default dialog class
  w.Text(layout.title);
  if (layout.style & kDS_SETFONT) {
    w.Word(layout.pointSize);
    w.Word(layout.weight);
    w.Byte(layout.italic);
    w.Byte(layout.charset);
    w.Text(layout.face);
  }
  return w.Take();
}
