#include "errors/SetupException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Stands in for the string table: the text of id N is "#N".
std::string IdText(unsigned id) { return "#" + std::to_string(id); }

struct CatalogueCase {
    const char* what;
    std::unique_ptr<CXException> e;
    const char* className;
    const char* shortText;
    const char* longText;
};

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override { SetStringLoader(&IdText); }
    void TearDown() override { SetStringLoader(nullptr); }
};

std::unique_ptr<CXException> Make(const CException& e) { return ToSetupException(e); }

}  // namespace

TEST_F(Catalogue, EveryClassAndItsFallthrough) {
    CatalogueCase cases[] = {
        {"base", std::make_unique<CXException>(1), "CXException", "#24576", "#24577"},
        {"memory", std::make_unique<CXMemoryException>(0), "CXMemoryException", "#24578", "#24579"},
        {"archive", std::make_unique<CXArchiveException>(3), "CXArchiveException", "#24582", "#24583"},
        {"resource", std::make_unique<CXResourceException>(0), "CXResourceException", "#24584", "#24585"},
        {"user", std::make_unique<CXUserException>(0), "CXUserException", "#24586", "#24587"},
        {"not supported", std::make_unique<CXNotSupportedException>(0), "CXNotSupportedException", "#24588", "#24589"},
        {"file 0", std::make_unique<CXFileException>(0), "CXFileException", "#24580", "#24581"},
        {"file 1", std::make_unique<CXFileException>(1), "CXFileException", "#24580", "#24581"},
        {"file 2", std::make_unique<CXFileException>(2), "CXFileException", "#24590", "#24591"},
        {"file 6 shares the generic long text", std::make_unique<CXFileException>(6), "CXFileException", "#24598", "#24581"},
        {"file 13", std::make_unique<CXFileException>(13), "CXFileException", "#24609", "#24610"},
        {"file 14", std::make_unique<CXFileException>(14), "CXFileException", "#24611", "#24581"},
        {"file 99", std::make_unique<CXFileException>(99), "CXFileException", "#24580", "#24581"},
        {"profile 0", std::make_unique<CInstallProfileException>(0), "CInstallProfileException", "#10", "#13"},
        {"profile 1", std::make_unique<CInstallProfileException>(1), "CInstallProfileException", "#10", "#13"},
        {"zlib 1", std::make_unique<CZLibException>(1), "CZLibException", "#27658", "#27659"},
        {"zlib 3", std::make_unique<CZLibException>(3), "CZLibException", "#27661", "#27659"},
        {"zlib 7 has no entry", std::make_unique<CZLibException>(7), "CZLibException", "#24576", "#24577"},
        {"multifile 1", std::make_unique<CMultiFileException>(1), "CMultiFileException", "#27648", "#27649"},
        {"multifile 5", std::make_unique<CMultiFileException>(5), "CMultiFileException", "#27656", "#27657"},
        {"multifile 0 has no entry", std::make_unique<CMultiFileException>(0), "CMultiFileException", "#24576", "#24577"},
    };
    for (const CatalogueCase& c : cases) {
        SCOPED_TRACE(c.what);
        c.e->PrepareMessages();
        EXPECT_STREQ(c.e->GetRuntimeClass()->className, c.className);
        EXPECT_EQ(CurrentReportSlots().shortText, c.shortText);
        EXPECT_EQ(CurrentReportSlots().longText, c.longText);
        EXPECT_EQ(CurrentReportSlots().helpContext, 0u);
    }
}

TEST_F(Catalogue, PrepareEmptiesTheSlotsFirst) {
    CZLibException(2).PrepareMessages();
    EXPECT_EQ(CurrentReportSlots().shortText, "#27660");
    CXMemoryException().PrepareMessages();
    EXPECT_EQ(CurrentReportSlots().shortText, "#24578");
    EXPECT_EQ(CurrentReportSlots().longText, "#24579");
}

TEST(ToSetupException, ConvertsFrameworkExceptionsInOrder) {
    struct Case {
        const char* what;
        std::unique_ptr<CXException> got;
        const char* className;
        int cause;
    } cases[] = {
        {"memory", Make(CMemoryException()), "CXMemoryException", 0},
        {"file keeps its cause", Make(CFileException(CFileException::diskFull, 112, "C:\\X")), "CXFileException", 13},
        {"archive keeps its cause", Make(CArchiveException(CArchiveException::badIndex)), "CXArchiveException",
         CArchiveException::badIndex},
        {"not supported", Make(CNotSupportedException()), "CXNotSupportedException", 0},
        {"resource", Make(CResourceException()), "CXResourceException", 0},
        {"user abort", Make(CUserException()), "CXUserException", 0},
        {"anything else", Make(CException()), "CXException", 1},
        {"family object stays itself", Make(CMultiFileException(4)), "CMultiFileException", 4},
        {"profile stays itself", Make(CInstallProfileException(1)), "CInstallProfileException", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.got, nullptr);
        EXPECT_STREQ(c.got->GetRuntimeClass()->className, c.className);
        EXPECT_EQ(c.got->cause, c.cause);
        EXPECT_TRUE(c.got->IsKindOf(&CXException::runtimeClass));
    }
}
