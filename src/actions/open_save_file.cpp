// xr_Dialogs_OpenFile and xr_Dialogs_SaveFile: the system's open-file and
// save-file dialogs at the screen's top-left corner, reporting one full path.
#include <windows.h>
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "actions/filter_list.h"
#include "actions/host_path.h"
#include "actions/place_dialog.h"
#include "plugin/action_procedures.h"
#include "plugin/catch_all.h"
#include "plugin/host_callbacks.h"
#include "plugin/wide_text.h"

namespace {

// The name buffer the dialog writes the chosen path into.
constexpr DWORD kFileBufferLength = 32768;
// Longest name or folder handed to the dialog: the dialog copies them into
// MAX_PATH buffers of its own, and a longer folder overran Wine's stack.
constexpr size_t kMaxPathText = MAX_PATH - 1;
// Read-only box hidden, the caller's current directory restored, the hook
// for placing, the Explorer look. No must-exist or overwrite questions.
constexpr DWORD kFileDialogFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLEHOOK | OFN_EXPLORER;

enum class FileDialogKind { Open, Save };

// Status first, then the chosen path.
using FileDialogVariables = const char* const[2];
constexpr FileDialogVariables kOpenVariables = {"xr_Dialogs_OpenFile_Status",
                                                "xr_Dialogs_OpenFile_Selected"};
constexpr FileDialogVariables kSaveVariables = {"xr_Dialogs_SaveFile_Status",
                                                "xr_Dialogs_SaveFile_Selected"};

// Windows ignores OFN_NOCHANGEDIR for the open dialog: the process's current
// directory follows the user's browsing. It is read once before the dialog
// (it is also the folder an empty Folder stands for) and put back when the
// call ends, whatever the outcome, so the host's relative paths and the next
// empty folder keep their meaning.
class CurrentDirectoryKeeper {
 public:
  CurrentDirectoryKeeper() {
    DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return;
    saved_.assign(size, L'\0');
    DWORD length = GetCurrentDirectoryW(size, &saved_[0]);
    saved_.resize(length < size ? length : 0);
  }
  ~CurrentDirectoryKeeper() {
    if (!saved_.empty()) SetCurrentDirectoryW(saved_.c_str());
  }
  CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
  CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

  // The directory as the call found it, "" when it could not be read.
  const std::wstring& saved() const { return saved_; }

 private:
  std::wstring saved_;
};

// Record sizes before and after the Windows 2000 extension of the record.
DWORD FileDialogRecordSize() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExA(&version) && version.dwMajorVersion < 5) return OPENFILENAME_SIZE_VERSION_400W;
  return sizeof(OPENFILENAMEW);
}

// With an Explorer-style hook the hook's dialog is a child of the visible
// frame; the frame is what moves.
UINT_PTR CALLBACK FileDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return 0;
  auto* record = reinterpret_cast<const OPENFILENAMEW*>(lParam);
  if (record) {
    HWND frame = reinterpret_cast<HWND>(GetWindowLongPtrW(dialog, GWLP_HWNDPARENT));
    PlaceDialogAtCustData(frame, record->lCustData);
  }
  return 1;
}

// The full path chosen, in the host's code page, or "" when none was.
std::string RunFileDialog(FileDialogKind kind, const char* title, const char* folder,
                          const char* filterText, const char* fileName) {
  std::wstring filterList = AnsiToWide(BuildFilterList(filterText));
  filterList.append(2, L'\0');
  std::wstring wideTitle = HostTextToWide(title);
  CurrentDirectoryKeeper keeper;
  std::wstring wideFolder = CutWide(HostTextToWide(folder), kMaxPathText);
  // A directory longer than MAX_PATH is not offered; the dialog then picks its own.
  if (wideFolder.empty() && keeper.saved().size() <= MAX_PATH) wideFolder = keeper.saved();

  std::wstring fileBuffer(kFileBufferLength, L'\0');
  std::wstring initialName = CutWide(HostTextToWide(fileName), kMaxPathText);
  initialName.copy(&fileBuffer[0], initialName.size());

  DialogPosition origin = {0, 0};
  OPENFILENAMEW record = {};
  record.lStructSize = FileDialogRecordSize();
  record.lpstrFilter = filterList.c_str();
  record.lpstrFile = &fileBuffer[0];
  record.nMaxFile = kFileBufferLength;
  record.lpstrInitialDir = wideFolder.empty() ? nullptr : wideFolder.c_str();
  record.lpstrTitle = wideTitle.empty() ? nullptr : wideTitle.c_str();
  record.Flags = kFileDialogFlags;
  record.lCustData = reinterpret_cast<LPARAM>(&origin);
  record.lpfnHook = FileDialogHook;

  BOOL chosen = kind == FileDialogKind::Open ? GetOpenFileNameW(&record) : GetSaveFileNameW(&record);
  if (!chosen) return std::string();
  // The buffer is NUL-filled beyond what the dialog wrote, so a NUL is there.
  return PathForHost(std::wstring(fileBuffer.c_str(), wcsnlen(fileBuffer.c_str(), kFileBufferLength)));
}

void ReportChoice(const FileDialogVariables& variables, const std::string& path) {
  SetHostVariable(variables[0], path.empty() ? "False" : "True");
  SetHostVariable(variables[1], path);
}

}  // namespace

void ReportOpenFileFailure() { ReportNoChoice(kOpenVariables); }
void ReportSaveFileFailure() { ReportNoChoice(kSaveVariables); }

int32_t __stdcall XrDialogsOpenFile(const char* title, const char* folder, const char* filters,
                                    const char* fileName) {
  CatchAllReporting(
      [&] {
        ReportChoice(kOpenVariables, RunFileDialog(FileDialogKind::Open, title, folder, filters, fileName));
      },
      ReportOpenFileFailure);
  return 0;
}

int32_t __stdcall XrDialogsSaveFile(const char* title, const char* folder, const char* fileName,
                                    const char* fileMask) {
  CatchAllReporting(
      [&] {
        ReportChoice(kSaveVariables, RunFileDialog(FileDialogKind::Save, title, folder, fileMask, fileName));
      },
      ReportSaveFileFailure);
  return 0;
}
