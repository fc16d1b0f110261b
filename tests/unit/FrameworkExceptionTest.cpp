#include "framework/Exception.h"

#include <gtest/gtest.h>

TEST(RuntimeClass, NamesAndDerivation) {
    CFileException e(CFileException::diskFull);
    EXPECT_STREQ(e.GetRuntimeClass()->className, "CFileException");
    EXPECT_TRUE(e.IsKindOf(&CException::runtimeClass));
    EXPECT_TRUE(e.IsKindOf(&CFileException::runtimeClass));
    EXPECT_FALSE(e.IsKindOf(&CArchiveException::runtimeClass));
    const CException& base = e;
    EXPECT_STREQ(base.GetRuntimeClass()->className, "CFileException");
}

TEST(FileExceptionCause, FromOsErrorAndErrno) {
    EXPECT_EQ(CFileException::OsErrorToCause(2), CFileException::fileNotFound);
    EXPECT_EQ(CFileException::OsErrorToCause(112), CFileException::diskFull);
    EXPECT_EQ(CFileException::OsErrorToCause(32), CFileException::sharingViolation);
    EXPECT_EQ(CFileException::OsErrorToCause(99999), CFileException::generic);
    EXPECT_EQ(CFileException::ErrnoToCause(ENOSPC), CFileException::diskFull);
    EXPECT_EQ(CFileException::ErrnoToCause(0), CFileException::none);
    try {
        CFileException::ThrowOsError(5, "C:\\x");
        FAIL();
    } catch (const CException& e) {
        auto* fe = dynamic_cast<const CFileException*>(&e);
        ASSERT_NE(fe, nullptr);
        EXPECT_EQ(fe->cause, CFileException::accessDenied);
        EXPECT_EQ(fe->osError, 5);
        EXPECT_EQ(fe->fileName, "C:\\x");
    }
}
