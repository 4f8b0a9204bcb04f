/*
 * VelDialogs.h: what a host needs to load VelDialogs.dll and talk to it.
 *
 * Plain C, usable from C and C++. A host loads the DLL of its own bitness
 * with LoadLibrary and takes each entry point with GetProcAddress under the
 * VEL_EXPORT_... name of its build, cast to the matching ...Proc type.
 * Call hsRegisterPlugIn first.
 *
 * Ownership, in short:
 * - Every text is zero-terminated 8-bit text in the ANSI code page, passed
 *   by address; a null address is an empty text, in both directions.
 * - Texts the library passes to a callback are its own copies, freed when
 *   the callback returns: copy what you keep.
 * - A host text cell (VelHostCell) is the host's. It holds 0 or a fixed
 *   GlobalAlloc(GMEM_ZEROINIT, ...) block holding a text. Writing a cell,
 *   the library GlobalFree()s the block it held; the block it leaves there
 *   is the host's to GlobalFree.
 */
#ifndef VELDIALOGS_H
#define VELDIALOGS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The calling convention of every export and every callback: standard call
   (the callee removes the arguments) in the 32-bit build; the 64-bit build
   has the one x86-64 convention. */
#if defined(_WIN32) && !defined(_WIN64)
#define VEL_CALL __stdcall
#else
#define VEL_CALL
#endif

/* A host text cell, and a cell of the parameter array: 32 bits in the
   32-bit build, 64 in the 64-bit one (it holds an address). */
typedef char *VelHostCell;

/* Action ids, as registered and as passed to hsExecAction/hsEditAction. */
enum {
  VEL_ACTION_FONT_SELECTOR = 1,
  VEL_ACTION_COLOR_SELECTOR = 2,
  VEL_ACTION_FOLDER_SELECTOR = 3,
  VEL_ACTION_CALENDAR_START = 4,
  VEL_ACTION_CALENDAR_STOP = 5,
  VEL_ACTION_OPEN_FILE = 6,
  VEL_ACTION_SAVE_FILE = 7
};

/* The most parameters an action has: a parameter array of this many cells
   serves every action. */
enum { VEL_MAX_PARAMETERS = 5 };

/* The one request code of InterfaceAccessCallback: the host answers with the
   names of its script's subroutines, separated by CR LF. */
enum { VEL_REQUEST_SCRIPT_NAMES = 5 };

/* ---- Callbacks the host supplies (their results are ignored) ---------- */

/* Called once per action, ids 1 to 7 in order. typeCodes holds one byte per
   parameter; count is the parameter count (8 bits, zero-extended). */
typedef int32_t(VEL_CALL *VelAddActionCallback)(int32_t id, const char *name, const char *hint,
                                                const char *typeCodes, uint32_t count);
/* Assigns value (null when empty) to the host variable name. */
typedef int32_t(VEL_CALL *VelSetVarCallback)(const char *name, const char *value);
/* Runs one line of host script, such as: GoSub "DatePicked". */
typedef int32_t(VEL_CALL *VelScriptProcessorCallback)(const char *line);
/* *reply is 0 on entry; the host may set it to the address of a text that
   stays the host's (the library reads it at once and never frees it). */
typedef int32_t(VEL_CALL *VelInterfaceAccessCallback)(int32_t request, char **reply);

/* ---- Host entry points ------------------------------------------------ */

/* Stores the callbacks (hostCallback2 and 3 are kept, never called), then
   registers every action through addAction. */
typedef void(VEL_CALL *VelRegisterPlugInProc)(VelAddActionCallback addAction,
                                              void *hostCallback2, void *hostCallback3,
                                              VelSetVarCallback setVar);
/* Writes the plug-in's name, author and description into three host text
   cells; the first argument is not used. */
typedef void(VEL_CALL *VelInitPlugInProc)(uint32_t unused, VelHostCell *nameCell,
                                          VelHostCell *authorCell,
                                          VelHostCell *descriptionCell);
typedef void(VEL_CALL *VelRegisterScriptProcessorProc)(VelScriptProcessorCallback callback);
typedef void(VEL_CALL *VelRegisterInterfaceAccessProc)(VelInterfaceAccessCallback callback);
/* Does nothing, whatever the code. */
typedef void(VEL_CALL *VelMessageProc)(int32_t code, uint32_t parameter);
/* Runs an action. parameters: one cell per parameter in catalogue order,
   each holding a text's address or 0; read only, during the call. Returns 1
   for an id of 1 to 7, else 0; the outcome is in the status variable. */
typedef uint32_t(VEL_CALL *VelExecActionProc)(int32_t id, VelHostCell *parameters);
/* Opens an action's editor modally. parameters: host text cells, each
   rewritten after "Done". Returns 1 for an id of 1 to 7, else 0. */
typedef uint32_t(VEL_CALL *VelEditActionProc)(int32_t id, VelHostCell *parameters);

/* ---- Action procedures (result always 0; texts null when empty) ------- */

typedef int32_t(VEL_CALL *VelFontSelectorProc)(const char *fontName, const char *points,
                                               const char *style, const char *posX,
                                               const char *posY);
typedef int32_t(VEL_CALL *VelColorSelectorProc)(const char *posX, const char *posY);
typedef int32_t(VEL_CALL *VelFolderSelectorProc)(const char *title, const char *startFolder,
                                                 const char *posX, const char *posY);
typedef int32_t(VEL_CALL *VelCalendarStartProc)(const char *handle, const char *previousDate,
                                                const char *dateStyle, const char *subroutine);
typedef int32_t(VEL_CALL *VelCalendarStopProc)(void);
typedef int32_t(VEL_CALL *VelOpenFileProc)(const char *title, const char *folder,
                                           const char *filters, const char *fileName);
typedef int32_t(VEL_CALL *VelSaveFileProc)(const char *title, const char *folder,
                                           const char *fileName, const char *fileMask);
/* CTRLPROC is a window procedure: take it as a WNDPROC. */

/* ---- Exported names, for GetProcAddress ------------------------------- */

/* The 32-bit DLL exports the host entry points under their decorated
   standard-call names; the 64-bit one under plain names. */
#if defined(_WIN32) && !defined(_WIN64)
#define VEL_EXPORT_REGISTER_PLUGIN "_hsRegisterPlugIn@16"
#define VEL_EXPORT_INIT_PLUGIN "_hsInitPlugIn@16"
#define VEL_EXPORT_REGISTER_SCRIPT_PROCESSOR "_hsRegisterScriptProcessor@4"
#define VEL_EXPORT_REGISTER_INTERFACE_ACCESS "_hsRegisterInterfaceAccess@4"
#define VEL_EXPORT_MESSAGE "_hsMessage@8"
#define VEL_EXPORT_EXEC_ACTION "_hsExecAction@8"
#define VEL_EXPORT_EDIT_ACTION "_hsEditAction@8"
#else
#define VEL_EXPORT_REGISTER_PLUGIN "hsRegisterPlugIn"
#define VEL_EXPORT_INIT_PLUGIN "hsInitPlugIn"
#define VEL_EXPORT_REGISTER_SCRIPT_PROCESSOR "hsRegisterScriptProcessor"
#define VEL_EXPORT_REGISTER_INTERFACE_ACCESS "hsRegisterInterfaceAccess"
#define VEL_EXPORT_MESSAGE "hsMessage"
#define VEL_EXPORT_EXEC_ACTION "hsExecAction"
#define VEL_EXPORT_EDIT_ACTION "hsEditAction"
#endif

/* The action procedures and the painting procedure: plain names in both. */
#define VEL_EXPORT_FONT_SELECTOR "XR_DIALOGS_FONTSELECTOR"
#define VEL_EXPORT_COLOR_SELECTOR "XR_DIALOGS_COLORSELECTOR"
#define VEL_EXPORT_FOLDER_SELECTOR "XR_DIALOGS_FOLDERSELECTOR"
#define VEL_EXPORT_CALENDAR_START "XR_DIALOGS_CALENDARSTART"
#define VEL_EXPORT_CALENDAR_STOP "XR_DIALOGS_CALENDARSTOP"
#define VEL_EXPORT_OPEN_FILE "XR_DIALOGS_OPENFILE"
#define VEL_EXPORT_SAVE_FILE "XR_DIALOGS_SAVEFILE"
#define VEL_EXPORT_CTRLPROC "CTRLPROC"

#ifdef __cplusplus
}
#endif

#endif /* VELDIALOGS_H */
