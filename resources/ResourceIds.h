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

// ---- uninstall ----
