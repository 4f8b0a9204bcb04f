// The plug-in's boundary: export and import tables, registration, identity
// texts, callbacks and the dispatcher, through the real DLL.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>

#include "rig/global_memory_log.h"
#include "rig/host_cells.h"
#include "rig/pe_image.h"
#include "rig/plugin.h"
#include "rig/recorder.h"


TEST(Boundary, ExportsExactlyTheHostEntryPointsActionsAndCtrlProc) {
  HMODULE module = Plugin::Get().module;
  ASSERT_NE(module, nullptr);
#ifdef _WIN64
  std::set<std::string> expected = {
      "hsRegisterPlugIn", "hsInitPlugIn", "hsRegisterScriptProcessor", "hsRegisterInterfaceAccess",
      "hsMessage", "hsExecAction", "hsEditAction",
#else
  std::set<std::string> expected = {
      "_hsRegisterPlugIn@16", "_hsInitPlugIn@16", "_hsRegisterScriptProcessor@4",
      "_hsRegisterInterfaceAccess@4", "_hsMessage@8", "_hsExecAction@8", "_hsEditAction@8",
#endif
      "XR_DIALOGS_FONTSELECTOR", "XR_DIALOGS_COLORSELECTOR", "XR_DIALOGS_FOLDERSELECTOR",
      "XR_DIALOGS_CALENDARSTART", "XR_DIALOGS_CALENDARSTOP", "XR_DIALOGS_OPENFILE",
      "XR_DIALOGS_SAVEFILE", "CTRLPROC"};
  EXPECT_EQ(ExportedNames(module), expected);
  EXPECT_EQ(ExportedFunctionCount(module), expected.size()) << "no export by ordinal only";
}

TEST(Boundary, ImportsOnlySystemDlls) {
  std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll",
                                   "comctl32.dll", "shell32.dll", "ole32.dll", "msvcrt.dll"};
  std::set<std::string> imported = ImportedDlls(Plugin::Get().module);
  EXPECT_FALSE(imported.empty());
  for (const std::string& dll : imported) EXPECT_TRUE(allowed.count(dll)) << dll;
}

TEST(Boundary, IsADllForThisProgramsMachine) {
  const IMAGE_NT_HEADERS* nt = NtHeaders(Plugin::Get().module);
#ifdef _WIN64
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
#else
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
#endif
  EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);
}

TEST(Registration, SevenActionsInIdOrderWithExactTexts) {
  Plugin& p = Plugin::Get();
  ClearHostCalls();
  p.registerPlugIn(RecordAddAction, nullptr, nullptr, RecordSetVar);
  std::vector<HostCall> calls = HostCalls();
  ASSERT_EQ(calls.size(), 7u);
  const char* names[] = {"xr_Dialogs_FontSelector", "xr_Dialogs_ColorSelector",
                         "xr_Dialogs_FolderSelector", "xr_Dialogs_CalendarStart",
                         "xr_Dialogs_CalendarStop", "xr_Dialogs_OpenFile", "xr_Dialogs_SaveFile"};
  const size_t hintLengths[] = {99, 73, 98, 99, 42, 88, 97};
  const uint32_t counts[] = {5, 2, 4, 4, 0, 4, 4};
  for (int i = 0; i < 7; ++i) {
    const HostCall& c = calls[i];
    EXPECT_EQ(c.kind, HostCallKind::AddAction);
    EXPECT_EQ(c.number, i + 1);
    EXPECT_EQ(c.a.text, names[i]);
    EXPECT_EQ(c.b.text.size(), hintLengths[i]) << c.b.text;
    EXPECT_EQ(c.count, counts[i]);  // the whole 32-bit slot: upper bits zero
    EXPECT_FALSE(c.c.null);
    EXPECT_EQ(c.c.text, std::string(counts[i], '\x01'));
  }
  EXPECT_EQ(calls[0].b.text,
            "Open the Font Selector Dialog \r\nxr_Dialogs_FontSelector \"FontName\" \"Points\" "
            "\"Style\" \"Pos_X\" \"Pos_Y\"");
  EXPECT_EQ(calls[1].b.text,
            "Open the Color Selector Dialog \r\nxr_Dialogs_ColorSelector \"Pos_X\" \"Pos_Y\"");
  EXPECT_EQ(calls[2].b.text,
            "Open the Folder Selector Dialog \r\nxr_Dialogs_FolderSelector \"Title\" "
            "\"Start_Folder\" \"Pos_X\" \"Pos_Y\"");
  EXPECT_EQ(calls[3].b.text,
            "Start Calendar \r\nXR_Dialogs_CalendarStart \"[Handle_rect]\" \"[PreviousDate]\" "
            "\"Date Style\" \"VelScript\"");
  EXPECT_EQ(calls[4].b.text, "Stop Calendar \r\nXR_Dialogs_CalendarStop \"\"");
  EXPECT_EQ(calls[5].b.text,
            "Launchs the Open File Dialog \r\nXR_Dialogs_OpenFile \"Title\" \"Folder\" "
            "\"Filters\" \"FileName\"");
  EXPECT_EQ(calls[6].b.text,
            "Launchs the Save File Dialog \r\nXR_Dialogs_SaveFile \"Title\" \"Folder\" "
            "\"FileName\" \"FileMask (*.JPG)\"");
}

TEST(Identity, InitHandsOverThreeFreshZeroFilledBlocks) {
  char* name = NewHostBlock("old name that is long");
  char* author = nullptr;
  char* description = nullptr;
  Plugin::Get().initPlugIn(12345, &name, &author, &description);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(CellSize(name), 11u);
  EXPECT_EQ(std::string(name, 11), std::string("VelDialogs\0", 11));
  ASSERT_NE(description, nullptr);
  EXPECT_EQ(CellSize(description), 28u);
  EXPECT_EQ(std::string(description), "Font,Color & Folder Dialogs");
  ASSERT_NE(author, nullptr);
  EXPECT_GT(std::string(author).size(), 0u);
  EXPECT_EQ(CellSize(author), std::string(author).size() + 1);
  std::vector<char*> cells = {name, author, description};
  FreeCells(cells);
}

// A hand-back must never leave the host without its text: the new block is
// made before the old one goes, and a refused allocation keeps the old text.
TEST(Identity, HandBackAllocatesBeforeFreeingAndKeepsTheOldTextWhenMemoryRunsOut) {
  GlobalMemoryLog log(Plugin::Get().module);
  ASSERT_TRUE(log.installed());
  char* name = NewHostBlock("old name");
  char* oldName = name;
  char* author = nullptr;
  char* description = nullptr;
  Plugin::Get().initPlugIn(0, &name, &author, &description);
  const std::vector<GlobalMemoryCall>& calls = log.calls();
  ASSERT_EQ(calls.size(), 4u);  // three blocks made, one replaced block freed
  EXPECT_EQ(calls[0].kind, GlobalMemoryCall::Alloc);
  EXPECT_EQ(calls[0].flags, static_cast<UINT>(GMEM_ZEROINIT));
  EXPECT_EQ(calls[0].size, 11u);
  EXPECT_EQ(calls[1].kind, GlobalMemoryCall::Free);
  EXPECT_EQ(calls[1].handle, reinterpret_cast<HGLOBAL>(oldName));
  EXPECT_EQ(calls[2].kind, GlobalMemoryCall::Alloc);
  EXPECT_EQ(calls[3].kind, GlobalMemoryCall::Alloc);
  EXPECT_EQ(calls[3].size, 28u);
  std::vector<char*> cells = {name, author, description};
  EXPECT_EQ(HandBackFaults(calls, {oldName, nullptr, nullptr}, cells), "");

  // A second call replaces the library's own blocks, each exactly once.
  const std::vector<char*> first = cells;
  size_t seen = calls.size();
  Plugin::Get().initPlugIn(0, &cells[0], &cells[1], &cells[2]);
  EXPECT_EQ(HandBackFaults({calls.begin() + seen, calls.end()}, first, cells), "");

  const std::vector<char*> kept = cells;
  seen = calls.size();
  log.RefuseAllocations(true);
  Plugin::Get().initPlugIn(0, &cells[0], &cells[1], &cells[2]);
  log.RefuseAllocations(false);
  EXPECT_EQ(cells, kept);
  EXPECT_EQ(CellText(cells[0]), "VelDialogs");
  EXPECT_EQ(CellText(cells[2]), "Font,Color & Folder Dialogs");
  for (const GlobalMemoryCall& call : std::vector<GlobalMemoryCall>(calls.begin() + seen, calls.end()))
    EXPECT_EQ(call.kind, GlobalMemoryCall::Alloc) << "a block was freed with no new one to replace it";
  FreeCells(cells);
}

TEST(Messages, NoCodeHasAnyEffect) {
  ClearHostCalls();
  for (int32_t code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -1, 1000, INT_MIN, INT_MAX})
    Plugin::Get().message(code, 0xDEADBEEF);
  EXPECT_TRUE(HostCalls().empty());
}

TEST(Dispatcher, IdsThatNameNoActionReturnZeroAndCallNothing) {
  Plugin& p = Plugin::Get();
  ClearHostCalls();
  for (int32_t id : {0, -1, 8, 9, 1000, INT_MIN, INT_MAX}) {
    EXPECT_EQ(p.execAction(id, nullptr), 0u) << id;
  }
  // A bogus array address must not be read either.
  EXPECT_EQ(p.execAction(0, reinterpret_cast<char**>(16)), 0u);
  EXPECT_TRUE(HostCalls().empty());
}

TEST(Dispatcher, CalendarStopReturnsOneWithoutReadingTheArray) {
  ClearHostCalls();
  EXPECT_EQ(Plugin::Get().execAction(5, nullptr), 1u);
  EXPECT_EQ(Plugin::Get().execAction(5, reinterpret_cast<char**>(16)), 1u);
  EXPECT_TRUE(HostCalls().empty());
}

TEST(Boundary, VersionResourceNamesTheProductAndTheProjectVersion) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA("VelDialogs.dll", &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA("VelDialogs.dll", 0, size, data.data()));
  auto text = [&](const char* key) {
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904B0\\") + key;
    if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) return std::string();
    return std::string(value);
  };
  EXPECT_EQ(text("ProductName"), "VelDialogs");
  EXPECT_EQ(text("FileDescription"), "Font,Color & Folder Dialogs");
  EXPECT_EQ(text("FileVersion"), VEL_VERSION);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  char fixedText[64];
  snprintf(fixedText, sizeof(fixedText), "%u.%u.%u", HIWORD(fixed->dwFileVersionMS),
           LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(std::string(fixedText), VEL_VERSION);
}
