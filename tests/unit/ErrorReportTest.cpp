#include "errors/ErrorReport.h"

#include <gtest/gtest.h>

#include <string>

#include "errors/SetupException.h"

namespace {

// Stands in for the string table: the text of id N is "#N".
std::string IdText(unsigned id) { return "#" + std::to_string(id); }

class ErrorReport : public ::testing::Test {
protected:
    void SetUp() override { SetStringLoader(&IdText); }
    void TearDown() override { SetStringLoader(nullptr); }
};

}  // namespace

TEST(HeadlineFormat, FillsPlaceholdersAndIgnoresSpareArguments) {
    EXPECT_EQ(FormatHeadline("Cannot install files from '%s':", "TYVIEW.EX_"),
              "Cannot install files from 'TYVIEW.EX_':");
    EXPECT_EQ(FormatHeadline("Setup cannot continue", "spare", 7), "Setup cannot continue");
    EXPECT_EQ(FormatHeadline("%d of %d", 3, 12), "3 of 12");
    EXPECT_EQ(FormatHeadline(nullptr), "");
}

TEST(HeadlineFormat, IsCutToTheBufferNeverOverflowing) {
    const std::string longName(2000, 'N');
    const std::string headline = FormatHeadline("Cannot install files from '%s':", longName.c_str());
    ASSERT_EQ(headline.size(), kHeadlineBufferSize - 1);
    EXPECT_EQ(headline.substr(0, 27), "Cannot install files from '");
    EXPECT_EQ(headline.find_first_not_of('N', 27), std::string::npos);
    // Exactly at the limit nothing is lost.
    const std::string fits(kHeadlineBufferSize - 1, 'x');
    EXPECT_EQ(FormatHeadline("%s", fits.c_str()), fits);
}

TEST(ErrorInformation, FormatsIdCauseAndClass) {
    EXPECT_EQ(ErrorInformationLine(17, 2, "CXFileException"), "17.2 (CXFileException)");
    EXPECT_EQ(ErrorInformationLine(9, -1, "CXException"), "9.-1 (CXException)");
    EXPECT_EQ(ErrorInformationLine(9, 0, nullptr), "9.0 ()");
}

TEST_F(ErrorReport, TextsForFrameworkAndFamilyExceptions) {
    struct Case {
        const char* what;
        const CException& e;
        unsigned messageId;
        const char* shortText;
        const char* longText;
        const char* info;
    };
    const CFileException diskFull(CFileException::diskFull, 112, "C:\\TYVIEWER\\TYVIEWER.EXE");
    const CFileException none(CFileException::none);
    const CFileException generic(CFileException::generic);
    const CFileException missing(CFileException::fileNotFound);
    const CMemoryException memory;
    const CException unknown;
    const CUserException user;
    const CZLibException zlib7(7);
    const CInstallProfileException profile0(0);
    const CInstallProfileException profile1(1);
    const CMultiFileException crc(CMultiFileException::crcMismatch);
    const Case cases[] = {
        {"disk full", diskFull, 9, "#24609", "#24610", "9.13 (CXFileException)"},
        {"file cause 0", none, 9, "#24580", "#24581", "9.0 (CXFileException)"},
        {"file cause 1", generic, 9, "#24580", "#24581", "9.1 (CXFileException)"},
        {"missing source", missing, 17, "#24590", "#24591", "17.2 (CXFileException)"},
        {"memory", memory, 9, "#24578", "#24579", "9.0 (CXMemoryException)"},
        {"unknown framework class", unknown, 9, "#24576", "#24577", "9.1 (CXException)"},
        {"user abort", user, 17, "#24586", "#24587", "17.0 (CXUserException)"},
        {"zlib cause without entry", zlib7, 17, "#24576", "#24577", "17.7 (CZLibException)"},
        {"profile 0", profile0, 9, "#10", "#13", "9.0 (CInstallProfileException)"},
        {"profile 1", profile1, 9, "#10", "#13", "9.1 (CInstallProfileException)"},
        {"archive crc", crc, 17, "#27656", "#27657", "17.5 (CMultiFileException)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ErrorReportTexts t = BuildErrorReport(c.messageId, c.e, "headline");
        EXPECT_EQ(t.headline, "headline");
        EXPECT_EQ(t.shortText, c.shortText);
        EXPECT_EQ(t.longText, c.longText);
        EXPECT_EQ(t.errorInformation, c.info);
    }
}

TEST_F(ErrorReport, LeavesTheReportedExceptionAlone) {
    const CFileException e(CFileException::accessDenied, 5, "C:\\x");
    BuildErrorReport(9, e, "");
    EXPECT_EQ(e.cause, CFileException::accessDenied);
    EXPECT_EQ(e.osError, 5);
    EXPECT_EQ(e.fileName, "C:\\x");
}

TEST(MoreCaption, SwapsTheFirstPairOnly) {
    struct Case {
        const char* before;
        bool expanded;
        const char* after;
        bool changed;
    };
    const Case cases[] = {
        {"&More>>", true, "&More<<", true},
        {"&More<<", false, "&More>>", true},
        {"&More>>", false, "&More>>", false},  // already collapsed face
        {">> a >>", true, "<< a >>", true},
        {"&More", true, "&More", false},
        {"", true, "", false},
        {"x>>>", true, "x<<>", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        std::string caption = c.before;
        EXPECT_EQ(SwapMoreCaption(caption, c.expanded), c.changed);
        EXPECT_EQ(caption, c.after);
    }
}

TEST(CollapsedArea, ChildInsideOnlyWithBothCornersInside) {
    const LayoutRect area{100, 100, 400, 250};
    struct Case {
        const char* what;
        LayoutRect child;
        bool inside;
    };
    const Case cases[] = {
        {"button well inside", {300, 110, 390, 130}, true},
        {"top-left on the origin", {100, 100, 150, 120}, true},
        {"bottom edge reaches the border", {110, 200, 150, 250}, false},
        {"right edge reaches the border", {300, 110, 400, 130}, false},
        {"straddles the bottom", {110, 240, 300, 330}, false},
        {"wholly below", {110, 260, 300, 330}, false},
        {"left of the area", {50, 110, 90, 130}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LiesWhollyInside(area, c.child), c.inside);
    }
}
