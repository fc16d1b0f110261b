#pragma once
// The framework's exception classes. Portable: no <windows.h>.
//
// Exceptions are thrown by value and caught by reference to CException; the
// class hierarchy and the cause codes are what reports rely on.

#include <string>

#include "framework/Object.h"

class CException : public CObject {
    TVS_DECLARE_DYNAMIC(CException)
public:
    ~CException() override = default;
};

class CMemoryException : public CException {
    TVS_DECLARE_DYNAMIC(CMemoryException)
};

class CResourceException : public CException {
    TVS_DECLARE_DYNAMIC(CResourceException)
};

class CUserException : public CException {
    TVS_DECLARE_DYNAMIC(CUserException)
};

class CNotSupportedException : public CException {
    TVS_DECLARE_DYNAMIC(CNotSupportedException)
};

class CFileException : public CException {
    TVS_DECLARE_DYNAMIC(CFileException)
public:
    enum Cause {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = generic, long osError = -1, std::string fileName = {})
        : cause(cause), osError(osError), fileName(std::move(fileName)) {}

    // Cause for a Windows system error code (GetLastError); generic when unknown.
    static int OsErrorToCause(long osError);
    // Cause for a C runtime errno value; generic when unknown.
    static int ErrnoToCause(int errnoValue);

    // Throws the exception for a Windows system error code.
    [[noreturn]] static void ThrowOsError(long osError, const std::string& fileName = {});
    // Throws the exception for an errno value.
    [[noreturn]] static void ThrowErrno(int errnoValue, const std::string& fileName = {});

    int cause;
    long osError;
    std::string fileName;
};

class CArchiveException : public CException {
    TVS_DECLARE_DYNAMIC(CArchiveException)
public:
    enum Cause { none = 0, generic = 1, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = generic, std::string fileName = {})
        : cause(cause), fileName(std::move(fileName)) {}
    int cause;
    std::string fileName;
};
