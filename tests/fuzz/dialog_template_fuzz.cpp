#include <cstdint>
#include <cstdlib>

#include "dialogs/dialog_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // First half the title, second half the face, as UTF-16 units.
  std::u16string title, face;
  for (size_t i = 0; i + 1 < size; i += 2) {
    char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) continue;
    (i < size / 2 ? title : face) += unit;
  }
  DialogTemplateLayout layout{0x40000054, 0, 0, 0, 10, 10, title, 8, 400, 0, 0, face};
  std::vector<uint8_t> bytes = BuildDialogTemplate(layout);
  if (bytes.size() % 4 != 0) std::abort();
  if (bytes.size() < 30 + 2 * (title.size() + 1) + 6 + 2 * (face.size() + 1)) std::abort();
  return 0;
}
