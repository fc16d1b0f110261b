#include "framework/FileDialog.h"

#include <algorithm>

#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

// The dialog whose hook is running. Common dialogs are modal and run on the
// one user-interface thread, so a chain through DoModal's locals suffices.
CFileDialog* runningDialog = nullptr;

UINT SelChangeMessage() {
    static const UINT id = ::RegisterWindowMessageA(LBSELCHSTRINGA);
    return id;
}

// Posted to itself after a drive change, see Dispatch.
UINT DriveChangedMessage() {
    static const UINT id = ::RegisterWindowMessageA("TvsFileDialogDriveChanged");
    return id;
}

constexpr int kFolderList = 1121;   // lst2 of the old-style template
constexpr int kDriveList = 1137;    // cmb2

UINT FileOkMessage() {
    static const UINT id = ::RegisterWindowMessageA(FILEOKSTRINGA);
    return id;
}

}  // namespace

CFileDialog::CFileDialog(bool openDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, HWND parent)
    : m_ofn{}, openDialog_(openDialog), fileBuffer_(1024, '\0') {
    if (fileName) {
        const std::size_t n = std::min(std::char_traits<char>::length(fileName), fileBuffer_.size() - 1);
        std::copy(fileName, fileName + n, fileBuffer_.begin());
    }
    if (filter) {
        // "Text|*.txt|All|*.*||" -> "Text\0*.txt\0All\0*.*\0\0"
        filter_ = filter;
        std::replace(filter_.begin(), filter_.end(), '|', '\0');
        filter_.push_back('\0');
    }
    if (defaultExtension) defaultExtension_ = defaultExtension;

    // The Windows 95 / NT 4 size of the structure: later fields do not exist there.
    m_ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    m_ofn.hwndOwner = parent;
    m_ofn.hInstance = GetResourceInstance();
    m_ofn.Flags = (flags | OFN_ENABLEHOOK) & ~static_cast<DWORD>(OFN_EXPLORER);
    m_ofn.lpfnHook = &CFileDialog::HookProc;
}

void CFileDialog::SetTemplate(UINT templateId) {
    templateId_ = templateId;
    m_ofn.Flags |= OFN_ENABLETEMPLATE;
}

void CFileDialog::SetInitialDirectory(const std::string& directory) { initialDirectory_ = directory; }

INT_PTR CFileDialog::DoModal() {
    if (HasModalAnswerer()) {
        ModalInteraction m;
        m.kind = ModalKind::fileDialog;
        m.id = static_cast<int>(templateId_);
        m.text = initialDirectory_;
        m.details.push_back(fileBuffer_.data());
        m.type = MB_OKCANCEL;
        return AnswerModal(m);
    }
    m_ofn.lpstrFile = fileBuffer_.data();
    m_ofn.nMaxFile = static_cast<DWORD>(fileBuffer_.size());
    m_ofn.lpstrFilter = filter_.empty() ? nullptr : filter_.c_str();
    m_ofn.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    m_ofn.lpstrInitialDir = initialDirectory_.empty() ? nullptr : initialDirectory_.c_str();
    m_ofn.lpTemplateName = templateId_ ? MAKEINTRESOURCEA(templateId_) : nullptr;
    if (!m_ofn.hwndOwner) {
        CWinApp* app = GetApp();
        if (app && app->m_pMainWnd) m_ofn.hwndOwner = app->m_pMainWnd->m_hWnd;
    }
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);

    CFileDialog* previous = runningDialog;
    runningDialog = this;
    const BOOL ok = openDialog_ ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    runningDialog = previous;
    m_hWnd = nullptr;
    return ok ? IDOK : IDCANCEL;
}

void CFileDialog::OnLBSelChangedNotify(int, int, int) {}

UINT_PTR CFileDialog::OnHookMessage(UINT, WPARAM, LPARAM) { return 0; }

std::string CFileDialog::GetDlgItemText(int id) const {
    HWND control = ::GetDlgItem(m_hWnd, id);
    if (!control) return {};
    std::vector<char> buffer(static_cast<std::size_t>(std::max(::GetWindowTextLengthA(control), 0)) + 1, '\0');
    ::GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

void CFileDialog::SetDlgItemText(int id, const std::string& text) { ::SetDlgItemTextA(m_hWnd, id, text.c_str()); }

UINT_PTR CFileDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog() ? TRUE : FALSE;
    if (message == SelChangeMessage()) {
        if (static_cast<int>(wParam) == kDriveList) driveNotifyPending_ = false;
        OnLBSelChangedNotify(static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == kDriveList && HIWORD(wParam) == CBN_SELCHANGE) {
        // Some implementations (Wine's among them) report a change of drive
        // with no selection notification, though the current directory
        // changes. Look again once the dialog has handled the change, unless
        // the notification came after all.
        driveNotifyPending_ = true;
        ::PostMessageA(m_hWnd, DriveChangedMessage(), 0, 0);
        return OnHookMessage(message, wParam, lParam);
    }
    if (message == DriveChangedMessage()) {
        if (driveNotifyPending_) {
            driveNotifyPending_ = false;
            const int index = static_cast<int>(::SendDlgItemMessageA(m_hWnd, kDriveList, CB_GETCURSEL, 0, 0));
            OnLBSelChangedNotify(kDriveList, index, CD_LBSELCHANGE);
        }
        return 1;
    }
    if (message == FileOkMessage()) {
        // Non-zero keeps an old-style dialog open.
        return OnFileNameOK() ? 1 : 0;
    }
    return OnHookMessage(message, wParam, lParam);
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CFileDialog* self = runningDialog;
    if (!self) return 0;
    if (message == WM_INITDIALOG) self->m_hWnd = hwnd;
    if (hwnd != self->m_hWnd) return 0;
    return static_cast<UINT_PTR>(
        CallGuarded(hwnd, message, wParam, lParam, [&] { return static_cast<LRESULT>(self->Dispatch(message, wParam, lParam)); }));
}
