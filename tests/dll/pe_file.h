// Reading a PE file (a DLL) from its bytes, without loading it: the few
// facts that a host relies on before it ever calls the library.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

struct PeFacts {
  uint16_t machine = 0;          // IMAGE_FILE_MACHINE_I386 0x14C, _AMD64 0x8664
  uint16_t characteristics = 0;  // IMAGE_FILE_DLL 0x2000
  uint32_t timeDateStamp = 0;
  std::set<std::string> exportNames;
  uint32_t exportFunctionCount = 0;   // named or not
  std::set<std::string> importedDlls;  // lower-cased
  // From the version resource: the fixed file version as "a.b.c.d", and the
  // first string table's texts by key.
  std::string fixedFileVersion;
  std::map<std::string, std::string> versionStrings;
};

// Fills facts from a whole PE file's bytes; false with a reason in error when
// the bytes are no PE image or a table points outside them.
bool ReadPeFacts(const std::vector<uint8_t>& file, PeFacts* facts, std::string* error);
