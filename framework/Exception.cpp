#include "framework/Exception.h"

#include <cerrno>

TVS_IMPLEMENT_DYNAMIC(CException, CObject)
TVS_IMPLEMENT_DYNAMIC(CMemoryException, CException)
TVS_IMPLEMENT_DYNAMIC(CResourceException, CException)
TVS_IMPLEMENT_DYNAMIC(CUserException, CException)
TVS_IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
TVS_IMPLEMENT_DYNAMIC(CFileException, CException)
TVS_IMPLEMENT_DYNAMIC(CArchiveException, CException)

int CFileException::OsErrorToCause(long osError) {
    // Windows system error codes, by number so that this stays portable.
    switch (osError) {
    case 0: return none;
    case 2: return fileNotFound;        // ERROR_FILE_NOT_FOUND
    case 3: return badPath;             // ERROR_PATH_NOT_FOUND
    case 4: return tooManyOpenFiles;    // ERROR_TOO_MANY_OPEN_FILES
    case 5: return accessDenied;        // ERROR_ACCESS_DENIED
    case 6: return invalidFile;         // ERROR_INVALID_HANDLE
    case 15: return badPath;            // ERROR_INVALID_DRIVE
    case 16: return removeCurrentDir;   // ERROR_CURRENT_DIRECTORY
    case 18: return directoryFull;      // ERROR_NO_MORE_FILES
    case 19: return accessDenied;       // ERROR_WRITE_PROTECT
    case 21: return hardIO;             // ERROR_NOT_READY
    case 23: return hardIO;             // ERROR_CRC
    case 25: return badSeek;            // ERROR_SEEK
    case 29: return hardIO;             // ERROR_WRITE_FAULT
    case 30: return hardIO;             // ERROR_READ_FAULT
    case 31: return hardIO;             // ERROR_GEN_FAILURE
    case 32: return sharingViolation;   // ERROR_SHARING_VIOLATION
    case 33: return lockViolation;      // ERROR_LOCK_VIOLATION
    case 36: return sharingViolation;   // ERROR_SHARING_BUFFER_EXCEEDED
    case 38: return endOfFile;          // ERROR_HANDLE_EOF
    case 39: return diskFull;           // ERROR_HANDLE_DISK_FULL
    case 53: return badPath;            // ERROR_BAD_NETPATH
    case 65: return accessDenied;       // ERROR_NETWORK_ACCESS_DENIED
    case 67: return badPath;            // ERROR_BAD_NET_NAME
    case 80: return accessDenied;       // ERROR_FILE_EXISTS
    case 82: return accessDenied;       // ERROR_CANNOT_MAKE
    case 87: return badPath;            // ERROR_INVALID_PARAMETER
    case 112: return diskFull;          // ERROR_DISK_FULL
    case 123: return badPath;           // ERROR_INVALID_NAME
    case 145: return accessDenied;      // ERROR_DIR_NOT_EMPTY
    case 158: return lockViolation;     // ERROR_NOT_LOCKED
    case 161: return badPath;           // ERROR_BAD_PATHNAME
    case 183: return accessDenied;      // ERROR_ALREADY_EXISTS
    case 206: return badPath;           // ERROR_FILENAME_EXCED_RANGE
    default: return generic;
    }
}

int CFileException::ErrnoToCause(int errnoValue) {
    switch (errnoValue) {
    case 0: return none;
    case EPERM:
    case EACCES: return accessDenied;
    case EBADF: return invalidFile;
    case EDEADLK: return sharingViolation;
    case EMFILE: return tooManyOpenFiles;
    case ENOENT:
    case ENFILE: return fileNotFound;
    case ENOSPC: return diskFull;
    case EINVAL:
    case EIO: return hardIO;
    default: return generic;
    }
}

void CFileException::ThrowOsError(long osError, const std::string& fileName) {
    throw CFileException(OsErrorToCause(osError), osError, fileName);
}

void CFileException::ThrowErrno(int errnoValue, const std::string& fileName) {
    throw CFileException(ErrnoToCause(errnoValue), errnoValue, fileName);
}
