// Hostile parameter arrays through the real entry points: every action and
// every editor, with null arrays, empty cells, huge texts, odd bytes and
// numbers no 32-bit value holds, and ids that name nothing. Whatever dialog
// shows is ended by a generic closer. Nothing may crash, the host's array and
// texts stay as they were, and results come in the documented order.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "rig/dialog_closer.h"
#include "rig/driver.h"
#include "rig/host_cells.h"
#include "rig/host_window.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

using Vars = std::vector<std::pair<std::string, std::string>>;

constexpr int kCells = 5;  // the longest parameter list
constexpr size_t k64KiB = 64 * 1024;
const int kBadIds[] = {0, -1, 8, 1000, INT_MIN, INT_MAX};

struct Input {
  const char* name;
  bool nullArray;
  std::vector<std::string> texts;  // "\x7f<zero>" marks a cell holding 0
};
const std::string kZeroCell = "\x7f<zero>";

std::string OddBytes() {
  std::string text;
  for (int b = 1; b < 256; ++b) text += static_cast<char>(b);
  return text;
}

std::vector<Input> Inputs() {
  return {
      {"null array", true, {}},
      {"cells holding 0", false, std::vector<std::string>(kCells, kZeroCell)},
      {"empty texts", false, std::vector<std::string>(kCells, "")},
      {"64 KiB texts", false,
       {std::string(k64KiB, 'A'), std::string(k64KiB, '9'), std::string(k64KiB, '|'),
        std::string(k64KiB, '#'), std::string(k64KiB, '9')}},
      {"high-bit and control bytes", false, std::vector<std::string>(kCells, OddBytes())},
      {"numbers beyond 32 bits", false,
       {"4294967296", "-99999999999999999999", "1e400", "&HFFFFFFFFFFFF", "-1e-400"}},
  };
}

// Wine's edit control takes seconds to lay out each 64 KiB line, so the
// editors get one such text (in a cell every editor edits) rather than five.
std::vector<Input> EditorInputs() {
  std::vector<Input> inputs = Inputs();
  for (Input& input : inputs)
    if (input.texts.size() == kCells && input.texts[0].size() == k64KiB)
      input.texts = {"A", std::string(k64KiB, '9'), "|", "#", "9"};
  return inputs;
}

// The host's side of a call: its cells and, separately, what they held.
struct HostArray {
  std::vector<char*> cells;
  std::vector<char*> before;
  std::vector<std::string> bytes;
  bool nullArray = false;
  bool globalBlocks = false;

  HostArray(const Input& input, bool global) : nullArray(input.nullArray), globalBlocks(global) {
    for (const std::string& text : input.texts) {
      if (text == kZeroCell) cells.push_back(nullptr);
      else if (globalBlocks) cells.push_back(NewHostBlock(text));
      else cells.push_back(_strdup(text.c_str()));
      bytes.push_back(text == kZeroCell ? "" : text);
    }
    before = cells;
  }
  ~HostArray() {
    for (char* cell : cells) {
      if (!cell) continue;
      if (globalBlocks) GlobalFree(cell);
      else free(cell);
    }
  }
  char** data() { return nullArray ? nullptr : cells.data(); }
  // True when every cell holds what it held, byte for byte.
  bool Untouched() const {
    if (cells != before) return false;
    for (size_t k = 0; k < cells.size(); ++k)
      if ((cells[k] ? std::string(cells[k]) : std::string()) != bytes[k]) return false;
    return true;
  }
};

Vars Cancelled(int id) {
  switch (id) {
    case 1:
      return {{"xr_Dialogs_FontSelected_Status", "False"}, {"xr_Dialogs_FontSelected_Name", "<null>"},
              {"xr_Dialogs_FontSelected_Points", "<null>"}, {"xr_Dialogs_FontSelected_CharSet", "<null>"},
              {"xr_Dialogs_FontSelected_Style", "<null>"}, {"xr_Dialogs_FontColorSelected_HEX", "<null>"},
              {"xr_Dialogs_FontColorSelected_RGB", "<null>"}};
    case 2:
      return {{"xr_Dialogs_ColorSelected_Status", "False"}, {"xr_Dialogs_ColorSelected_HEX", "<null>"},
              {"xr_Dialogs_ColorSelected_RGB", "<null>"}};
    case 3:
      return {{"xr_Dialogs_FolderSelected_Status", "False"}, {"xr_Dialogs_FolderSelected", "<null>"}};
    case 6:
      return {{"xr_Dialogs_OpenFile_Status", "False"}, {"xr_Dialogs_OpenFile_Selected", "<null>"}};
    case 7:
      return {{"xr_Dialogs_SaveFile_Status", "False"}, {"xr_Dialogs_SaveFile_Selected", "<null>"}};
  }
  return {};  // the calendar actions write nothing when they start or stop
}

int EditedCount(int id) { return id == 1 ? 5 : id == 2 ? 2 : id == 5 ? 0 : 4; }

bool ADialogActionShowsADialog(int id) { return id != 4 && id != 5; }

int CalendarFramesOnScreen() {
  int count = 0;
  for (HWND dialog : ProcessWindows(L"#32770")) count += IsCalendarFrameWindow(dialog);
  return count;
}

class HostileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    Plugin::Get();
    ClearHostCalls();
  }
  void TearDown() override {
    g_interfaceReply.clear();
    Exec(5, {});
    PumpFor(20);
  }
};

}  // namespace

TEST_F(HostileInput, EveryActionSurvivesEveryArrayAndReportsInOrder) {
  for (const Input& input : Inputs()) {
    for (int id = 1; id <= 7; ++id) {
      SCOPED_TRACE(std::string(input.name) + ", action " + std::to_string(id));
      HostArray host(input, false);
      ClearHostCalls();
      DialogCloser closer;
      uint32_t handled = Plugin::Get().execAction(id, host.data());
      closer.Stop();
      EXPECT_EQ(handled, 1u);
      EXPECT_EQ(RecordedVariables(), Cancelled(id));
      EXPECT_TRUE(RecordedScripts().empty());
      EXPECT_TRUE(host.Untouched());
      if (ADialogActionShowsADialog(id)) {
        EXPECT_GE(closer.dialogsCancelled(), 1);
      }
      if (id == 4) {
        // Whatever the handle text named, a Stop leaves no calendar behind.
        EXPECT_EQ(Exec(5, {}), 1u);
        PumpFor(20);
        EXPECT_EQ(CalendarFramesOnScreen(), 0);
      }
    }
  }
}

TEST_F(HostileInput, EveryEditorClosedWithoutDoneLeavesTheCellsAlone) {
  for (const Input& input : EditorInputs()) {
    for (int id = 1; id <= 7; ++id) {
      SCOPED_TRACE(std::string(input.name) + ", editor " + std::to_string(id));
      HostArray host(input, true);
      // The host's name list for the calendar editor is just as hostile.
      g_interfaceReply = input.texts.empty() || input.texts[0] == kZeroCell ? "" : input.texts[0];
      ClearHostCalls();
      DialogCloser closer(EditorEnding::Close);
      uint32_t handled = Plugin::Get().editAction(id, host.data());
      closer.Stop();
      EXPECT_EQ(handled, 1u);
      EXPECT_EQ(closer.editorsEnded(), id == 5 ? 0 : 1);
      EXPECT_TRUE(host.Untouched());
      EXPECT_TRUE(RecordedVariables().empty());
    }
  }
}

TEST_F(HostileInput, DoneHandsBackFreshBlocksOfTheRightSizeIntoEditedCellsOnly) {
  for (const Input& input : EditorInputs()) {
    if (input.nullArray) continue;  // nowhere to hand anything back
    for (int id = 1; id <= 7; ++id) {
      if (id == 5) continue;
      // One editor is enough for the long text here: the hand-back is shared,
      // and each editor already shows it in the test above.
      if (input.texts[1].size() == k64KiB && id != 2) continue;
      SCOPED_TRACE(std::string(input.name) + ", editor " + std::to_string(id));
      HostArray host(input, true);
      DialogCloser closer(EditorEnding::Done);
      EXPECT_EQ(Plugin::Get().editAction(id, host.data()), 1u);
      closer.Stop();
      ASSERT_EQ(closer.editorsEnded(), 1);
      const int edited = EditedCount(id);
      EXPECT_EQ(CellText(host.cells[0]), "done by the closer");
      for (int k = 0; k < kCells; ++k) {
        char* cell = host.cells[k];
        if (k >= edited) {
          EXPECT_EQ(cell, host.before[k]) << "cell " << k << " is not the editor's";
          continue;
        }
        // An empty hand-back leaves 0; anything else is exactly length + 1.
        if (cell) {
          EXPECT_EQ(CellSize(cell), std::string(cell).size() + 1) << "cell " << k;
          EXPECT_GT(std::string(cell).size(), 0u) << "cell " << k;
        }
      }
    }
  }
}

TEST_F(HostileInput, IdsThatNameNothingTouchNothingWithAnyArray) {
  for (const Input& input : Inputs()) {
    for (int id : kBadIds) {
      SCOPED_TRACE(std::string(input.name) + ", id " + std::to_string(id));
      HostArray host(input, true);
      ClearHostCalls();
      DialogCloser closer(EditorEnding::Close);
      EXPECT_EQ(Plugin::Get().execAction(id, host.data()), 0u);
      EXPECT_EQ(Plugin::Get().editAction(id, host.data()), 0u);
      closer.Stop();
      EXPECT_EQ(closer.dialogsCancelled() + closer.editorsEnded(), 0);
      EXPECT_TRUE(HostCalls().empty());
      EXPECT_TRUE(host.Untouched());
    }
  }
}
