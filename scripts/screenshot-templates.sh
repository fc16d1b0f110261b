#!/bin/sh
# Takes screenshots of dialog templates as the user sees them: each page on
# the navy backdrop, centred, with the button bar under it where the page
# has one, and sample texts in the fields that the program fills at run
# time. For looking at layouts, not a test.
#
#   sh scripts/screenshot-templates.sh [template id ...]
#
# Default: 102 104 106 108 113 1545 1558. PNGs land in the Windows test tree's screenshots/.
# Builds a small preview program from this script and resources/setup.rc
# and runs it in a Wine prefix of its own (shot-prefix in the Windows test tree) with a
# virtual desktop, under Xvfb unless a display is set.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
out="$TVS_WIN_TREE/screenshots"
work="$TVS_WIN_TREE/screenshot-preview"
prefix="$TVS_WIN_TREE/shot-prefix"
ids=${*:-102 104 106 108 113 1545 1558}

if [ -z "$DISPLAY" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" $ids
fi

mkdir -p "$out" "$work"
cat >"$work/preview.cpp" <<'EOF'
// Shows one template the way the wizard would, then quits after a while.
#include <windows.h>
#include <commdlg.h>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include "resources/ResourceIds.h"
#include "app/ButtonBarLayout.h"

static INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

static LRESULT CALLBACK BackdropProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
        FillRect(dc, &r, navy);
        DeleteObject(navy);
        EndPaint(window, &ps);
        return 0;
    }
    if (message == WM_TIMER) { PostQuitMessage(0); return 0; }
    return DefWindowProcA(window, message, wParam, lParam);
}

static bool HasBar(int id) {
    return id == IDD_WELCOME || id == IDD_DIRECTORY || id == IDD_GROUP || id == IDD_CONDITIONS ||
           id == IDD_UNINSTALL_WELCOME || id == IDD_REMOVING || id == IDD_UNREGISTERING;
}

static void FillSamples(HWND page, int id) {
    char text[1024];
    switch (id) {
    case IDD_DIRECTORY: SetDlgItemTextA(page, IDC_LOCATION, "C:\\TYVIEWER"); break;
    case IDD_GROUP:
        SetDlgItemTextA(page, IDC_GROUPNAME, "Tessaly Viewer");
        for (const char* g : {"Accessories", "Games", "Main", "StartUp", "Chemistry Tools"})
            SendDlgItemMessageA(page, IDC_GROUPLIST, LB_ADDSTRING, 0, (LPARAM)g);
        CheckRadioButton(page, IDC_NEWGROUP, IDC_EXISTINGGROUP, IDC_NEWGROUP);
        break;
    case IDD_COPY:
        SetDlgItemTextA(page, IDC_SOURCEFILE, "VIEWER.MFA");
        SetDlgItemTextA(page, IDC_DESTFILE, "C:\\TYVIEWER\\TYVIEWER.EXE");
        break;
    case IDD_REMOVING: SetDlgItemTextA(page, IDC_REMOVINGFILE, "C:\\TYVIEWER\\SAMPLES\\CAFFEINE.MOL"); break;
    case IDD_CONDITIONS: SetDlgItemTextA(page, IDC_REQUIREMENTS, "- a 386 processor or better\r\n- 8 MB of memory"); break;
    case IDD_DISKETTE:
        SetDlgItemTextA(page, IDC_DISK_REQUEST, "Please insert the diskette labelled 'Tessaly Viewer Disk 2' in drive A:");
        LoadStringA(GetModuleHandleA(nullptr), IDS_DISK_EXPLANATION, text, sizeof text);
        {
            char filled[1024];
            wsprintfA(filled, text, "A:\\VIEWER.MF2");
            SetDlgItemTextA(page, IDC_DISK_EXPLANATION, filled);
        }
        SetDlgItemTextA(page, IDC_LOCATION, "A:\\");
        break;
    }
}

// The folder browser runs inside the common file dialog, as the program
// uses it; the hook cancels it after a while.
static UINT_PTR CALLBACK FolderHook(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(dialog, IDC_FOLDER_PATH, "C:\\windows");
        SetTimer(dialog, 1, 4000, nullptr);
        return TRUE;
    }
    if (message == WM_TIMER) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

static void RunFolderBrowser(HWND owner) {
    char file[MAX_PATH] = "jet.jet";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.hInstance = GetModuleHandleA(nullptr);
    ofn.lpstrFilter = "AllFiles (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = "C:\\windows";
    ofn.Flags = OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK;
    ofn.lpfnHook = FolderHook;
    ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_CHANGEFOLDER);
    ofn.lpstrTitle = "Change Folder";  // as Setup titles its folder browser
    GetSaveFileNameA(&ofn);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR args, int) {
    int id = atoi(args);
    WNDCLASSA wc{};
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    wc.lpszClassName = "TvsPreviewBackdrop";
    RegisterClassA(&wc);
    char title[128] = "";
    LoadStringA(instance, IDS_SETUP_TITLE, title, sizeof title);
    HWND backdrop = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    ShowWindow(backdrop, SW_SHOWMAXIMIZED);
    UpdateWindow(backdrop);
    if (id == IDD_CHANGEFOLDER) {
        RunFolderBrowser(backdrop);
        return 0;
    }
    HWND page = CreateDialogParamA(instance, MAKEINTRESOURCEA(id), backdrop, PageProc, 0);
    if (!page) return 1;
    if (HasBar(id)) {
        HWND bar = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_BUTTONBAR), page, PageProc, 0);
        RECT barRect, pageRect, client;
        GetWindowRect(bar, &barRect);
        GetWindowRect(page, &pageRect);
        GetClientRect(page, &client);
        // The program's own layout, so the shot shows what Setup shows.
        const ButtonBarLayout l = ComputeButtonBarLayout(
            client.right - client.left, client.bottom - client.top, pageRect.right - pageRect.left,
            pageRect.bottom - pageRect.top, barRect.right - barRect.left, barRect.bottom - barRect.top);
        MoveWindow(bar, l.barX, l.barY, l.barWidth, l.barHeight, FALSE);
        MoveWindow(page, pageRect.left, pageRect.top, l.pageWidth, l.pageHeight, FALSE);
        EnableWindow(GetDlgItem(bar, IDC_BACK), id != IDD_WELCOME && id != IDD_UNINSTALL_WELCOME);
    }
    FillSamples(page, id);
    RECT r, screen;
    GetWindowRect(page, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    SetWindowPos(page, nullptr, (screen.right - (r.right - r.left)) / 2, (screen.bottom - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    ShowWindow(page, SW_SHOW);
    SetTimer(backdrop, 1, 4000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(page, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
EOF

triplet=i686-w64-mingw32
[ "$TVS_WINE_ARCH" = win64 ] && triplet=x86_64-w64-mingw32
(cd "$root/resources" && $triplet-windres -I"$root" -O coff setup.rc -o "$work/setup.res.o")
$triplet-g++-posix -std=c++17 -O1 -mwindows -static -I"$root" "$work/preview.cpp" "$root/app/ButtonBarLayout.cpp" "$work/setup.res.o" \
    -o "$work/preview.exe" -lcomdlg32

export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
tvs_ensure_prefix "$prefix"
wineserver -p </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1

for id in $ids; do
    wine "$work/preview.exe" "$id" </dev/null >/dev/null 2>&1 &
    pid=$!
    sleep 2.5
    import -window root "$out/template-$id.png"
    wait "$pid" || echo "template $id: preview failed" >&2
    echo "$out/template-$id.png"
done
wineserver -k </dev/null >/dev/null 2>&1 || true
