// The "Warning" report on screen, driven from a second thread while the
// modal dialog runs on the test's thread.

#include <gtest/gtest.h>

#include "ModalDriver.h"

#include <functional>
#include <string>
#include <vector>

#include "errors/ErrorDialog.h"
#include "errors/ReportException.h"
#include "framework/ModalSeam.h"
#include "framework/WinApp.h"
#include "resources/ResourceIds.h"
#include "tools/guidriver/GuiDriver.h"

namespace {

namespace gd = guidriver;

// What the driver saw of the dialog at one moment.
struct Face {
    std::string title;
    std::string headline, shortText, longText, info;
    std::string okText, cancelText, moreText;
    bool cancelVisible = false;
    bool longEnabled = false;
    bool infoEnabled = false;
    bool okEnabled = false;
    bool moreEnabled = false;
    bool hasIcon = false;
    SIZE clientDU{};
};

Face Look(HWND w) {
    Face f;
    f.title = gd::WindowText(w);
    f.headline = gd::ControlText(w, IDC_ERROR_HEADLINE);
    f.shortText = gd::ControlText(w, IDC_ERROR_SHORT);
    f.longText = gd::ControlText(w, IDC_ERROR_LONG);
    f.info = gd::ControlText(w, IDC_ERROR_INFO);
    f.okText = gd::ControlText(w, IDOK);
    f.cancelText = gd::ControlText(w, IDCANCEL);
    f.moreText = gd::ControlText(w, IDC_MORE);
    f.cancelVisible = gd::IsControlVisible(w, IDCANCEL);
    f.longEnabled = gd::IsControlEnabled(w, IDC_ERROR_LONG);
    f.infoEnabled = gd::IsControlEnabled(w, IDC_ERROR_INFO);
    f.okEnabled = gd::IsControlEnabled(w, IDOK);
    f.moreEnabled = gd::IsControlEnabled(w, IDC_MORE);
    f.hasIcon = ::SendDlgItemMessageA(w, IDC_ERROR_ICON, STM_GETICON, 0, 0) != 0;
    f.clientDU = gd::ClientSizeInDialogUnits(w);
    return f;
}

// Runs `show` while `script` acts on the dialog from a second thread.
void DriveDialog(const std::function<void(HWND)>& script, const std::function<void()>& show,
                 bool* dialogSeen = nullptr) {
    modal_driver::DriveModal("Warning", IDC_ERROR_LONG, script, show, dialogSeen);
}

class ErrorDialogGui : public ::testing::Test {
protected:
    void SetUp() override { InstallResourceStringLoader(); }
    void TearDown() override { SetStringLoader(nullptr); }
};

}  // namespace

TEST_F(ErrorDialogGui, OkOnlyFormOpensCollapsedAndToggles) {
    std::vector<Face> faces;
    bool stillOpenAfterToggles = false;
    bool seen = false;
    DriveDialog(
        [&](HWND w) {
            faces.push_back(Look(w));
            gd::Click(w, IDC_MORE);
            faces.push_back(Look(w));
            gd::Click(w, IDC_MORE);
            faces.push_back(Look(w));
            stillOpenAfterToggles = ::IsWindow(w) != FALSE;
            gd::PressKey(w, VK_ESCAPE);  // Cancel is hidden, yet Escape ends the report
        },
        [] { ReportException(IDS_SETUP_CANNOT_CONTINUE, CFileException(CFileException::diskFull, 112, "C:\\X")); },
        &seen);
    ASSERT_TRUE(seen);
    ASSERT_EQ(faces.size(), 3u);

    const Face& collapsed = faces[0];
    EXPECT_EQ(collapsed.title, "Warning");
    EXPECT_EQ(collapsed.headline, "Setup cannot continue");
    EXPECT_EQ(collapsed.shortText, "Disk full");
    EXPECT_EQ(collapsed.longText,
              "There is not enough space on the specified drive for this operation. Either select a different drive "
              "or remove one or more files.");
    EXPECT_EQ(collapsed.info, "9.13 (CXFileException)");
    EXPECT_EQ(collapsed.okText, "OK");
    EXPECT_FALSE(collapsed.cancelVisible);
    EXPECT_TRUE(collapsed.hasIcon);
    EXPECT_EQ(collapsed.moreText, "&More>>");
    EXPECT_TRUE(collapsed.okEnabled);
    EXPECT_TRUE(collapsed.moreEnabled);
    EXPECT_FALSE(collapsed.longEnabled);
    EXPECT_FALSE(collapsed.infoEnabled);
    EXPECT_EQ(collapsed.clientDU.cx, 207);
    EXPECT_EQ(collapsed.clientDU.cy, 74);

    const Face& expanded = faces[1];
    EXPECT_EQ(expanded.moreText, "&More<<");
    EXPECT_TRUE(expanded.longEnabled);
    EXPECT_TRUE(expanded.infoEnabled);
    EXPECT_EQ(expanded.clientDU.cx, 207);
    EXPECT_EQ(expanded.clientDU.cy, 162);

    const Face& again = faces[2];
    EXPECT_EQ(again.moreText, "&More>>");
    EXPECT_FALSE(again.longEnabled);
    EXPECT_EQ(again.clientDU.cy, 74);
    EXPECT_TRUE(stillOpenAfterToggles);
}

TEST_F(ErrorDialogGui, AskFormOffersContinueAndCancelAndMapsTheResult) {
    struct Case {
        const char* what;
        std::function<void(HWND)> act;
        bool expected;
    };
    const Case cases[] = {
        {"Continue", [](HWND w) { gd::Click(w, IDOK); }, true},
        {"Cancel", [](HWND w) { gd::Click(w, IDCANCEL); }, false},
        {"Escape", [](HWND w) { gd::PressKey(w, VK_ESCAPE); }, false},
        {"Enter on the default button", [](HWND w) { gd::PressKey(w, VK_RETURN); }, true},
        {"close box", [](HWND w) { gd::Close(w); }, false},
        {"Help does nothing, then Continue",
         [](HWND w) {
             gd::Click(w, IDC_ERROR_HELP);
             if (::IsWindow(w)) gd::Click(w, IDOK);
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Face face;
        bool answer = !c.expected;
        bool seen = false;
        DriveDialog(
            [&](HWND w) {
                face = Look(w);
                c.act(w);
            },
            [&] {
                answer = ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM,
                                                       CFileException(CFileException::fileNotFound), "TYVIEW.EX_");
            },
            &seen);
        ASSERT_TRUE(seen);
        EXPECT_EQ(answer, c.expected);
        EXPECT_EQ(face.headline, "Cannot install files from 'TYVIEW.EX_':");
        EXPECT_EQ(face.shortText, "File not found.");
        EXPECT_EQ(face.info, "17.2 (CXFileException)");
        EXPECT_EQ(face.okText, "Continue Operation");
        EXPECT_EQ(face.cancelText, "Cancel Operation");
        EXPECT_TRUE(face.cancelVisible);
    }
}

TEST_F(ErrorDialogGui, DetailFontPanelColourAndPlacement) {
    struct Seen {
        std::string face;
        LONG height = 0;
        bool panelBrush = false;
        COLORREF panelBk = 0;
        POINT centre{};
    } seen;
    DriveDialog(
        [&](HWND w) {
            for (int id : {IDC_ERROR_LONG, IDC_ERROR_INFO}) {
                HFONT font = reinterpret_cast<HFONT>(::SendDlgItemMessageA(w, id, WM_GETFONT, 0, 0));
                LOGFONTA lf{};
                if (font && ::GetObjectA(font, sizeof lf, &lf)) {
                    seen.face = lf.lfFaceName;
                    seen.height = lf.lfHeight;
                }
            }
            HDC dc = ::CreateCompatibleDC(nullptr);
            const LRESULT brush = ::SendMessageA(w, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(::GetDlgItem(w, IDC_ERROR_LONG)));
            seen.panelBrush = brush != 0;
            seen.panelBk = ::GetBkColor(dc);
            ::DeleteDC(dc);
            RECT r{};
            ::GetWindowRect(w, &r);
            seen.centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            gd::Click(w, IDOK);
        },
        [] { ReportException(IDS_SETUP_CANNOT_CONTINUE, CMemoryException()); });

    HDC screen = ::CreateCompatibleDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::DeleteDC(screen);
    EXPECT_EQ(seen.face, "Arial");
    EXPECT_EQ(seen.height, -::MulDiv(8, dpi, 72));
    EXPECT_TRUE(seen.panelBrush);
    EXPECT_EQ(seen.panelBk, ::GetSysColor(COLOR_BTNFACE));
    // No owner: centred on the work area (within the rounding of halves).
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(seen.centre.x, (work.left + work.right) / 2, 2);
}

TEST_F(ErrorDialogGui, ReportsGoThroughTheModalSeam) {
    std::vector<ModalInteraction> asked;
    int reply = IDOK;
    ScopedModalAnswerer answer([&](const ModalInteraction& m) {
        asked.push_back(m);
        return reply;
    });

    ReportException(IDS_SETUP_CANNOT_CONTINUE, CZLibException(7));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ModalKind::dialog);
    EXPECT_EQ(asked[0].id, IDD_ERROR);
    EXPECT_EQ(asked[0].caption, "Warning");
    EXPECT_EQ(asked[0].text, "Setup cannot continue");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_OK));
    ASSERT_EQ(asked[0].details.size(), 3u);
    EXPECT_EQ(asked[0].details[0], "An unkown error occured.");
    EXPECT_EQ(asked[0].details[2], "9.7 (CZLibException)");

    struct Case {
        int reply;
        bool expected;
    };
    for (const Case c : {Case{IDOK, true}, Case{IDCANCEL, false}, Case{IDABORT, false}}) {
        asked.clear();
        reply = c.reply;
        EXPECT_EQ(ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM, CUserException(), "A.CAB"), c.expected);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_OKCANCEL));
        EXPECT_EQ(asked[0].text, "Cannot install files from 'A.CAB':");
    }
}

TEST_F(ErrorDialogGui, AReportThatCannotShowItsDialogFallsBackToAMessageBox) {
    // -1 is what DoModal returns when the template cannot be loaded.
    std::vector<ModalKind> kinds;
    ScopedModalAnswerer answer([&](const ModalInteraction& m) {
        kinds.push_back(m.kind);
        return m.kind == ModalKind::dialog ? -1 : IDOK;
    });
    EXPECT_TRUE(ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM, CMemoryException(), "B.CAB"));
    EXPECT_EQ(kinds, (std::vector<ModalKind>{ModalKind::dialog, ModalKind::messageBox}));
}

TEST_F(ErrorDialogGui, AFailingReportDoesNotThrowAndDoesNotContinue) {
    ScopedModalAnswerer answer([](const ModalInteraction&) -> int { throw std::bad_alloc(); });
    EXPECT_FALSE(ConfirmContinueAfterException(IDS_CANNOT_INSTALL_FROM, CMemoryException(), "C.CAB"));
    ReportException(IDS_SETUP_CANNOT_CONTINUE, CMemoryException());
}
