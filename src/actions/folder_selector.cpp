// xr_Dialogs_FolderSelector: the shell's folder browser with the script's
// instruction text and preselected folder, at the script's position.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "actions/host_path.h"
#include "actions/place_dialog.h"
#include "plugin/action_procedures.h"
#include "plugin/catch_all.h"
#include "plugin/host_callbacks.h"
#include "plugin/wide_text.h"

namespace {

// What the browse callback needs; lives on the action's stack for the call.
struct BrowseContext {
  DialogPosition position;
  const wchar_t* startFolder;  // never null, possibly empty
  bool showNextSelection;      // armed once the start folder is set
};

// Only an item with a file-system path can be reported: OK stays greyed on
// This PC, Network and the like, as the flags asked.
bool HasFileSystemPath(LPARAM itemList) {
  wchar_t path[MAX_PATH] = {};
  return itemList && SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(itemList), path);
}

BOOL CALLBACK FindTreeView(HWND child, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, 32);
  if (wcscmp(name, WC_TREEVIEWW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = child;
  return FALSE;
}

// Windows 7 and later select the start folder in the new-style tree
// without scrolling it into view.
void ShowSelectedFolder(HWND dialog) {
  HWND tree = nullptr;
  EnumChildWindows(dialog, FindTreeView, reinterpret_cast<LPARAM>(&tree));
  if (!tree) return;
  auto selected = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
  if (selected) SendMessageW(tree, TVM_ENSUREVISIBLE, 0, selected);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  auto* context = reinterpret_cast<BrowseContext*>(data);
  if (!context) return 0;
  if (message == BFFM_INITIALIZED) {
    PlaceDialog(dialog, context->position.x, context->position.y);
    // Sent also for an empty folder: the system then keeps its own choice.
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(context->startFolder));
    // Whether the change this causes arrives now or later (the Windows 7
    // tree fills in late) is not documented: scroll now, and once more at
    // the first change after this one.
    ShowSelectedFolder(dialog);
    context->showNextSelection = true;
  } else if (message == BFFM_SELCHANGED) {
    SendMessageW(dialog, BFFM_ENABLEOK, 0, HasFileSystemPath(lParam) ? TRUE : FALSE);
    if (!lParam) MessageBeep(0);
    if (context->showNextSelection) {
      context->showNextSelection = false;
      ShowSelectedFolder(dialog);
    }
  }
  return 0;
}

// The chosen folder's path in ANSI, empty when there is none or it does not
// fit the MAX_PATH buffer. Frees the item list.
std::string TakePath(PIDLIST_ABSOLUTE itemList) {
  if (!itemList) return std::string();
  wchar_t path[MAX_PATH] = {};
  BOOL converted = SHGetPathFromIDListW(itemList, path);
  CoTaskMemFree(itemList);
  if (!converted) return std::string();
  return PathForHost(std::wstring(path, wcsnlen(path, MAX_PATH)));
}

// The new dialog style needs a single-threaded COM apartment on the calling
// thread. A thread without one joins one for the dialog and leaves it again
// afterwards (a thread already in that apartment only counts up and down
// once); a thread in the multithreaded apartment is left as it is, and gets
// the classic browser, since Windows refuses the new style there.
class ApartmentForDialog {
 public:
  ApartmentForDialog()
      : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ApartmentForDialog() {
    if (joined_) CoUninitialize();
  }
  ApartmentForDialog(const ApartmentForDialog&) = delete;
  ApartmentForDialog& operator=(const ApartmentForDialog&) = delete;

  bool singleThreaded() const { return joined_; }

 private:
  bool joined_;
};

constexpr UINT kBrowseFlags =
    BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;

constexpr const char* kFolderVariables[] = {"xr_Dialogs_FolderSelected_Status",
                                            "xr_Dialogs_FolderSelected"};

void ShowFolderSelector(const char* title, const char* startFolder, const char* posX,
                        const char* posY) {
  std::wstring wideTitle = HostTextToWide(title);
  std::wstring wideStart = HostTextToWide(startFolder);
  BrowseContext context = {ReadDialogPosition(posX, posY), wideStart.c_str(), false};

  BROWSEINFOW browse = {};
  browse.hwndOwner = nullptr;
  browse.pidlRoot = nullptr;
  browse.pszDisplayName = nullptr;
  browse.lpszTitle = wideTitle.c_str();
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(&context);

  std::string path;
  {
    ApartmentForDialog apartment;
    browse.ulFlags = apartment.singleThreaded() ? kBrowseFlags : kBrowseFlags & ~BIF_NEWDIALOGSTYLE;
    path = TakePath(SHBrowseForFolderW(&browse));
  }
  if (path.empty()) {
    ReportNoChoice(kFolderVariables);
  } else {
    SetHostVariable("xr_Dialogs_FolderSelected_Status", "True");
    SetHostVariable("xr_Dialogs_FolderSelected", path);
  }
}

}  // namespace

void ReportFolderSelectorFailure() { ReportNoChoice(kFolderVariables); }

int32_t __stdcall XrDialogsFolderSelector(const char* title, const char* startFolder,
                                          const char* posX, const char* posY) {
  CatchAllReporting([&] { ShowFolderSelector(title, startFolder, posX, posY); },
                    ReportFolderSelectorFailure);
  return 0;
}
