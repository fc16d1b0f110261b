#pragma once
// Every resource id of the program by name: dialog templates, control ids,
// strings, icons and bitmaps. Included by the resource scripts and the code.
// Numbers are fixed: translated resource sets and tests depend on them.

// ---- program icon and pictures ----

// ---- error reporting: catalogue strings, error dialog template 1544 ----
// Catalogue: summaries and explanations of the exception family.
#define IDS_ERR_UNKNOWN             24576
#define IDS_ERR_UNKNOWN_LONG        24577
#define IDS_ERR_MEMORY              24578
#define IDS_ERR_MEMORY_LONG         24579
#define IDS_ERR_FILE                24580
#define IDS_ERR_FILE_LONG           24581
#define IDS_ERR_ARCHIVE             24582
#define IDS_ERR_ARCHIVE_LONG        24583
#define IDS_ERR_RESOURCE            24584
#define IDS_ERR_RESOURCE_LONG       24585
#define IDS_ERR_USER                24586
#define IDS_ERR_USER_LONG           24587
#define IDS_ERR_NOTSUPPORTED        24588
#define IDS_ERR_NOTSUPPORTED_LONG   24589
#define IDS_ERR_FILENOTFOUND        24590
#define IDS_ERR_FILENOTFOUND_LONG   24591
#define IDS_ERR_BADPATH             24592
#define IDS_ERR_BADPATH_LONG        24593
#define IDS_ERR_TOOMANYFILES        24594
#define IDS_ERR_TOOMANYFILES_LONG   24595
#define IDS_ERR_ACCESSDENIED        24596
#define IDS_ERR_ACCESSDENIED_LONG   24597
#define IDS_ERR_INVALIDFILE         24598
#define IDS_ERR_REMOVECURDIR        24599
#define IDS_ERR_DIRFULL             24600
#define IDS_ERR_DIRFULL_LONG        24601
#define IDS_ERR_BADSEEK             24602
#define IDS_ERR_HARDIO              24603
#define IDS_ERR_HARDIO_LONG         24604
#define IDS_ERR_SHARING             24605
#define IDS_ERR_SHARING_LONG        24606
#define IDS_ERR_LOCKING             24607
#define IDS_ERR_LOCKING_LONG        24608
#define IDS_ERR_DISKFULL            24609
#define IDS_ERR_DISKFULL_LONG       24610
#define IDS_ERR_ENDOFFILE           24611
#define IDS_ERR_PROFILE             10
#define IDS_ERR_PROFILE_LONG        13
#define IDS_ERR_MF_METHOD           27648
#define IDS_ERR_MF_METHOD_LONG      27649
#define IDS_ERR_MF_NOTARCHIVE       27650
#define IDS_ERR_MF_NOTARCHIVE_LONG  27651
#define IDS_ERR_MF_NOENTRY          27652
#define IDS_ERR_MF_NOENTRY_LONG     27653
#define IDS_ERR_MF_TABLE            27654
#define IDS_ERR_MF_TABLE_LONG       27655
#define IDS_ERR_MF_CRC              27656
#define IDS_ERR_MF_CRC_LONG         27657
#define IDS_ERR_ZLIB_UNKNOWN        27658
#define IDS_ERR_ZLIB_LONG           27659
#define IDS_ERR_ZLIB_STREAM         27660
#define IDS_ERR_ZLIB_DATA           27661
#define IDS_ERR_ZLIB_BUFFER         27662

// ---- wizard: pages, button bar, backdrop ----

// ---- profile and directory page ----

// ---- archive, diskette prompt, gauge ----

// ---- system integration ----
#define IDS_RESTART_FAILED 23     // restart refused by the system (restart page 1558)
#define IDS_STATUS_SUCCESS 57345  // status report text of a successful run
#define IDS_STATUS_FAILED 57346   // status report text of a failed run

// ---- uninstall ----
