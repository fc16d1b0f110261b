#include "archive/MediaMultiFile.h"

#include "framework/Exception.h"

CMediaMultiFile::CMediaMultiFile(SourceLocator* locator, ProgressSink* progress, int diskette)
    : diskette(diskette), locator(locator), progress(progress) {}

void CMediaMultiFile::OnBlockBoundary() {
    if (progress)
        progress->OnProgress();
}

bool CMediaMultiFile::AtLimit() {
    // Remember the name before closing: it names the next volume.
    std::string name = ArchiveFormat::NextVolumeName(GetOpenedName());
    CTrackedFile::Abort();
    // Once closed, every further read delivers nothing: a member that does
    // not continue ends here and its coder reports the shortage.
    if (!CurrentMemberContinued() || name.empty())
        return true;
    ++diskette;
    if (!locator || !locator->LocateSourceFile(name, diskette))
        throw CUserException();
    OpenRead(ArchiveFormat::JoinPath(locator->SourceDirectory(), name), true);
    ReadLeadHeader();
    return false;
}
