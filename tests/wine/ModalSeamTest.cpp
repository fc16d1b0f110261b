#include "framework/ModalSeam.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/Dialog.h"
#include "framework/Exception.h"

TEST(ModalSeam, MessageBoxIsAnsweredWithoutBeingShown) {
    std::vector<ModalInteraction> asked;
    ScopedModalAnswerer answer([&](const ModalInteraction& m) {
        asked.push_back(m);
        return IDNO;
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "Do you really want to exit Setup?", "Setup", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ModalKind::messageBox);
    EXPECT_EQ(asked[0].text, "Do you really want to exit Setup?");
    EXPECT_EQ(asked[0].caption, "Setup");
    EXPECT_EQ(asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}

TEST(ModalSeam, DialogIsAnsweredByTemplateIdWithoutAWindow) {
    // Template 4711 does not exist: a real run would fail with -1.
    CDialog dlg(4711);
    std::vector<int> ids;
    ScopedModalAnswerer answer([&](const ModalInteraction& m) {
        ids.push_back(m.id);
        return m.kind == ModalKind::dialog ? IDCANCEL : -2;
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(ids, std::vector<int>{4711});
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ModalSeam, ScopedAnswerersNestAndRestore) {
    EXPECT_FALSE(HasModalAnswerer());
    {
        ScopedModalAnswerer outer([](const ModalInteraction&) { return IDYES; });
        {
            ScopedModalAnswerer inner([](const ModalInteraction&) { return IDRETRY; });
            EXPECT_EQ(ShowMessageBox(nullptr, "x", "", MB_RETRYCANCEL), IDRETRY);
        }
        EXPECT_EQ(ShowMessageBox(nullptr, "x", "", MB_YESNO), IDYES);
    }
    EXPECT_FALSE(HasModalAnswerer());
}

TEST(ModalSeam, AnAnswerersExceptionReachesTheCaller) {
    ScopedModalAnswerer answer([](const ModalInteraction&) -> int { throw CUserException(); });
    EXPECT_THROW(ShowMessageBox(nullptr, "x", "", MB_OK), CUserException);
    EXPECT_TRUE(HasModalAnswerer());
}
