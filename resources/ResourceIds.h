#pragma once
// Every resource id of the program by name: dialog templates, control ids,
// strings, icons and bitmaps. Included by the resource scripts and the code.
// Numbers are fixed: translated resource sets and tests depend on them.

// ---- program icon and pictures ----

// ---- error reporting: catalogue strings, error dialog template 1544 ----

// ---- wizard: pages, button bar, backdrop ----

// ---- profile and directory page ----

// ---- archive, diskette prompt, gauge ----

// ---- system integration ----
#define IDS_RESTART_FAILED 23     // restart refused by the system (restart page 1558)
#define IDS_STATUS_SUCCESS 57345  // status report text of a successful run
#define IDS_STATUS_FAILED 57346   // status report text of a failed run

// ---- uninstall ----
