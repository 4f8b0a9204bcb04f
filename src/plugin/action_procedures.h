// The exported action procedures, one per catalogue entry. Each takes its
// parameter texts in catalogue order (null for an empty one) and returns 0.
#pragma once
#include <cstdint>

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
