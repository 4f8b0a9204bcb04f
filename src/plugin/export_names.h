// The names under which a host finds the entry points. On x86 they carry the
// standard-call decoration (underscore, "@" and the argument bytes); x86-64
// has one calling convention and no decoration.
#pragma once

#ifdef _WIN64
#define VEL_HOST_EXPORT(name, argumentBytes) #name
#else
#define VEL_HOST_EXPORT(name, argumentBytes) "_" #name "@" #argumentBytes
#endif

inline constexpr const char kExportRegisterPlugIn[] = VEL_HOST_EXPORT(hsRegisterPlugIn, 16);
inline constexpr const char kExportInitPlugIn[] = VEL_HOST_EXPORT(hsInitPlugIn, 16);
inline constexpr const char kExportRegisterScriptProcessor[] =
    VEL_HOST_EXPORT(hsRegisterScriptProcessor, 4);
inline constexpr const char kExportRegisterInterfaceAccess[] =
    VEL_HOST_EXPORT(hsRegisterInterfaceAccess, 4);
inline constexpr const char kExportMessage[] = VEL_HOST_EXPORT(hsMessage, 8);
inline constexpr const char kExportExecAction[] = VEL_HOST_EXPORT(hsExecAction, 8);
inline constexpr const char kExportEditAction[] = VEL_HOST_EXPORT(hsEditAction, 8);

#undef VEL_HOST_EXPORT

// The action procedures by action id (index 0 unused), and the painting
// procedure: undecorated on both.
inline constexpr const char* const kExportActionProcedures[8] = {
    nullptr,
    "XR_DIALOGS_FONTSELECTOR",
    "XR_DIALOGS_COLORSELECTOR",
    "XR_DIALOGS_FOLDERSELECTOR",
    "XR_DIALOGS_CALENDARSTART",
    "XR_DIALOGS_CALENDARSTOP",
    "XR_DIALOGS_OPENFILE",
    "XR_DIALOGS_SAVEFILE",
};
inline constexpr const char kExportCtrlProc[] = "CTRLPROC";
