#pragma once
// Resource and control ids of tyviewer.exe (also used by its tests).

#define IDI_TYVIEWER 1
#define IDC_VIEWER_FILE_NAME 101  // static: the molecule file's name, or "No molecule file"
#define IDC_VIEWER_STATUS 102     // static: atom and bond counts, or "cannot read"

#define TYVIEWER_WINDOW_CLASS "TessalyViewerWnd"
#define TYVIEWER_WINDOW_TITLE "Tessaly Viewer"
