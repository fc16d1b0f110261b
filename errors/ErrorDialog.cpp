#include "errors/ErrorDialog.h"

#include "errors/SetupException.h"
#include "framework/Font.h"
#include "resources/ResourceIds.h"

ErrorDialog::ErrorDialog(unsigned messageId, std::string headline, std::string shortText, std::string longText,
                         std::string errorInformation, bool ask, CWnd* parent)
    : ExpandingDialog(IDD_ERROR, parent),
      messageId(messageId),
      headline(std::move(headline)),
      shortText(std::move(shortText)),
      longText(std::move(longText)),
      errorInformation(std::move(errorInformation)),
      ask(ask),
      backgroundBrush_(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE))),
      detailFont_(CreateFontInPoints(nullptr, "Arial", 8)),
      iconId_(32515) {}  // IDI_EXCLAMATION

void ErrorDialog::DescribeForSeam(ModalInteraction& interaction) const {
    ExpandingDialog::DescribeForSeam(interaction);
    interaction.caption = "Warning";
    interaction.text = headline;
    interaction.details = {shortText, longText, errorInformation};
    interaction.type = ask ? MB_OKCANCEL : MB_OK;
}

void ErrorDialog::DoDataExchange(CDataExchange& dx) {
    // The texts are only ever pushed into the controls, never read back.
    if (dx.saveAndValidate) return;
    HICON icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(iconId_));
    SendDlgItemMessage(IDC_ERROR_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon));
    SetDlgItemText(IDC_ERROR_HEADLINE, headline);
    SetDlgItemText(IDC_ERROR_SHORT, shortText);
    SetDlgItemText(IDC_ERROR_LONG, longText);
    SetDlgItemText(IDC_ERROR_INFO, errorInformation);
}

bool ErrorDialog::OnInitDialog() {
    ExpandingDialog::OnInitDialog();
    if (ask) {
        SetDlgItemText(IDOK, LoadResourceString(IDS_CONTINUE_OPERATION));
        SetDlgItemText(IDCANCEL, LoadResourceString(IDS_CANCEL_OPERATION));
    } else {
        // Escape still ends the dialog through IDCANCEL.
        ::ShowWindow(GetDlgItem(IDCANCEL), SW_HIDE);
    }
    if (detailFont_) {
        SendDlgItemMessage(IDC_ERROR_INFO, WM_SETFONT, reinterpret_cast<WPARAM>(detailFont_.Get()), TRUE);
        SendDlgItemMessage(IDC_ERROR_LONG, WM_SETFONT, reinterpret_cast<WPARAM>(detailFont_.Get()), TRUE);
    }
    CenterWindow();
    return true;
}

INT_PTR ErrorDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A read-only edit asks with WM_CTLCOLORSTATIC, an enabled one may ask
    // with WM_CTLCOLOREDIT: either way the explanation reads as a panel.
    if ((message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT) &&
        reinterpret_cast<HWND>(lParam) == GetDlgItem(IDC_ERROR_LONG) && backgroundBrush_) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(backgroundBrush_.Get());
    }
    return ExpandingDialog::OnMessage(message, wParam, lParam);
}
