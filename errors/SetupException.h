#pragma once
// The program's own exception family. An object carries its class and one
// integer cause; every word shown to the user comes from the catalogue
// (Catalogue.h), chosen by class and cause when the report is built.
// Portable: no <windows.h>.

#include <memory>
#include <string>

#include "framework/Exception.h"

struct ErrorMessageEntry {
    int code;            // the cause this entry matches; -1 matches any
    unsigned shortId;    // string id of the one-line summary (0 = none)
    unsigned longId;     // string id of the explanation (0 = none)
    unsigned helpId;     // help context (0 in every entry)
};

// The three process-wide report slots that FillMessages fills.
struct ReportSlots {
    std::string shortText;
    std::string longText;
    unsigned helpContext = 0;
};
ReportSlots& CurrentReportSlots();

// Loads a string-table entry; the Windows build installs LoadStringA, the
// host tests a table of their own. Returns "" for a missing id.
using StringLoader = std::string (*)(unsigned id);
void SetStringLoader(StringLoader loader);
std::string LoadResourceString(unsigned id);

class CXException : public CException {
    TVS_DECLARE_DYNAMIC(CXException)
public:
    explicit CXException(int cause = 0) : cause(cause) {}

    // Empties the report slots and fills them from the catalogue.
    void PrepareMessages() const;
    // Looks the cause up in the class's own table, then in CXException's.
    virtual void FillMessages() const;

    int cause;

protected:
    // Runs the lookup over one table; true when it stored all three slots.
    static bool LookUp(const ErrorMessageEntry* table, int count, int cause);
};

class CXMemoryException : public CXException {
    TVS_DECLARE_DYNAMIC(CXMemoryException)
public:
    explicit CXMemoryException(int cause = 0) : CXException(cause) {}
    void FillMessages() const override;
};

class CXFileException : public CXException {
    TVS_DECLARE_DYNAMIC(CXFileException)
public:
    explicit CXFileException(int cause = 0) : CXException(cause) {}
    void FillMessages() const override;
};

class CXArchiveException : public CXException {
    TVS_DECLARE_DYNAMIC(CXArchiveException)
public:
    explicit CXArchiveException(int cause = 0) : CXException(cause) {}
    void FillMessages() const override;
};

class CXResourceException : public CXException {
    TVS_DECLARE_DYNAMIC(CXResourceException)
public:
    explicit CXResourceException(int cause = 0) : CXException(cause) {}
    void FillMessages() const override;
};

class CXUserException : public CXException {
    TVS_DECLARE_DYNAMIC(CXUserException)
public:
    explicit CXUserException(int cause = 0) : CXException(cause) {}
    void FillMessages() const override;
};

class CXNotSupportedException : public CXException {
    TVS_DECLARE_DYNAMIC(CXNotSupportedException)
public:
    explicit CXNotSupportedException(int cause = 0) : CXException(cause) {}
    void FillMessages() const override;
};

// Thrown by the profile reader: 0 the profile could not be read, 1 its
// contents are inconsistent. Both report the same texts.
class CInstallProfileException : public CXException {
    TVS_DECLARE_DYNAMIC(CInstallProfileException)
public:
    explicit CInstallProfileException(int cause = 0) : CXException(cause) {}
    void FillMessages() const override;
};

// Thrown by the decompression stream: 1 unknown, 2 stream, 3 data, 4 buffer error.
class CZLibException : public CXException {
    TVS_DECLARE_DYNAMIC(CZLibException)
public:
    explicit CZLibException(int cause = 1) : CXException(cause) {}
    void FillMessages() const override;
};

// Thrown by the archive reader: 1 unknown method, 2 not an archive,
// 3 missing entry header, 4 corrupt table, 5 checksum mismatch.
class CMultiFileException : public CXException {
    TVS_DECLARE_DYNAMIC(CMultiFileException)
public:
    enum Cause { unknownMethod = 1, notArchive = 2, missingEntry = 3, corruptTable = 4, crcMismatch = 5 };
    explicit CMultiFileException(int cause) : CXException(cause) {}
    void FillMessages() const override;
};

// A new family object standing for any framework exception (out of memory,
// file, archive, not supported, resource, user abort; anything else is
// CXException with cause 1). Family objects are copied as they are.
std::unique_ptr<CXException> ToSetupException(const CException& e);
