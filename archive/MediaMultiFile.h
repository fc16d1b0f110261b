#pragma once
// A multi-file archive (or single file) read from the install media. Every
// block boundary ticks a ProgressSink; when a continued member's bytes run
// out at the end of a volume, the next volume is found through a
// SourceLocator, so the reader never knows about pages or prompts. The
// application implements both interfaces; tests fake them. Portable.

#include <string>

#include "archive/MultiFile.h"

class SourceLocator {
public:
    virtual ~SourceLocator() = default;
    // Makes fileName of the given diskette available (it may ask the user
    // to insert the diskette). False when the user gave up.
    virtual bool LocateSourceFile(const std::string& fileName, int diskette) = 0;
    // The directory in which the last located file lies.
    virtual std::string SourceDirectory() const = 0;
};

class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    // Called after every block of stored data read.
    virtual void OnProgress() = 0;
};

class CMediaMultiFile : public CMultiFile {
public:
    // Neither is owned; both may be null (no continuation, no ticks).
    CMediaMultiFile(SourceLocator* locator, ProgressSink* progress, int diskette = 1);

    void OnBlockBoundary() override;
    // Continuation: closes the volume; for a continued member opens the
    // volume whose name has the last character one higher, on the next
    // diskette, and returns false so that the read goes on. Raises
    // CUserException when the locator gives up.
    bool AtLimit() override;

    int diskette;  // the diskette of the volume being read; continuation adds 1

private:
    SourceLocator* locator;
    ProgressSink* progress;
};
