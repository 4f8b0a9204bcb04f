#include "pe_file.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr uint16_t kOptionalMagicPe32 = 0x10B;
constexpr uint16_t kOptionalMagicPe32Plus = 0x20B;
constexpr int kDirectoryExport = 0, kDirectoryImport = 1, kDirectoryResource = 2;
constexpr uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr uint32_t kResourceSubdirectory = 0x80000000;

// Bounds-checked little-endian reads; a read outside the file throws, and
// ReadPeFacts turns that into an error.
struct OutOfBounds {};

class Image {
 public:
  explicit Image(const std::vector<uint8_t>& bytes) : b_(bytes) {}
  uint16_t U16(size_t at) const { Need(at, 2); return static_cast<uint16_t>(b_[at] | b_[at + 1] << 8); }
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  std::string Ansi(size_t at) const {
    std::string text;
    for (Need(at, 1); b_[at]; Need(++at, 1)) text += static_cast<char>(b_[at]);
    return text;
  }
  // UTF-16 text of ASCII characters (all that a version resource holds here).
  std::string Utf16(size_t at, size_t* end) const {
    std::string text;
    for (uint16_t c; (c = U16(at)) != 0; at += 2) text += c < 0x80 ? static_cast<char>(c) : '?';
    *end = at + 2;
    return text;
  }
  // File offset of a relative virtual address, through the section table.
  size_t Offset(uint32_t rva) const {
    for (const Section& s : sections_)
      if (rva >= s.rva && rva < s.rva + std::max(s.virtualSize, s.rawSize))
        return s.rawOffset + (rva - s.rva);
    throw OutOfBounds{};
  }
  void AddSection(uint32_t rva, uint32_t virtualSize, uint32_t rawOffset, uint32_t rawSize) {
    sections_.push_back({rva, virtualSize, rawOffset, rawSize});
  }

 private:
  struct Section { uint32_t rva, virtualSize, rawOffset, rawSize; };
  void Need(size_t at, size_t n) const {
    if (at > b_.size() || n > b_.size() - at) throw OutOfBounds{};
  }
  const std::vector<uint8_t>& b_;
  std::vector<Section> sections_;
};

size_t Align4(size_t at) { return (at + 3) & ~size_t{3}; }

void ReadExports(const Image& image, uint32_t rva, PeFacts* facts) {
  size_t dir = image.Offset(rva);
  facts->exportFunctionCount = image.U32(dir + 20);
  uint32_t names = image.U32(dir + 24);
  size_t nameTable = image.Offset(image.U32(dir + 32));
  for (uint32_t i = 0; i < names; ++i)
    facts->exportNames.insert(image.Ansi(image.Offset(image.U32(nameTable + 4 * i))));
}

void ReadImports(const Image& image, uint32_t rva, PeFacts* facts) {
  for (size_t d = image.Offset(rva); image.U32(d + 12) != 0; d += 20) {
    std::string name = image.Ansi(image.Offset(image.U32(d + 12)));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    facts->importedDlls.insert(name);
  }
}

// The first leaf under a resource directory entry, following first entries.
size_t FirstLeaf(const Image& image, size_t root, size_t directory) {
  for (int depth = 0; depth < 3; ++depth) {
    if (image.U16(directory + 12) + image.U16(directory + 14) == 0) throw OutOfBounds{};
    uint32_t target = image.U32(directory + 16 + 4);
    if (!(target & kResourceSubdirectory)) return root + target;
    directory = root + (target & ~kResourceSubdirectory);
  }
  throw OutOfBounds{};
}

// VS_VERSIONINFO: the fixed part, then StringFileInfo > first StringTable > strings.
void ReadVersion(const Image& image, uint32_t rva, PeFacts* facts) {
  size_t root = image.Offset(rva);
  size_t typeEntry = 0;
  uint16_t named = image.U16(root + 12), ids = image.U16(root + 14);
  for (uint16_t i = 0; i < named + ids; ++i) {
    size_t entry = root + 16 + 8 * i;
    if (image.U32(entry) == kResourceTypeVersion) typeEntry = entry;
  }
  if (!typeEntry) return;
  uint32_t target = image.U32(typeEntry + 4);
  if (!(target & kResourceSubdirectory)) return;
  size_t leaf = FirstLeaf(image, root, root + (target & ~kResourceSubdirectory));
  size_t info = image.Offset(image.U32(leaf));
  size_t infoEnd = info + image.U16(info);
  size_t at;
  image.Utf16(info + 6, &at);  // "VS_VERSION_INFO"
  size_t fixed = Align4(at);
  uint32_t ms = image.U32(fixed + 8), ls = image.U32(fixed + 12);
  facts->fixedFileVersion = std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." +
                            std::to_string(ls >> 16) + "." + std::to_string(ls & 0xFFFF);
  for (size_t child = Align4(fixed + image.U16(info + 2)); child < infoEnd;) {
    uint16_t childLength = image.U16(child);
    if (childLength == 0) break;
    size_t after;
    if (image.Utf16(child + 6, &after) == "StringFileInfo") {
      size_t table = Align4(after);
      size_t tableEnd = table + image.U16(table);
      image.Utf16(table + 6, &after);  // the language and code page, e.g. "040904B0"
      for (size_t s = Align4(after); s < tableEnd;) {
        uint16_t length = image.U16(s);
        if (length == 0) break;
        size_t valueAt;
        std::string key = image.Utf16(s + 6, &valueAt);
        size_t ignored;
        facts->versionStrings[key] = image.U16(s + 2) ? image.Utf16(Align4(valueAt), &ignored) : "";
        s = Align4(s + length);
      }
    }
    child = Align4(child + childLength);
  }
}

}  // namespace

bool ReadPeFacts(const std::vector<uint8_t>& file, PeFacts* facts, std::string* error) {
  *facts = PeFacts{};
  try {
    Image image(file);
    if (image.U16(0) != 0x5A4D) {  // "MZ"
      *error = "no MZ header";
      return false;
    }
    size_t pe = image.U32(0x3C);
    if (image.U32(pe) != 0x00004550) {  // "PE\0\0"
      *error = "no PE signature";
      return false;
    }
    size_t header = pe + 4;
    facts->machine = image.U16(header);
    uint16_t sectionCount = image.U16(header + 2);
    facts->timeDateStamp = image.U32(header + 4);
    uint16_t optionalSize = image.U16(header + 16);
    facts->characteristics = image.U16(header + 18);
    size_t optional = header + 20;
    uint16_t magic = image.U16(optional);
    if (magic != kOptionalMagicPe32 && magic != kOptionalMagicPe32Plus) {
      *error = "unknown optional header";
      return false;
    }
    size_t directories = optional + (magic == kOptionalMagicPe32 ? 96 : 112);
    for (size_t s = optional + optionalSize, i = 0; i < sectionCount; ++i, s += 40)
      image.AddSection(image.U32(s + 12), image.U32(s + 8), image.U32(s + 20), image.U32(s + 16));
    auto directory = [&](int index) { return image.U32(directories + 8 * index); };
    if (uint32_t rva = directory(kDirectoryExport)) ReadExports(image, rva, facts);
    if (uint32_t rva = directory(kDirectoryImport)) ReadImports(image, rva, facts);
    if (uint32_t rva = directory(kDirectoryResource)) ReadVersion(image, rva, facts);
  } catch (const OutOfBounds&) {
    *error = "a table points outside the file";
    return false;
  }
  return true;
}
