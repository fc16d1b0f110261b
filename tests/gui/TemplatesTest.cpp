// Every dialog template of the program, created as a real dialog: title,
// size in dialog units, the controls the code drives (id, class, text,
// style), the pictures, and texts that fit their controls.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"

// Template numbers are fixed: translated resource sets are built against them.
static_assert(IDD_WELCOME == 102 && IDD_DIRECTORY == 104 && IDD_GROUP == 106 && IDD_COPY == 108 &&
              IDD_DISKETTE == 113 && IDD_READING == 114 && IDD_FINISHED == 115 && IDD_FAILED == 116 &&
              IDD_BUTTONBAR == 129 && IDD_CHANGEFOLDER == 138 && IDD_CONDITIONS == 1537 &&
              IDD_UNINSTALL_WELCOME == 1545 && IDD_REMOVING == 1546 && IDD_REMOVED == 1547 &&
              IDD_REGISTERING == 1549 && IDD_UNREGISTERING == 1550 && IDD_RESTART == 1558);
static_assert(IDC_NEXT == 1020 && IDC_BACK == 1027 && IDC_BAR_HELP == 9 && IDC_LOCATION == 1001 &&
              IDC_DIR_BROWSE == 4 && IDC_NEWGROUP == 1004 && IDC_EXISTINGGROUP == 1005 && IDC_GROUPNAME == 1006 &&
              IDC_GROUPLIST == 1007 && IDC_SOURCEFILE == 1008 && IDC_DESTFILE == 1009 && IDC_GAUGE == 1010 &&
              IDC_REQUIREMENTS == 1029 && IDC_REMOVINGFILE == 1031 && IDC_RESTART == 1035 &&
              IDC_DONTRESTART == 1036 && IDC_DISK_REQUEST == 1026 && IDC_DISK_EXPLANATION == 1033 &&
              IDC_DISK_BROWSE == 3 && IDC_DISK_SKIP == 5 && IDC_MORE == 119 && IDC_COLLAPSED_SIZE == 123 &&
              IDC_FOLDER_PATH == 1002 && IDC_FOLDER_PATHLABEL == 1034);
static_assert(IDI_PROGRAM == 4 && IDI_GROUP == 101 && IDI_DIRECTORY == 102 && IDI_PRODUCT == 103 &&
              IDI_DISKETTE == 130 && IDI_CONDITIONS == 132 && IDI_COPY == 133 && IDI_READING == 134 &&
              IDI_RESTART == 135 && IDI_REMOVING == 136 && IDI_CAUTION == 137 && IDI_REGISTER == 142 &&
              IDB_WELCOME == 149);

namespace {

// Style bits that a check looks at, and the values they must have.
struct StyleCheck {
    DWORD mask;
    DWORD value;
};

constexpr StyleCheck kAnyStyle{0, 0};
constexpr StyleCheck kVisible{WS_VISIBLE, WS_VISIBLE};
constexpr StyleCheck kHidden{WS_VISIBLE, 0};

struct ControlWant {
    int id;            // -1: a label without an id, found by class and text
    const char* cls;
    const char* text;  // nullptr: text not checked
    StyleCheck style;
    RECT units;        // position in dialog units; right == 0: not checked
};

struct TemplateWant {
    int id;
    const char* title;
    int width;
    int height;
    std::vector<int> pictures;  // icon ids of the page's SS_ICON statics, in template order
    std::vector<ControlWant> controls;
};

constexpr RECT kNoRect{0, 0, 0, 0};
constexpr StyleCheck kDefault{0x0F, BS_DEFPUSHBUTTON};
constexpr StyleCheck kPlain{0x0F, BS_PUSHBUTTON};
constexpr StyleCheck kEtched{SS_TYPEMASK, SS_ETCHEDHORZ};

RECT At(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

const std::vector<TemplateWant>& Templates() {
    static const std::vector<TemplateWant> wanted = {
        {IDD_WELCOME, "Welcome", 295, 161, {IDI_PRODUCT},
         {{-1, "Static", "Welcome to Tessaly Viewer 2.0 Setup.", kVisible, kNoRect},
          {-1, "Static",
           "This Setup program will install Tessaly Viewer on your computer. Full installation instructions "
           "will be provided.\n\nTo quit the Setup program at any time, choose Cancel Setup.\n\nTo install "
           "Tessaly Viewer, choose Next.",
           kVisible, kNoRect}}},
        {IDD_READING, "Tessaly Viewer Setup", 250, 45, {IDI_READING},
         {{-1, "Static", "Reading Setup information. Please wait.", kVisible, kNoRect}}},
        {IDD_CONDITIONS, "Install Conditions", 187, 155, {IDI_CONDITIONS},
         {{-1, "Static", "Cannot install  Tessaly Viewer.", kVisible, kNoRect},
          {-1, "Static",
           "This Setup program cannot install Tessaly Viewer on your computer, because the following "
           "requirements are not met by your computer:",
           kVisible, kNoRect},
          {IDC_REQUIREMENTS, "Static", "", {WS_BORDER | WS_VISIBLE, WS_BORDER | WS_VISIBLE}, kNoRect},  // framed
          {IDOK, "Button", "&Continue", kDefault, kNoRect}}},
        {IDD_DIRECTORY, "Select Directory", 295, 161, {IDI_DIRECTORY},
         {{-1, "Static",
           "Setup copies the Tessaly Viewer files to the following directory, which it will create on your "
           "hard disk.",
           kVisible, kNoRect},
          {-1, "Static", "&Location:", kVisible, kNoRect},
          {IDC_LOCATION, "Edit", "", {ES_AUTOHSCROLL | WS_VISIBLE, ES_AUTOHSCROLL | WS_VISIBLE}, kNoRect},
          {-1, "Static",
           "To specify a different location, press the Backspace key to remove characters, then type the "
           "drive and directory where you'd like Tessaly Viewer installed.",
           kVisible, kNoRect},
          {IDC_DIR_BROWSE, "Button", "B&rowse...", kPlain, kNoRect}}},
        {IDD_GROUP, "Select Program Item Group", 295, 161, {IDI_GROUP},
         {{-1, "Static",
           "This Setup program will create a Tessaly Viewer program icon. Please select a Program Item Group.",
           kVisible, kNoRect},
          {IDC_NEWGROUP, "Button", "Create &new group:",
           {0x0F | WS_GROUP, BS_AUTORADIOBUTTON | WS_GROUP}, kNoRect},
          {IDC_EXISTINGGROUP, "Button", "Use &existing group:", {0x0F | WS_GROUP, BS_AUTORADIOBUTTON}, kNoRect},
          {IDC_GROUPNAME, "Edit", "", kVisible, kNoRect},
          {IDC_GROUPLIST, "ListBox", nullptr,
           {LBS_SORT | LBS_NOTIFY, LBS_SORT | LBS_NOTIFY}, kNoRect}}},
        {IDD_COPY, "Tessaly Viewer Setup", 226, 109, {IDI_COPY},
         {{-1, "Static", "Source File:", kVisible, kNoRect},
          {IDC_SOURCEFILE, "Static", "", {SS_NOPREFIX, SS_NOPREFIX}, kNoRect},
          {-1, "Static", "Destination File:", kVisible, kNoRect},
          {IDC_DESTFILE, "Static", "", {SS_NOPREFIX, SS_NOPREFIX}, kNoRect},
          {IDC_GAUGE, "Static", "", {SS_TYPEMASK, SS_BLACKFRAME}, kNoRect},
          {IDCANCEL, "Button", "Cancel", kVisible, kNoRect}}},
        {IDD_REGISTERING, "Tessaly Viewer Setup", 250, 45, {IDI_REGISTER},
         {{-1, "Static", "Registering components...", kVisible, kNoRect}}},
        {IDD_FINISHED, "Tessaly Viewer Setup", 295, 161, {IDI_PRODUCT},
         {{-1, "Static", "Tessaly Viewer Installation is complete.", kVisible, kNoRect},
          {-1, "Static", "To start Tessaly Viewer, click Start Programs Tessaly Viewer.", kVisible, kNoRect},
          {-1, "Static", "", kEtched, kNoRect},
          {IDOK, "Button", "Finished", kDefault, kNoRect}}},
        {IDD_FAILED, "Tessaly Viewer Setup", 295, 161, {IDI_CAUTION},
         {{-1, "Static",
           "Tessaly Viewer has NOT been properly installed. You should run this setup procedure again in its "
           "entirety.",
           kVisible, kNoRect},
          {-1, "Static", "", kEtched, kNoRect},
          {IDOK, "Button", "&OK", kVisible, kNoRect}}},
        {IDD_RESTART, "Tessaly Viewer QZSETUPNAME", 295, 161, {IDI_RESTART},
         {{-1, "Static", "Tessaly Viewer Installation is complete.", kVisible, kNoRect},
          {-1, "Static", "Before you can run Tessaly Viewer, you will need to restart your computer.\n\n",
           kVisible, kNoRect},
          {-1, "Static",
           "To restart your computer now, save any unsaved documents and choose Restart. Or, choose Don't "
           "Restart to end this setup. You will need to restart manually before you can run Tessaly Viewer.",
           kVisible, kNoRect},
          {-1, "Static", "", kEtched, kNoRect},
          {IDC_RESTART, "Button", "&Restart", kPlain, kNoRect},
          {IDC_DONTRESTART, "Button", "&Don't Restart", kDefault, kNoRect}}},
        {IDD_BUTTONBAR, "", 272, 27, {},
         {{IDC_NEXT, "Button", "Next >", kDefault, At(135, 7, 50, 14)},
          {IDC_BACK, "Button", "< &Back", kPlain, At(86, 7, 50, 14)},
          {IDCANCEL, "Button", "Cancel", kPlain, At(18, 7, 50, 14)},
          {IDC_BAR_HELP, "Button", "&Help", kHidden, At(204, 7, 50, 14)},
          {-1, "Static", "", kEtched, At(0, 2, 272, 1)}}},
        {IDD_UNINSTALL_WELCOME, "Removing Tessaly Viewer", 295, 161, {IDI_CAUTION},
         {{-1, "Static", "You have chosen to remove Tessaly Viewer.", kVisible, kNoRect},
          {-1, "Static",
           "If you continue, this Setup program will remove Tessaly Viewer from your computer. \n\nTo remove "
           "Tessaly Viewer, choose Next.\n\nTo keep  Tessaly Viewer, choose Cancel.",
           kVisible, kNoRect}}},
        {IDD_REMOVING, "Tessaly Viewer Setup", 226, 73, {IDI_REMOVING},
         {{-1, "Static", "Removing File:", kVisible, kNoRect},
          {IDC_REMOVINGFILE, "Static", "", {SS_NOPREFIX | WS_VISIBLE, SS_NOPREFIX | WS_VISIBLE}, kNoRect},
          {IDCANCEL, "Button", "Cancel", kHidden, kNoRect}}},
        {IDD_UNREGISTERING, "Tessaly Viewer Setup", 250, 45, {IDI_REGISTER},
         {{-1, "Static", "Unregistering components...", kVisible, kNoRect}}},
        {IDD_REMOVED, "Tessaly Viewer Setup", 295, 161, {IDI_PRODUCT},
         {{-1, "Static", "Tessaly Viewer has been removed from your computer.", kVisible, kNoRect},
          {-1, "Static", "", kEtched, kNoRect},
          {IDOK, "Button", "Finished", kDefault, kNoRect}}},
        // The error report; its icon is the system's exclamation, set at run time.
        {IDD_ERROR, "Warning", 207, 162, {},
         {{IDOK, "Button", "OK", kDefault, At(137, 6, 64, 14)},
          {IDCANCEL, "Button", "Cancel", kPlain, At(137, 22, 64, 14)},
          {IDC_ERROR_HELP, "Button", "&Help", kPlain, At(137, 38, 64, 14)},
          {IDC_MORE, "Button", "&More>>", kPlain, At(137, 54, 64, 14)},
          {IDC_ERROR_HEADLINE, "Static", "Cannot Perform Operation:", {SS_TYPEMASK, SS_LEFT}, At(33, 8, 97, 20)},
          {IDC_ERROR_ICON, "Static", nullptr, {SS_TYPEMASK, SS_ICON}, kNoRect},
          {IDC_ERROR_SHORT, "Static", "An unspecified error has occurred.", {SS_TYPEMASK, SS_CENTER},
           At(5, 31, 125, 37)},
          {IDC_ERROR_INFO, "Static", "Error Information", {SS_TYPEMASK, SS_LEFT}, At(66, 146, 134, 8)},
          {IDC_COLLAPSED_SIZE, "Static", "", kHidden, At(198, 69, 9, 5)},
          {-1, "Static", "Further Information:", kVisible, At(5, 74, 113, 8)},
          {IDC_ERROR_LONG, "Edit", "",
           {ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER, ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER},
           At(5, 86, 196, 57)},
          {-1, "Static", "Error Information:", kVisible, At(4, 146, 57, 9)}}},
        {IDD_DISKETTE, "Insert Diskette", 236, 142, {IDI_DISKETTE},
         {{IDOK, "Button", "OK", kDefault, kNoRect},
          {IDCANCEL, "Button", "Cancel", kPlain, kNoRect},
          {IDC_DISK_REQUEST, "Static", "", {SS_NOPREFIX, SS_NOPREFIX}, kNoRect},
          {IDC_MORE, "Button", "&More>>", kPlain, kNoRect},
          {IDC_DISK_EXPLANATION, "Static", "Insert Disk explanation...", kVisible, kNoRect},
          {IDC_LOCATION, "Edit", "", {ES_AUTOHSCROLL, ES_AUTOHSCROLL}, kNoRect},
          {IDC_DISK_BROWSE, "Button", "&Browse...", kPlain, kNoRect},
          {IDC_DISK_SKIP, "Button", "&Skip File", {WS_DISABLED | WS_VISIBLE, WS_DISABLED | WS_VISIBLE}, kNoRect},
          {IDC_COLLAPSED_SIZE, "Static", "", kHidden, kNoRect}}},
        {IDD_CHANGEFOLDER, "Change Folder", 161, 175, {},
         {{IDOK, "Button", "OK", kDefault, kNoRect},
          {IDCANCEL, "Button", "Cancel", kPlain, kNoRect},
          {-1, "Static", "Enter or select a destination folder.", kVisible, kNoRect},
          {-1, "Static", "&Path:", kVisible, kNoRect},
          {IDC_FOLDER_PATH, "Edit", "", kVisible, kNoRect},
          {IDC_FOLDER_PATHLABEL, "Static", "Static", kVisible, kNoRect},
          {-1, "Static", "&Folders:", kVisible, kNoRect},
          {IDC_FOLDER_FOLDERS, "ListBox", nullptr, kVisible, kNoRect},
          {IDC_FOLDER_DRIVELABEL, "Static", "Dri&ves:", kVisible, kNoRect},
          {IDC_FOLDER_DRIVES, "ComboBox", nullptr, kVisible, kNoRect},
          {IDC_FOLDER_CURDIR, "Static", nullptr, kHidden, kNoRect},
          {IDC_FOLDER_FILENAME, "Edit", nullptr, kHidden, kNoRect},
          {IDC_FOLDER_FILES, "ListBox", nullptr, kHidden, kNoRect},
          {IDC_FOLDER_TYPELABEL, "Static", "List Files of &Type:", kHidden, kNoRect},
          {IDC_FOLDER_TYPES, "ComboBox", nullptr, kHidden, kNoRect},
          {IDC_FOLDER_READONLY, "Button", "&Read Only", kHidden, kNoRect}}},
    };
    return wanted;
}

INT_PTR CALLBACK TrivialDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

std::string TextOf(HWND window) {
    char buffer[1024] = "";
    int n = GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

std::string ClassOf(HWND window) {
    char buffer[64] = "";
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::vector<HWND> Children(HWND dialog) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

RECT RectInParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A top-level window to hold the child template (the button bar).
class Host {
public:
    Host() : window_(CreateWindowExA(0, "Static", "host", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr)) {}
    ~Host() { DestroyWindow(window_); }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

// A dialog created from one template, modeless, destroyed at scope end.
class Dialog {
public:
    explicit Dialog(int templateId)
        : host_(), window_(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                              IsChildTemplate(templateId) ? host_.get() : nullptr,
                                              &TrivialDialogProc, 0)) {}
    ~Dialog() {
        if (window_) DestroyWindow(window_);
    }
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    HWND get() const { return window_; }

private:
    static bool IsChildTemplate(int id) { return id == IDD_BUTTONBAR; }
    Host host_;
    HWND window_;
};

RECT DialogUnitsToPixels(HWND dialog, RECT units) {
    MapDialogRect(dialog, &units);
    return units;
}

// The style as the template meant it: the dialog manager turns a control's
// WS_BORDER into a 3-D client edge for version 4 programs.
DWORD StyleOf(HWND control) {
    DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    if (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) style |= WS_BORDER;
    return style;
}

bool IsEtchedLine(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ETCHEDHORZ;
}

HWND FindControl(HWND dialog, const ControlWant& want) {
    if (want.id != -1) return GetDlgItem(dialog, want.id);
    for (HWND child : Children(dialog)) {
        if (GetDlgCtrlID(child) != -1 && GetDlgCtrlID(child) != 0xFFFF) continue;
        if (lstrcmpiA(ClassOf(child).c_str(), want.cls) != 0) continue;
        if (want.text && TextOf(child) != want.text) continue;
        if ((StyleOf(child) & want.style.mask) != want.style.value) continue;
        return child;
    }
    return nullptr;
}

TEST(Templates, EveryTemplateHasItsTitleSizeAndControls) {
    for (const TemplateWant& want : Templates()) {
        SCOPED_TRACE("template " + std::to_string(want.id));
        Dialog dialog(want.id);
        ASSERT_NE(dialog.get(), nullptr);
        EXPECT_EQ(TextOf(dialog.get()), want.title);

        RECT expected = DialogUnitsToPixels(dialog.get(), RECT{0, 0, want.width, want.height});
        RECT client;
        GetClientRect(dialog.get(), &client);
        EXPECT_EQ(client.right, expected.right);
        EXPECT_EQ(client.bottom, expected.bottom);

        for (const ControlWant& control : want.controls) {
            SCOPED_TRACE("control " + std::to_string(control.id) + " " + (control.text ? control.text : ""));
            HWND child = FindControl(dialog.get(), control);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(lstrcmpiA(ClassOf(child).c_str(), control.cls), 0) << ClassOf(child);
            if (control.text) {
                EXPECT_EQ(TextOf(child), control.text);
            }
            EXPECT_EQ(StyleOf(child) & control.style.mask, control.style.value);
            if (control.units.right != 0) {
                // Position and size are converted separately, as the dialog manager does.
                const RECT& u = control.units;
                RECT want = DialogUnitsToPixels(dialog.get(), RECT{u.left, u.top, u.right - u.left, u.bottom - u.top});
                RECT have = RectInParent(child);
                EXPECT_EQ(have.left, want.left);
                EXPECT_EQ(have.top, want.top);
                if (!IsEtchedLine(child)) {  // Wine adds the static edge to an etched line
                    EXPECT_EQ(have.right - have.left, want.right);
                    EXPECT_EQ(have.bottom - have.top, want.bottom);
                }
            }
        }
    }
}

TEST(Templates, PagesAreHiddenPopupsAndTheBarIsAVisibleBorderlessChild) {
    for (const TemplateWant& want : Templates()) {
        SCOPED_TRACE("template " + std::to_string(want.id));
        Dialog dialog(want.id);
        ASSERT_NE(dialog.get(), nullptr);
        LONG style = GetWindowLongA(dialog.get(), GWL_STYLE);
        if (want.id == IDD_BUTTONBAR) {
            EXPECT_TRUE(style & WS_CHILD);
            EXPECT_TRUE(style & WS_VISIBLE);
            EXPECT_FALSE(style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME));
        } else {
            // Pages are shown by the navigator; a visible template would
            // flash before the page is centred.
            EXPECT_TRUE(style & WS_POPUP);
            EXPECT_TRUE(style & WS_CAPTION);
            EXPECT_FALSE(style & WS_VISIBLE);
        }
    }
}

// Bits of an icon's colour image, to tell two icons apart.
std::vector<unsigned char> IconBits(HICON icon) {
    std::vector<unsigned char> bits;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return bits;
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bits.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 4);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, info.hbmColor, 0, bm.bmHeight, bits.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bits;
}

TEST(Templates, PagesShowTheirOwnPictures) {
    for (const TemplateWant& want : Templates()) {
        SCOPED_TRACE("template " + std::to_string(want.id));
        if (want.id == IDD_ERROR) continue;  // the system's icon, set when the report is shown
        Dialog dialog(want.id);
        ASSERT_NE(dialog.get(), nullptr);
        std::vector<HWND> icons;
        for (HWND child : Children(dialog.get()))
            if (ClassOf(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                icons.push_back(child);
        ASSERT_EQ(icons.size(), want.pictures.size());
        for (size_t i = 0; i < icons.size(); ++i) {
            HICON shown = reinterpret_cast<HICON>(SendMessageA(icons[i], STM_GETICON, 0, 0));
            ASSERT_NE(shown, nullptr);
            HICON own = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(want.pictures[i]),
                                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
            ASSERT_NE(own, nullptr);
            EXPECT_EQ(IconBits(shown), IconBits(own)) << "icon " << want.pictures[i];
            DestroyIcon(own);
        }
    }
    Dialog welcome(IDD_WELCOME);
    HWND picture = nullptr;
    for (HWND child : Children(welcome.get()))
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) picture = child;
    ASSERT_NE(picture, nullptr);
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 80);
    EXPECT_EQ(bm.bmHeight, 120);
}

// Visible controls must lie inside the dialog, and texts must fit: with
// "MS Sans Serif" a clipped word is simply not drawn.
TEST(Templates, ControlsLieInsideAndTheirTextsFit) {
    for (const TemplateWant& want : Templates()) {
        SCOPED_TRACE("template " + std::to_string(want.id));
        Dialog dialog(want.id);
        ASSERT_NE(dialog.get(), nullptr);
        RECT client;
        GetClientRect(dialog.get(), &client);
        HDC dc = GetDC(dialog.get());
        HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog.get(), WM_GETFONT, 0, 0)));
        for (HWND child : Children(dialog.get())) {
            LONG style = GetWindowLongA(child, GWL_STYLE);
            if (!(style & WS_VISIBLE)) continue;
            std::string text = TextOf(child);
            SCOPED_TRACE("control " + std::to_string(GetDlgCtrlID(child)) + " \"" + text + "\"");
            RECT r = RectInParent(child);
            LONG edge = IsEtchedLine(child) ? 2 : 0;
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.right, client.right + edge);
            EXPECT_LE(r.bottom, client.bottom + edge);
            if (text.empty()) continue;
            std::string cls = ClassOf(child);
            if (cls == "Static" && (style & SS_TYPEMASK) == SS_LEFT) {
                RECT need{0, 0, r.right - r.left, 0};
                UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
                DrawTextA(dc, text.c_str(), -1, &need, flags);
                EXPECT_LE(need.right, r.right - r.left);
                EXPECT_LE(need.bottom, r.bottom - r.top);
            } else if (cls == "Button") {
                RECT need{0, 0, 0, 0};
                DrawTextA(dc, text.c_str(), -1, &need, DT_CALCRECT | DT_SINGLELINE);
                LONG type = style & 0x0F;
                // Push buttons need room for their 3-D edge, radio buttons for the circle.
                LONG margin = (type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX) ? 16 : 6;
                EXPECT_LE(need.right + margin, r.right - r.left);
            }
        }
        SelectObject(dc, oldFont);
        ReleaseDC(dialog.get(), dc);
    }
}

// The expanding base shrinks the prompt to the mark's bottom-right corner and
// disables what lies outside: the request and its buttons must be above it,
// the location part below.
TEST(Templates, DiskettePromptSplitsAtItsCollapseMark) {
    Dialog dialog(IDD_DISKETTE);
    ASSERT_NE(dialog.get(), nullptr);
    RECT mark = RectInParent(GetDlgItem(dialog.get(), IDC_COLLAPSED_SIZE));
    struct {
        int id;
        bool inside;
    } const cases[] = {{IDOK, true},
                       {IDCANCEL, true},
                       {IDC_MORE, true},
                       {IDC_DISK_REQUEST, true},
                       {IDC_DISK_EXPLANATION, false},
                       {IDC_LOCATION, false},
                       {IDC_DISK_BROWSE, false},
                       {IDC_DISK_SKIP, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        RECT r = RectInParent(GetDlgItem(dialog.get(), c.id));
        bool inside = r.right <= mark.right && r.bottom <= mark.bottom;
        EXPECT_EQ(inside, c.inside);
        if (!c.inside) {
            EXPECT_GE(r.top, mark.bottom);  // wholly below, not straddling
        }
    }
    // The icon sits in the collapsed part as well.
    for (HWND child : Children(dialog.get())) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
        RECT r = RectInParent(child);
        EXPECT_LE(r.bottom, mark.bottom);
    }
}

// The first tab stop takes the focus when a page starts: never the button
// that restarts the machine, and on input pages the field to type in.
TEST(Templates, FocusStartsOnTheSafeOrUsefulControl) {
    struct {
        int templateId;
        int firstTabStop;
    } const cases[] = {{IDD_RESTART, IDC_DONTRESTART}, {IDD_DISKETTE, IDOK},          {IDD_DIRECTORY, IDC_LOCATION},
                       {IDD_GROUP, IDC_NEWGROUP},      {IDD_CONDITIONS, IDOK},        {IDD_FINISHED, IDOK},
                       {IDD_BUTTONBAR, IDC_NEXT},      {IDD_CHANGEFOLDER, IDC_FOLDER_PATH}};
    for (const auto& c : cases) {
        SCOPED_TRACE("template " + std::to_string(c.templateId));
        Dialog dialog(c.templateId);
        ASSERT_NE(dialog.get(), nullptr);
        int first = 0;
        for (HWND child : Children(dialog.get())) {
            LONG style = GetWindowLongA(child, GWL_STYLE);
            if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
                first = GetDlgCtrlID(child);
                break;
            }
        }
        EXPECT_EQ(first, c.firstTabStop);
    }
}

// Template 138 must work as the custom template of the old-style common
// file dialog: the dialog starts, fills its folder and drive lists, and
// the hook can close it again.
struct FolderProbe {
    int folders = -1;
    int drives = -1;
    bool pathVisible = false;
    bool fileListVisible = true;
};
FolderProbe g_probe;

UINT_PTR CALLBACK ProbeHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        g_probe.folders = static_cast<int>(SendDlgItemMessageA(dialog, IDC_FOLDER_FOLDERS, LB_GETCOUNT, 0, 0));
        g_probe.drives = static_cast<int>(SendDlgItemMessageA(dialog, IDC_FOLDER_DRIVES, CB_GETCOUNT, 0, 0));
        // The dialog itself is not shown yet: look at the controls' own flags.
        g_probe.pathVisible = (GetWindowLongA(GetDlgItem(dialog, IDC_FOLDER_PATH), GWL_STYLE) & WS_VISIBLE) != 0;
        g_probe.fileListVisible = (GetWindowLongA(GetDlgItem(dialog, IDC_FOLDER_FILES), GWL_STYLE) & WS_VISIBLE) != 0;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return TRUE;
    }
    return FALSE;
}

TEST(Templates, ChangeFolderServesTheCommonFileDialog) {
    char file[MAX_PATH] = "jet.jet";
    char windowsDir[MAX_PATH] = "";
    GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hInstance = GetModuleHandleA(nullptr);
    ofn.lpstrFilter = "AllFiles (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = windowsDir;
    ofn.Flags = OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
    ofn.lpfnHook = &ProbeHook;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_CHANGEFOLDER);
    g_probe = FolderProbe();
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);  // cancelled, not failed
    EXPECT_GT(g_probe.folders, 0);
    EXPECT_GT(g_probe.drives, 0);
    EXPECT_TRUE(g_probe.pathVisible);
    EXPECT_FALSE(g_probe.fileListVisible);
}

}  // namespace

namespace {

// Every entry of the string table with its exact text, odd spacing and
// typos included: what the user reads, what a translation replaces. A
// changed letter in any of them fails here.
struct StringWant {
    unsigned id;
    const char* text;
};

const StringWant kStrings[] = {
        {4, "Tessaly Viewer Setup"},
        {5, "Tessaly Viewer  installation not complete. Do you really want to exit Setup?"},
        {6, "Tessaly Viewer"},
        {7, "Cannot Create Directory"},
        {9, "Setup cannot continue"},
        {10, "Incomplete or missing profile."},
        {13,
         "The profile that holds application install information is missing or damaged. Possible "
         "causes:\r\n\r\n- damaged diskette 1\r\n- possible diskette alignment or hardware problem\r\n- "
         "insufficient disk space"},
        {14, "Continue Operation"},
        {15, "Cancel Operation"},
        {17, "Cannot install files from '%s':"},
        {21, "tyviewer.exe"},
        {22, "Tessaly Viewer"},
        {23,
         "Windows could not shut down all running applications. \n\n Please close them manually, then "
         "try again."},
        {27, "The path can not be empty.  Please enter a path."},
        {28,
         "Setup cannot find the file '%s' on the drive and directory specified below. Please insert the "
         "specified diskette in this drive. If the files can be found in a different location, type the "
         "location below or pick with Browse."},
        {24576, "An unkown error occured."},
        {24577,
         "The requested operation cannot be completed because an error occurred. There is no more "
         "information available about this error. Please record the error information shown at the "
         "bottom of this message (click on More>>)."},
        {24578, "Not enough memory available."},
        {24579,
         "There is insufficient memory available to complete this operation. Exit other running "
         "applications or close additional documents and try the operation again."},
        {24580, "File Error."},
        {24581, "An error occurred with one of the files used in this operation."},
        {24582, "Archive Error"},
        {24583, "An error occurred in saving or loading this application's data to or from disk."},
        {24584, "Resource Error."},
        {24585,
         "An error occurred while accessing the resources associated with this application. Possible "
         "causes:\r\n\r\n- A damaged .EXE or .DLL file\r\n- Not enough file handles\r\n- System "
         "resources are exhausted."},
        {24586, "Operation cancelled."},
        {24587, "You cancelled this operation."},
        {24588, "This operation is not supported."},
        {24589, "You have requested an operation that is not supported by this application."},
        {24590, "File not found."},
        {24591,
         "A file required for this operation was not found. This could be because the wrong location for "
         "the file was specified, or because the file has been deleted."},
        {24592, "Invalid path."},
        {24593, "The path specfied for accessing a file is invalid. "},
        {24594, "Too many files open."},
        {24595,
         "There are too many files open. You can terminate other running applications or close other "
         "documents to close files, then try this operation again."},
        {24596, "Access denied."},
        {24597,
         "You do not have access rights to work with this file. Contact your system administrator if you "
         "need access to this file."},
        {24598, "Invalid file."},
        {24599, "Cannot remove current directory."},
        {24600, "Directory full."},
        {24601,
         "The directory used for this operation cannot hold any more files. Please select another "
         "directory, or remove one or more files from this directory."},
        {24602, "Bad seek."},
        {24603, "Hardware error."},
        {24604,
         "There was a hardware error accessing your file system. Possible causes\r:\n- incompatible "
         "driver versions\n- power surge\r\n- hardware failure\r\n\r\nYou may want to shut down your "
         "computer and try again."},
        {24605, "Sharing violation."},
        {24606,
         "A sharing violation occured accessing a file. Possible causes:\r\n\r\n-- another application "
         "has loaded this file\r\n- another user on the network has loaded this file\r\n- SHARE.EXE is "
         "not loaded\r\n- A previous application didn't release this file"},
        {24607, "Locking violation."},
        {24608,
         "A locking violation occured accessing a file. Possible causes:\r\n\r\n-- another application "
         "has loaded this file\n- another user on the network has loaded this file\r\n- SHARE.EXE is not "
         "loaded\r\n- A previous application didn't release this file"},
        {24609, "Disk full"},
        {24610,
         "There is not enough space on the specified drive for this operation. Either select a different "
         "drive or remove one or more files."},
        {24611, "End of file."},
        {27648, "Unknown compression method."},
        {27649,
         "The file this application is trying to extract was compressed with an unknown method. Possible "
         "causes:\r\n- the file was compressed with a different version of the software\r\n- the file is "
         "damaged\r\n- there is a diskette alignment or hardware problem"},
        {27650, "File is not an archive file."},
        {27651,
         "The file this application is extracting does not appear to be an archive file (there is no "
         "archive header). Possible causes:\r\n- wrong file on install diskettes\r\n- file is "
         "damaged\r\n- possible diskette drive alignment or hardware error"},
        {27652, "Archive file damaged (missing entry header)."},
        {27653,
         "The archive file this application is extracting appears damaged (no entry header found). "
         "Possible causes:\r\n\r\n- file is damaged on install diskettes\r\n- diskette drive alignment "
         "or hardware error"},
        {27654, "Archive file damaged (corrupt table)."},
        {27655,
         "The archive file this application is extracting appears damaged (corrupt table). Possible "
         "causes:\r\n\r\n- file is damaged on install diskettes\r\n- diskette drive alignment or "
         "hardware error"},
        {27656, "Archive file damaged (CRC Mismatch)"},
        {27657,
         "The archive file this application is extracting appears damaged (CRC Mismacth). Possible "
         "causes:\r\n\r\n- file is damaged on install diskettes\r\n- diskette drive alignment or "
         "hardware error"},
        {27658, "Archive file damaged (unknown error)."},
        {27659,
         "The archive file this application is extracting appears damaged . Possible causes:\r\n\r\n- "
         "file is damaged on install diskettes\r\n- diskette drive alignment or hardware error"},
        {27660, "Archive file damaged (stream error)."},
        {27661, "Archive file damaged (data error)."},
        {27662, "Archive file damaged (buffer error)."},
        {57345, "Successful installation."},
        {57346, "Install failed."},
};

std::string LoadEntry(unsigned id) {
    char buffer[4096] = "";
    const int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

TEST(StringTable, EveryEntryHasItsExactText) {
    for (const StringWant& want : kStrings) {
        SCOPED_TRACE(want.id);
        EXPECT_EQ(LoadEntry(want.id), want.text);
    }
    // And there is no entry the table does not list.
    std::vector<unsigned> present;
    for (unsigned id = 0; id <= 0xFFFF; ++id)
        if (!LoadEntry(id).empty()) present.push_back(id);
    std::vector<unsigned> listed;
    for (const StringWant& want : kStrings) listed.push_back(want.id);
    EXPECT_EQ(present, listed);
    EXPECT_EQ(listed.size(), 68u);
}
