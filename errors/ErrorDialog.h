#pragma once
// The "Warning" report (template 1544): a headline, the catalogue's summary,
// and, expanded, its explanation and the error-information line. The OK-only
// form hides Cancel; the ask form offers "Continue Operation" and "Cancel
// Operation". Help (998) has no effect: Setup ships no help file.

#include <windows.h>

#include <string>

#include "errors/ExpandingDialog.h"
#include "framework/Handle.h"

class ErrorDialog : public ExpandingDialog {
public:
    ErrorDialog(unsigned messageId, std::string headline, std::string shortText, std::string longText,
                std::string errorInformation, bool ask, CWnd* parent = nullptr);

    // The answerer sees caption "Warning", the headline as text, the short
    // text, long text and information line as details, and MB_OKCANCEL for
    // the ask form (MB_OK otherwise).
    void DescribeForSeam(ModalInteraction& interaction) const override;

    const unsigned messageId;
    const std::string headline;
    const std::string shortText;
    const std::string longText;
    const std::string errorInformation;
    const bool ask;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UniqueBrush backgroundBrush_;   // button face, for the explanation panel
    UniqueFont detailFont_;         // "Arial" 8 pt for the explanation and information line
    const int iconId_;              // system icon shown in 142
};
