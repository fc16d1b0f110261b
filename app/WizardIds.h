#pragma once
// Resource ids the wizard uses, by name. The names live in
// resources/ResourceIds.h; the fallbacks below keep this part building
// against a resource header that does not carry them yet, with the same
// numbers.

#include "resources/ResourceIds.h"

#ifndef IDI_PROGRAM
#define IDI_PROGRAM 4
#endif
#ifndef IDS_SETUP_TITLE
#define IDS_SETUP_TITLE 4
#endif
#ifndef IDS_EXIT_QUESTION
#define IDS_EXIT_QUESTION 5
#endif
#ifndef IDS_GROUP_NAME
#define IDS_GROUP_NAME 6
#endif
#ifndef IDS_SETUP_CANNOT_CONTINUE
#define IDS_SETUP_CANNOT_CONTINUE 9
#endif
#ifndef IDS_MAIN_PROGRAM
#define IDS_MAIN_PROGRAM 21
#endif
#ifndef IDS_PRODUCT_NAME
#define IDS_PRODUCT_NAME 22
#endif
#ifndef IDS_RESTART_FAILED
#define IDS_RESTART_FAILED 23
#endif
#ifndef IDS_STATUS_SUCCESS
#define IDS_STATUS_SUCCESS 57345
#endif
#ifndef IDS_STATUS_FAILED
#define IDS_STATUS_FAILED 57346
#endif
#ifndef IDD_WELCOME
#define IDD_WELCOME 102
#endif
#ifndef IDD_DIRECTORY
#define IDD_DIRECTORY 104
#endif
#ifndef IDD_GROUP
#define IDD_GROUP 106
#endif
#ifndef IDD_COPY
#define IDD_COPY 108
#endif
#ifndef IDD_READING
#define IDD_READING 114
#endif
#ifndef IDD_FINISHED
#define IDD_FINISHED 115
#endif
#ifndef IDD_FAILED
#define IDD_FAILED 116
#endif
#ifndef IDD_BUTTONBAR
#define IDD_BUTTONBAR 129
#endif
#ifndef IDD_CONDITIONS
#define IDD_CONDITIONS 1537
#endif
#ifndef IDD_UNINSTALL_WELCOME
#define IDD_UNINSTALL_WELCOME 1545
#endif
#ifndef IDD_REMOVING
#define IDD_REMOVING 1546
#endif
#ifndef IDD_REMOVED
#define IDD_REMOVED 1547
#endif
#ifndef IDD_REGISTERING
#define IDD_REGISTERING 1549
#endif
#ifndef IDD_UNREGISTERING
#define IDD_UNREGISTERING 1550
#endif
#ifndef IDD_RESTART
#define IDD_RESTART 1558
#endif
#ifndef IDC_NEXT
#define IDC_NEXT 1020
#endif
#ifndef IDC_BACK
#define IDC_BACK 1027
#endif
#ifndef IDC_NEWGROUP
#define IDC_NEWGROUP 1004
#endif
#ifndef IDC_EXISTINGGROUP
#define IDC_EXISTINGGROUP 1005
#endif
#ifndef IDC_GROUPNAME
#define IDC_GROUPNAME 1006
#endif
#ifndef IDC_GROUPLIST
#define IDC_GROUPLIST 1007
#endif
#ifndef IDC_REQUIREMENTS
#define IDC_REQUIREMENTS 1029
#endif
#ifndef IDC_RESTART
#define IDC_RESTART 1035
#endif
#ifndef IDC_DONTRESTART
#define IDC_DONTRESTART 1036
#endif
