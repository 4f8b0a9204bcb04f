// The calendar-start editor: its date styles and the subroutine names that
// it asks the host for, and what it hands back from its drop-down boxes.
#include <gtest/gtest.h>

#include <algorithm>

#include "rig/code_page.h"
#include "rig/driver.h"
#include "rig/editor_session.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

const wchar_t kTitle[] = L"XR_Dialogs_CalendarStart";
constexpr int kDateStyleBox = 122, kNameBox = 123;
using Items = std::vector<std::wstring>;

// A sorted box orders its items as the user's locale does (Windows compares
// them with lstrcmpi): the expected order is the system's, not English.
Items InSystemOrder(Items items) {
  std::stable_sort(items.begin(), items.end(), [](const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
  });
  return items;
}

struct BoxesSeen {
  Items dateStyles, names;
  std::wstring dateStyleText, nameText;
  LRESULT dateStyleSelection = 0, nameSelection = 0;
};

// Opens the editor with the host answering reply (or null), reads both
// boxes, and leaves with "Done" after act has had its turn.
BoxesSeen OpenWithReply(const char* reply, HostCellArray& cells,
                        const std::function<void(HWND)>& act = nullptr) {
  g_interfaceReplyIsNull = reply == nullptr;
  g_interfaceReply = reply ? reply : "";
  ClearHostCalls();
  BoxesSeen seen;
  RunEditor(4, cells.data(), kTitle, [&](HWND editor) {
    HWND styles = GetDlgItem(editor, kDateStyleBox), names = GetDlgItem(editor, kNameBox);
    seen.dateStyles = ComboItems(styles);
    seen.names = ComboItems(names);
    seen.dateStyleText = TextOf(styles);
    seen.nameText = TextOf(names);
    seen.dateStyleSelection = SendMessageW(styles, CB_GETCURSEL, 0, 0);
    seen.nameSelection = SendMessageW(names, CB_GETCURSEL, 0, 0);
    if (act) act(editor);
    PressDone(editor);
  });
  return seen;
}

int InterfaceCalls() {
  int count = 0;
  for (const HostCall& call : HostCalls()) {
    if (call.kind != HostCallKind::InterfaceAccess) continue;
    ++count;
    EXPECT_EQ(call.number, 5);
    EXPECT_FALSE(call.a.null);
    EXPECT_EQ(call.a.text, "");  // the reply cell is 0 when the host gets it
  }
  return count;
}

}  // namespace

TEST(CalendarStartEditor, OffersTheHostsNamesSortedUpToTheFirstEmptyLine) {
  const SpeltText odd = NonAsciiInCodePage();
  ASSERT_FALSE(odd.empty()) << "code page " << GetACP();
  const std::string cafe = "Caf" + odd.ansi;
  struct Case {
    const char* reply;
    Items names;
  } cases[] = {
      {"Main\r\nAlpha", {L"Alpha", L"Main"}},
      {"Alpha\r\nMain\r\n", {L"Alpha", L"Main"}},
      {"First\r\n\r\nSecond", {L"First"}},
      {"\r\nHidden", {}},
      {"", {}},
      {nullptr, {}},
      {"Lone\rCR\nLF", {L"Lone\rCR\nLF"}},
      {cafe.c_str(), {L"Caf" + odd.wide}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reply ? c.reply : "<null>");
    HostCellArray cells({"", "", "MM-DD-YYYY", "Main"});
    BoxesSeen seen = OpenWithReply(c.reply, cells);
    EXPECT_EQ(seen.names, InSystemOrder(c.names));
    EXPECT_EQ(InterfaceCalls(), 1);
    EXPECT_EQ(seen.nameText, L"Main");  // the current text, with no item selected
    EXPECT_EQ(seen.nameSelection, CB_ERR);
  }
}

TEST(CalendarStartEditor, DateStylesAreThreeSortedItemsWhateverTheCurrentText) {
  const char* const currents[] = {"YYYY-MM-DD", "dd.mm.yy", nullptr};
  for (const char* current : currents) {
    HostCellArray cells({"", "", current, ""});
    BoxesSeen seen = OpenWithReply("Main", cells);
    EXPECT_EQ(seen.dateStyles, InSystemOrder({L"DD-MM-YYYY", L"MM-DD-YYYY", L"YYYY-MM-DD"}));
    EXPECT_EQ(seen.dateStyleText, current ? std::wstring(current, current + strlen(current)) : L"");
    EXPECT_EQ(seen.dateStyleSelection, CB_ERR);
    EXPECT_EQ(cells.Text(2), current ? current : "");  // handed back unchanged
  }
}

TEST(CalendarStartEditor, EachOpeningAsksAgainAndTheNewListReplacesTheOld) {
  HostCellArray cells({"", "", "", ""});
  EXPECT_EQ(OpenWithReply("One\r\nTwo\r\nThree", cells).names,
            InSystemOrder({L"One", L"Three", L"Two"}));
  EXPECT_EQ(OpenWithReply("Four", cells).names, Items{L"Four"});
  EXPECT_EQ(OpenWithReply(nullptr, cells).names, Items{});
}

TEST(CalendarStartEditor, PickedAndTypedTextsAreHandedBackInOrder) {
  HostCellArray cells({"12", "01-02-2024", "MM-DD-YYYY", "Old"});
  OpenWithReply("Zeta\r\nBeta", cells, [](HWND editor) {
    HWND styles = GetDlgItem(editor, kDateStyleBox), names = GetDlgItem(editor, kNameBox);
    // By text: the items' order is the user's locale's.
    SendMessageW(styles, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"YYYY-MM-DD"));
    SendMessageW(names, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"Beta"));
    SetBoxText(editor, 120, L"99");
  });
  EXPECT_EQ(cells.Text(0), "99");
  EXPECT_EQ(cells.Text(1), "01-02-2024");
  EXPECT_EQ(cells.Text(2), "YYYY-MM-DD");
  EXPECT_EQ(cells.Text(3), "Beta");

  OpenWithReply("Zeta\r\nBeta", cells, [](HWND editor) { SetBoxText(editor, kNameBox, L"Typed Sub"); });
  EXPECT_EQ(cells.Text(3), "Typed Sub");
}

TEST(CalendarStartEditor, WithoutAnInterfaceCallbackTheNameBoxIsEmptyButUsable) {
  Plugin& p = Plugin::Get();
  p.registerInterfaceAccess(nullptr);
  HostCellArray cells({"", "", "", "Keep"});
  BoxesSeen seen = OpenWithReply("Main", cells);
  p.registerInterfaceAccess(RecordInterfaceAccess);
  EXPECT_EQ(seen.names, Items{});
  EXPECT_EQ(InterfaceCalls(), 0);
  EXPECT_EQ(seen.nameText, L"Keep");
  EXPECT_EQ(cells.Text(3), "Keep");
}
