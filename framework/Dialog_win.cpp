#include "framework/Dialog.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "framework/Exception.h"
#include "framework/WinApp.h"

// ---- data exchange ----

HWND CDataExchange::Control(int id) const {
    HWND control = dialog.GetDlgItem(id);
    if (!control) throw CResourceException();
    return control;
}

void CDataExchange::Fail(int id, const std::string& message) const {
    HWND control = dialog.GetDlgItem(id);
    if (control) {
        ::SetFocus(control);
        ::SendMessageA(control, EM_SETSEL, 0, -1);
    }
    ShowMessageBox(dialog.m_hWnd, message, "", MB_OK | MB_ICONEXCLAMATION);
    throw CUserException();
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    dx.Control(id);
    if (dx.saveAndValidate)
        value = dx.dialog.GetDlgItemText(id);
    else
        dx.dialog.SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    dx.Control(id);
    if (!dx.saveAndValidate) {
        dx.dialog.SetDlgItemText(id, std::to_string(value));
        return;
    }
    const std::string text = dx.dialog.GetDlgItemText(id);
    const char* p = text.c_str();
    while (*p == ' ' || *p == '\t') ++p;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(p, &end, 10);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (end == p || !end || *end != '\0' || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        dx.Fail(id, "Please enter an integer.");
    value = static_cast<int>(parsed);
}

void DDX_Check(CDataExchange& dx, int id, int& value) {
    HWND control = dx.Control(id);
    if (dx.saveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_LBIndex(CDataExchange& dx, int id, int& index) {
    HWND control = dx.Control(id);
    if (dx.saveAndValidate)
        index = static_cast<int>(::SendMessageA(control, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBIndex(CDataExchange& dx, int id, int& index) {
    HWND control = dx.Control(id);
    if (dx.saveAndValidate)
        index = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange& dx, int id, std::string& value) {
    HWND control = dx.Control(id);
    if (dx.saveAndValidate) {
        const LRESULT index = ::SendMessageA(control, LB_GETCURSEL, 0, 0);
        value.clear();
        if (index == LB_ERR) return;
        const LRESULT length = ::SendMessageA(control, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == LB_ERR) return;
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
        ::SendMessageA(control, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
        value = buffer.data();
        return;
    }
    // LB_SELECTSTRING with an empty text would select the first item.
    if (value.empty() ||
        ::SendMessageA(control, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str())) ==
            LB_ERR)
        ::SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

// ---- dialogs ----

CDialog::~CDialog() {
    // A modeless dialog that dies before its window: unbind first (see CFrameWnd).
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        m_hWnd = nullptr;
        CWinApp* app = GetApp();
        if (app && app->ModelessDialog() == hwnd) app->SetModelessDialog(nullptr);
        ::DestroyWindow(hwnd);
    }
}

HWND CDialog::ParentHandle() const {
    if (parent_) return parent_->m_hWnd;
    // Without an explicit parent a dialog belongs to the main window, so that
    // a modal one disables it and centres over it.
    CWinApp* app = GetApp();
    if (app && app->m_pMainWnd && ::IsWindow(app->m_pMainWnd->m_hWnd)) return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

void CDialog::DescribeForSeam(ModalInteraction& interaction) const {
    interaction.kind = ModalKind::dialog;
    interaction.id = static_cast<int>(templateId_);
    interaction.type = MB_OKCANCEL;
}

INT_PTR CDialog::DoModal() {
    if (HasModalAnswerer()) {
        ModalInteraction m;
        DescribeForSeam(m);
        return AnswerModal(m);
    }
    modal_ = true;
    HWND parent = ParentHandle();
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    const INT_PTR result =
        memoryTemplate_
            ? ::DialogBoxIndirectParamA(GetResourceInstance(), memoryTemplate_, parent, &CDialog::DialogProc, self)
            : ::DialogBoxParamA(GetResourceInstance(), MAKEINTRESOURCEA(templateId_), parent, &CDialog::DialogProc,
                                self);
    modal_ = false;
    return result;
}

bool CDialog::Create(HWND parent) {
    modal_ = false;
    if (!parent && parent_) parent = parent_->m_hWnd;
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    HWND hwnd = memoryTemplate_
                    ? ::CreateDialogIndirectParamA(GetResourceInstance(), memoryTemplate_, parent,
                                                   &CDialog::DialogProc, self)
                    : ::CreateDialogParamA(GetResourceInstance(), MAKEINTRESOURCEA(templateId_), parent,
                                           &CDialog::DialogProc, self);
    // A dialog that failed in its initialisation has already been destroyed.
    return hwnd != nullptr && m_hWnd == hwnd;
}

void CDialog::EndDialog(int result) {
    if (!m_hWnd) return;
    if (modal_) {
        ::EndDialog(m_hWnd, result);
        return;
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::DestroyWindow(m_hWnd);
}

bool CDialog::UpdateData(bool save) {
    CDataExchange dx(*this, save);
    try {
        DoDataExchange(dx);
    } catch (const CUserException&) {
        return false;
    }
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnCommand(int, int, HWND) { return false; }

void CDialog::DoDataExchange(CDataExchange&) {}

INT_PTR CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (OnCommand(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return TRUE;
        // Enter and Escape arrive as IDOK / IDCANCEL with code 0 (BN_CLICKED).
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        if (id == IDOK) {
            OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            OnCancel();
            return TRUE;
        }
        return FALSE;
    }
    case WM_ACTIVATE:
        // The active modeless top-level dialog gets the keyboard handling of
        // the message loop; it stays registered while a message box is up,
        // since IsDialogMessage ignores messages of other windows.
        if (LOWORD(wParam) != WA_INACTIVE && !modal_ && !(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CHILD)) {
            if (CWinApp* app = GetApp()) app->SetModelessDialog(m_hWnd);
        }
        return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        CWinApp* app = GetApp();
        if (!app || !app->DialogBackgroundBrush()) return FALSE;
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, app->DialogBackgroundColor());
        ::SetTextColor(dc, app->DialogTextColor());
        return reinterpret_cast<INT_PTR>(app->DialogBackgroundBrush());
    }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        if (self) {
            ::SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->m_hWnd = hwnd;
        }
    }
    if (!self) return FALSE;

    bool failed = true;
    INT_PTR result = CallGuarded(hwnd, message, wParam, lParam, [&] {
        const INT_PTR r = self->OnMessage(message, wParam, lParam);
        failed = false;
        return static_cast<LRESULT>(r);
    });
    if (failed) {
        // A dialog whose initialisation failed is of no use: end it (DoModal
        // returns -1, Create returns false). Other failures were reported;
        // the dialog manager then treats the message as not handled.
        if (message == WM_INITDIALOG) {
            if (self->modal_)
                ::EndDialog(hwnd, -1);
            else
                ::DestroyWindow(hwnd);
            return FALSE;
        }
    }

    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->OnNcDestroyed();
        CallGuarded(hwnd, message, wParam, lParam, [&] {
            self->PostNcDestroy();
            return LRESULT{0};
        });
    }
    return result;
}
