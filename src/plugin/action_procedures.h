// The exported action procedures, one per catalogue entry. Each takes its
// parameter texts in catalogue order (null for an empty one) and returns 0.
#pragma once
#include <cstdint>
#include <type_traits>

#include "VelDialogs.h"

extern "C" {
int32_t __stdcall XrDialogsFontSelector(const char* fontName, const char* points,
                                        const char* style, const char* posX, const char* posY);
int32_t __stdcall XrDialogsColorSelector(const char* posX, const char* posY);
int32_t __stdcall XrDialogsFolderSelector(const char* title, const char* startFolder,
                                          const char* posX, const char* posY);
int32_t __stdcall XrDialogsCalendarStart(const char* handle, const char* previousDate,
                                         const char* dateStyle, const char* subroutine);
int32_t __stdcall XrDialogsCalendarStop();
int32_t __stdcall XrDialogsOpenFile(const char* title, const char* folder, const char* filters,
                                    const char* fileName);
int32_t __stdcall XrDialogsSaveFile(const char* title, const char* folder, const char* fileName,
                                    const char* fileMask);
}

// Each action's report when it could not run at all (memory running out
// before it started): its status "False" and its values empty, as a cancel.
// Calendar Start and Stop report nothing.
void ReportFontSelectorFailure();
void ReportColorSelectorFailure();
void ReportFolderSelectorFailure();
void ReportOpenFileFailure();
void ReportSaveFileFailure();

// The types that include/VelDialogs.h gives hosts (see entry_points.h).
static_assert(std::is_same_v<decltype(&XrDialogsFontSelector), VelFontSelectorProc>);
static_assert(std::is_same_v<decltype(&XrDialogsColorSelector), VelColorSelectorProc>);
static_assert(std::is_same_v<decltype(&XrDialogsFolderSelector), VelFolderSelectorProc>);
static_assert(std::is_same_v<decltype(&XrDialogsCalendarStart), VelCalendarStartProc>);
static_assert(std::is_same_v<decltype(&XrDialogsCalendarStop), VelCalendarStopProc>);
static_assert(std::is_same_v<decltype(&XrDialogsOpenFile), VelOpenFileProc>);
static_assert(std::is_same_v<decltype(&XrDialogsSaveFile), VelSaveFileProc>);
