#pragma once
// Every resource id of the program by name: dialog templates, control ids,
// strings, icons and bitmaps. Included by the resource scripts and the code.
// Numbers are fixed: translated resource sets and tests depend on them.

// ---- program icon and pictures ----
// Icons are 32x32 16-colour pictures; the program icon also has 16x16.
#define IDI_PROGRAM                 4       // backdrop window class icon
#define IDI_GROUP                   101     // program item group page
#define IDI_DIRECTORY               102     // destination directory page
#define IDI_PRODUCT                 103     // welcome, finished and removed pages
#define IDI_DISKETTE                130     // diskette prompt
#define IDI_CONDITIONS              132     // install conditions not met
#define IDI_COPY                    133     // copy progress page
#define IDI_READING                 134     // reading the setup information
#define IDI_RESTART                 135     // restart page
#define IDI_REMOVING                136     // removing files page
#define IDI_CAUTION                 137     // failure page, remove confirmation
#define IDI_REGISTER                142     // registering and unregistering pages
#define IDB_WELCOME                 149     // 80x120 picture on the welcome page

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

// Error dialog (template 1544) and the expanding dialog base.
#define IDD_ERROR                   1544
#define IDC_MORE                    119   // "More" button of every expanding dialog
#define IDC_COLLAPSED_SIZE          123   // hidden frame: its bottom-right corner is the collapsed size
#define IDC_ERROR_SHORT             140
#define IDC_ERROR_HEADLINE          141
#define IDC_ERROR_ICON              142
#define IDC_ERROR_INFO              144
#define IDC_ERROR_LONG              152
#define IDC_ERROR_HELP              998
// Report headlines and the ask form's button captions.
#define IDS_SETUP_CANNOT_CONTINUE   9
#define IDS_CONTINUE_OPERATION      14
#define IDS_CANCEL_OPERATION        15
#define IDS_CANNOT_INSTALL_FROM     17

// ---- wizard: pages, button bar, backdrop ----
// Texts that name the product; translated string tables change them.
#define IDS_SETUP_TITLE             4       // backdrop title and banner
#define IDS_EXIT_QUESTION           5       // asked by Cancel and by closing the backdrop
#define IDS_GROUP_NAME              6       // default program group
#define IDS_MAIN_PROGRAM            21      // file name of the installed main program
#define IDS_PRODUCT_NAME            22      // uninstall entry and status report

// Page templates of the install sequence.
#define IDD_WELCOME                 102
#define IDD_GROUP                   106
#define IDD_COPY                    108
#define IDD_READING                 114
#define IDD_FINISHED                115
#define IDD_FAILED                  116
#define IDD_CONDITIONS              1537
#define IDD_REGISTERING             1549
#define IDD_RESTART                 1558

// Button bar under the question pages.
#define IDD_BUTTONBAR               129
#define IDC_NEXT                    1020
#define IDC_BACK                    1027
#define IDC_BAR_HELP                9       // never shown

// Page controls.
#define IDC_NEWGROUP                1004    // radio "Create new group"
#define IDC_EXISTINGGROUP           1005    // radio "Use existing group"
#define IDC_GROUPNAME               1006    // edit: new group name
#define IDC_GROUPLIST               1007    // list box: existing groups
#define IDC_SOURCEFILE              1008    // copy page: source file name
#define IDC_DESTFILE                1009    // copy page: destination path
#define IDC_GAUGE                   1010    // copy page: frame the gauge replaces
#define IDC_REQUIREMENTS            1029    // install conditions: unmet requirements
#define IDC_RESTART                 1035    // restart page: "Restart"
#define IDC_DONTRESTART             1036    // restart page: "Don't Restart" (acts as OK)

// ---- profile and directory page ----
#define IDS_CANNOT_CREATE_DIR       7       // a new install directory could not be made
#define IDS_PATH_EMPTY              27      // Browse or the folder browser with no path

#define IDD_DIRECTORY               104
#define IDC_LOCATION                1001    // directory edit; also the diskette prompt's location
#define IDC_DIR_BROWSE              4       // directory page: "Browse..."

// "Change Folder": the common file dialog's old-style template used as a
// folder browser. 1088..1152 are the ids the common dialog itself drives.
#define IDD_CHANGEFOLDER            138
#define IDC_FOLDER_PATH             1002    // edit: the chosen path
#define IDC_FOLDER_PATHLABEL        1034    // read-only form of the chosen path
#define IDC_FOLDER_CURDIR           1088    // current directory (hidden)
#define IDC_FOLDER_TYPELABEL        1089    // "List Files of Type:" (hidden)
#define IDC_FOLDER_DRIVELABEL       1091    // "Drives:"
#define IDC_FOLDER_FILES            1120    // file list (hidden)
#define IDC_FOLDER_FOLDERS          1121    // folder list
#define IDC_FOLDER_TYPES            1136    // file type list (hidden)
#define IDC_FOLDER_DRIVES           1137    // drive list
#define IDC_FOLDER_FILENAME         1152    // file name (hidden)
#define IDC_FOLDER_READONLY         1040    // "Read Only" (hidden)

// ---- archive, diskette prompt, gauge ----
#define IDS_DISK_EXPLANATION        28      // diskette prompt explanation, %s = missing file

#define IDD_DISKETTE                113
#define IDC_DISK_REQUEST            1026    // "Please insert ..." line
#define IDC_DISK_EXPLANATION        1033    // string 28, formatted
#define IDC_DISK_BROWSE             3       // "Browse..."
#define IDC_DISK_SKIP               5       // "Skip File": no action
// The prompt also uses IDC_MORE and IDC_COLLAPSED_SIZE of the expanding dialog.

// ---- system integration ----
#define IDS_RESTART_FAILED 23     // restart refused by the system (restart page 1558)
#define IDS_STATUS_SUCCESS 57345  // status report text of a successful run
#define IDS_STATUS_FAILED 57346   // status report text of a failed run

// ---- uninstall ----
#define IDD_UNINSTALL_WELCOME       1545
#define IDD_REMOVING                1546
#define IDD_REMOVED                 1547
#define IDD_UNREGISTERING           1550
#define IDC_REMOVINGFILE            1031    // path being removed
