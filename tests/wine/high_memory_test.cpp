// Pointers above 4 GiB, both ways: a parameter array, its texts, host text
// cells and the host's reply all live there, so that an address the library
// cut to 32 bits would no longer reach them. Only a 64-bit process has such
// addresses; the 32-bit lane skips these tests.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "rig/editor_session.h"
#include "rig/host_cells.h"
#include "rig/host_window.h"
#include "rig/month_calendar.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

constexpr uint64_t kFourGiB = uint64_t{1} << 32;
constexpr SIZE_T kArenaBytes = 1 << 16;
constexpr int kCalendarControlId = 20;

// Committed memory that the system places as high as it can.
class HighArena {
 public:
  HighArena()
      : base_(static_cast<char*>(VirtualAlloc(nullptr, kArenaBytes,
                                              MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN,
                                              PAGE_READWRITE))) {}
  ~HighArena() {
    if (base_) VirtualFree(base_, 0, MEM_RELEASE);
  }
  HighArena(const HighArena&) = delete;
  HighArena& operator=(const HighArena&) = delete;

  bool AboveFourGiB() const { return reinterpret_cast<uint64_t>(base_) >= kFourGiB; }
  // A copy of text in the arena.
  char* Text(const char* text) {
    size_t size = std::strlen(text) + 1;
    char* at = Take(size);
    std::memcpy(at, text, size);
    return at;
  }
  // Zeroed cells in the arena.
  char** Cells(size_t count) { return reinterpret_cast<char**>(Take(count * sizeof(char*))); }

 private:
  char* Take(size_t size) {
    char* at = base_ + used_;
    used_ += (size + 15) & ~size_t{15};
    return at;
  }
  char* base_;
  size_t used_ = 0;
};

// The host's reply for the calendar-start editor, in the arena.
const char* g_highReply = nullptr;
int32_t __stdcall ReplyFromHighMemory(int32_t, char** reply) {
  if (reply) *reply = const_cast<char*>(g_highReply);
  return 1;
}

class HighMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sizeof(void*) < 8) GTEST_SKIP() << "a 32-bit process has no addresses above 4 GiB";
    ASSERT_TRUE(arena_.AboveFourGiB()) << "the system gave no memory above 4 GiB";
    Plugin::Get();
    ClearHostCalls();
  }
  HighArena arena_;
};

}  // namespace

TEST_F(HighMemory, InitWritesTheIdentityIntoCellsAboveFourGiB) {
  char** cells = arena_.Cells(3);
  Plugin::Get().initPlugIn(0, &cells[0], &cells[1], &cells[2]);
  EXPECT_EQ(CellText(cells[0]), "VelDialogs");
  EXPECT_EQ(CellText(cells[2]), "Font,Color & Folder Dialogs");
  std::vector<char*> blocks(cells, cells + 3);
  FreeCells(blocks);
}

TEST_F(HighMemory, ACalendarReadsItsParametersFromAboveFourGiB) {
  HostWindow host(300, 200);
  char** cells = arena_.Cells(4);
  cells[0] = arena_.Text(host.HandleText().c_str());
  cells[1] = arena_.Text("03/10/2024");
  cells[2] = arena_.Text("MM-DD-YYYY");
  cells[3] = arena_.Text("FromHigh");
  ASSERT_EQ(Plugin::Get().execAction(4, cells), 1u);
  HWND frame = GetWindow(host.handle(), GW_CHILD);
  HWND calendar = frame ? GetDlgItem(frame, kCalendarControlId) : nullptr;
  ASSERT_TRUE(calendar);
  SYSTEMTIME selected = CalendarSelection(calendar);
  EXPECT_EQ(selected.wYear, 2024);
  EXPECT_EQ(selected.wMonth, 3);
  EXPECT_EQ(selected.wDay, 10);
  ASSERT_TRUE(PostClickOnDay(calendar, 2024, 3, 15));
  PumpUntil([] { return !RecordedScripts().empty(); }, 3000);
  EXPECT_EQ(RecordedScripts(), std::vector<std::string>{"GoSub \"FromHigh\""});
  EXPECT_EQ(Plugin::Get().execAction(5, nullptr), 1u);
}

TEST_F(HighMemory, AnEditorReadsAndWritesCellsAndTheHostsReplyAboveFourGiB) {
  char** cells = arena_.Cells(4);
  g_highReply = arena_.Text("Alpha\r\nBeta");
  Plugin::Get().registerInterfaceAccess(ReplyFromHighMemory);
  std::vector<std::wstring> offered;
  EditorRun run = RunEditor(4, cells, L"XR_Dialogs_CalendarStart", [&](HWND editor) {
    offered = ComboItems(GetDlgItem(editor, 123));
    SetBoxText(editor, 120, L"12345");
    SetBoxText(editor, 123, L"Beta");
    PressDone(editor);
  });
  Plugin::Get().registerInterfaceAccess(RecordInterfaceAccess);
  EXPECT_TRUE(run.found);
  EXPECT_EQ(offered, (std::vector<std::wstring>{L"Alpha", L"Beta"}));
  EXPECT_EQ(CellText(cells[0]), "12345");
  EXPECT_EQ(CellText(cells[1]), "");
  EXPECT_EQ(CellText(cells[3]), "Beta");
  std::vector<char*> blocks(cells, cells + 4);
  FreeCells(blocks);
}
