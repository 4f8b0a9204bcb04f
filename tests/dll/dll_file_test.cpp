// The built DLL as a file, checked without Wine on every machine: the names a
// host looks up, the DLLs it pulls in, its machine, its size and its version
// resource. Usage: dll_file_test VelDialogs.dll 32|64 VERSION
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "pe_file.h"

namespace {

std::string g_path;
int g_lane = 0;
std::string g_version;

constexpr uint16_t kMachineI386 = 0x14C, kMachineAmd64 = 0x8664;
constexpr uint16_t kCharacteristicDll = 0x2000;
constexpr size_t kMostBytes = 128 * 1024;

const std::set<std::string> kActionAndPaintingNames = {
    "XR_DIALOGS_FONTSELECTOR", "XR_DIALOGS_COLORSELECTOR", "XR_DIALOGS_FOLDERSELECTOR",
    "XR_DIALOGS_CALENDARSTART", "XR_DIALOGS_CALENDARSTOP", "XR_DIALOGS_OPENFILE",
    "XR_DIALOGS_SAVEFILE", "CTRLPROC"};

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class DllFile : public ::testing::Test {
 protected:
  void SetUp() override {
    bytes_ = ReadFile(g_path);
    ASSERT_FALSE(bytes_.empty()) << "cannot read " << g_path;
    std::string error;
    ASSERT_TRUE(ReadPeFacts(bytes_, &facts_, &error)) << g_path << ": " << error;
  }
  std::vector<uint8_t> bytes_;
  PeFacts facts_;
};

}  // namespace

TEST_F(DllFile, IsADllForItsLanesMachine) {
  EXPECT_EQ(facts_.machine, g_lane == 64 ? kMachineAmd64 : kMachineI386);
  EXPECT_TRUE(facts_.characteristics & kCharacteristicDll);
  EXPECT_EQ(facts_.timeDateStamp, 0u) << "a time stamp would make two builds differ";
  EXPECT_LE(bytes_.size(), kMostBytes);
}

TEST_F(DllFile, ExportsTheHostEntryPointsUnderTheLanesNamesAndNothingElse) {
  std::set<std::string> expected = kActionAndPaintingNames;
  if (g_lane == 64) {
    expected.insert({"hsRegisterPlugIn", "hsInitPlugIn", "hsRegisterScriptProcessor",
                     "hsRegisterInterfaceAccess", "hsMessage", "hsExecAction", "hsEditAction"});
  } else {
    // The standard-call decoration carries each entry point's argument bytes.
    expected.insert({"_hsRegisterPlugIn@16", "_hsInitPlugIn@16", "_hsRegisterScriptProcessor@4",
                     "_hsRegisterInterfaceAccess@4", "_hsMessage@8", "_hsExecAction@8",
                     "_hsEditAction@8"});
  }
  EXPECT_EQ(facts_.exportNames, expected);
  EXPECT_EQ(facts_.exportFunctionCount, expected.size()) << "no export by ordinal only";
}

TEST_F(DllFile, ImportsOnlySystemDlls) {
  const std::set<std::string> allowed = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                         "comdlg32.dll", "comctl32.dll", "shell32.dll",
                                         "ole32.dll",    "msvcrt.dll"};
  EXPECT_FALSE(facts_.importedDlls.empty());
  for (const std::string& dll : facts_.importedDlls) EXPECT_TRUE(allowed.count(dll)) << dll;
}

TEST_F(DllFile, VersionResourceNamesTheProductAndTheProjectVersion) {
  EXPECT_EQ(facts_.fixedFileVersion, g_version + ".0");
  EXPECT_EQ(facts_.versionStrings["ProductName"], "VelDialogs");
  EXPECT_EQ(facts_.versionStrings["FileDescription"], "Font,Color & Folder Dialogs");
  EXPECT_EQ(facts_.versionStrings["FileVersion"], g_version);
  EXPECT_EQ(facts_.versionStrings["OriginalFilename"], "VelDialogs.dll");
}

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4 || (std::string(argv[2]) != "32" && std::string(argv[2]) != "64")) {
    std::fprintf(stderr, "usage: dll_file_test VelDialogs.dll 32|64 VERSION\n");
    return 2;
  }
  g_path = argv[1];
  g_lane = std::stoi(argv[2]);
  g_version = argv[3];
  return RUN_ALL_TESTS();
}
