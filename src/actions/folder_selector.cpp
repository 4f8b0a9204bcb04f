// xr_Dialogs_FolderSelector: the shell's folder browser with the script's
// instruction text and preselected folder, at the script's position.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

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
};

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  auto* context = reinterpret_cast<const BrowseContext*>(data);
  if (!context) return 0;
  if (message == BFFM_INITIALIZED) {
    PlaceDialog(dialog, context->position.x, context->position.y);
    // Sent also for an empty folder: the system then keeps its own choice.
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(context->startFolder));
  } else if (message == BFFM_SELCHANGED) {
    bool hasItem = lParam != 0;
    SendMessageW(dialog, BFFM_ENABLEOK, 0, hasItem ? TRUE : FALSE);
    if (!hasItem) MessageBeep(0);
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
// once); a thread in the multithreaded apartment is left as it is.
class ApartmentForDialog {
 public:
  ApartmentForDialog()
      : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~ApartmentForDialog() {
    if (joined_) CoUninitialize();
  }
  ApartmentForDialog(const ApartmentForDialog&) = delete;
  ApartmentForDialog& operator=(const ApartmentForDialog&) = delete;

 private:
  bool joined_;
};

constexpr const char* kFolderVariables[] = {"xr_Dialogs_FolderSelected_Status",
                                            "xr_Dialogs_FolderSelected"};

void ShowFolderSelector(const char* title, const char* startFolder, const char* posX,
                        const char* posY) {
  std::wstring wideTitle = HostTextToWide(title);
  std::wstring wideStart = HostTextToWide(startFolder);
  BrowseContext context = {ReadDialogPosition(posX, posY), wideStart.c_str()};

  BROWSEINFOW browse = {};
  browse.hwndOwner = nullptr;
  browse.pidlRoot = nullptr;
  browse.pszDisplayName = nullptr;
  browse.lpszTitle = wideTitle.c_str();
  browse.ulFlags =
      BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(&context);

  std::string path;
  {
    ApartmentForDialog apartment;
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

int32_t __stdcall XrDialogsFolderSelector(const char* title, const char* startFolder,
                                          const char* posX, const char* posY) {
  CatchAllReporting([&] { ShowFolderSelector(title, startFolder, posX, posY); },
                    [] { ReportNoChoice(kFolderVariables); });
  return 0;
}
