// The network library's dialogs for Qt programs.
#pragma once

#if defined(VESKDLLUI_BUILD)
#define VESKDLLUI_API __attribute__((visibility("default")))
#else
#define VESKDLLUI_API
#endif

// Installs the dialogs into the network library (SetNetUi). Call once, after
// the QApplication exists and before CConn::Init.
VESKDLLUI_API void InstallNetDialogs();
// Takes them out again (the library runs headless); call before the
// QApplication goes away.
VESKDLLUI_API void RemoveNetDialogs();
