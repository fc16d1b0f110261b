// Extraction through the Win32 file status layer: members spread over two
// diskette directories come out with their times and attribute bits.

#include <windows.h>

#include <gtest/gtest.h>

#include "../unit/ArchiveTestSupport.h"
#include "archive/FileStatus.h"
#include "archive/MediaMultiFile.h"
#include "archive/MultiFileWriter.h"

using namespace archive_test;

namespace {

std::int64_t ModTimeOf(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    EXPECT_NE(find, INVALID_HANDLE_VALUE) << path;
    if (find == INVALID_HANDLE_VALUE)
        return -1;
    FindClose(find);
    ULARGE_INTEGER v;
    v.LowPart = data.ftLastWriteTime.dwLowDateTime;
    v.HighPart = data.ftLastWriteTime.dwHighDateTime;
    return static_cast<std::int64_t>(v.QuadPart / 10000000ULL) - 11644473600LL;
}

// Finds volumes by looking into the diskette directories, as the
// application's locator does for DISKnn siblings.
class DirectoryLocator : public SourceLocator {
public:
    explicit DirectoryLocator(std::string root) : root(std::move(root)) {}
    bool LocateSourceFile(const std::string& fileName, int diskette) override {
        char disk[16];
        wsprintfA(disk, "DISK%02d", diskette);
        std::string dir = root + "\\" + disk;
        if (GetFileAttributesA((dir + "\\" + fileName).c_str()) == INVALID_FILE_ATTRIBUTES)
            return false;
        current = dir;
        return true;
    }
    std::string SourceDirectory() const override { return current; }

    std::string root;
    std::string current;
};

}  // namespace

TEST(MultiFileWin32, ExtractsAcrossDiskettesAndAppliesStatus) {
    ScratchDir scratch;
    std::vector<MemberSource> members = {
        Member("README.TXT", Payload(3000, 1), 4),
        Member("TYVIEW.EXE", Payload(9000, 2, false), 2),  // continues on DISK02
        Member("PLAIN.DAT", Payload(500, 3), 4),
    };
    members[0].attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE;
    members[0].modTime = 852076800;  // 1997-01-01 00:00 UTC
    members[1].attributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    members[1].modTime = 820454400;  // 1996-01-01 00:00 UTC
    members[2].attributes = FILE_ATTRIBUTE_ARCHIVE;
    members[2].modTime = 0;  // no time: the file keeps its own

    MemoryVolumeOutput out(8000);
    CMultiFileWriter writer(out);
    for (const MemberSource& m : members)
        writer.AddMember(m);
    ASSERT_EQ(writer.Finish(), 2);
    StoreVolumes(out.volumes, {scratch.Dir("DISK01"), scratch.Dir("DISK02")}, "DATA.A1");

    DirectoryLocator locator(scratch.path.string());
    locator.current = scratch.Dir("DISK01");
    CMediaMultiFile archive(&locator, nullptr, 1);
    archive.OpenArchive(scratch.Dir("DISK01") + "\\DATA.A1");
    CMultiFileEntry entry(&Win32FileStatus());
    std::string target = scratch.Dir("TVIEWER");
    std::vector<std::string> outputs;
    while (archive.NextEntry(entry, false)) {
        outputs.push_back(target + "\\" + entry.memberName);
        entry.SetOutputPath(outputs.back());
        archive.Extract(entry);
    }
    archive.Close();
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_EQ(archive.diskette, 2);

    for (std::size_t i = 0; i < outputs.size(); ++i) {
        SCOPED_TRACE(outputs[i]);
        EXPECT_TRUE(ReadFile(outputs[i]) == members[i].data);
        DWORD attributes = GetFileAttributesA(outputs[i].c_str());
        EXPECT_EQ(attributes & 0x27, members[i].attributes);
    }
    EXPECT_EQ(ModTimeOf(outputs[0]), 852076800);
    EXPECT_EQ(ModTimeOf(outputs[1]), 820454400);
    EXPECT_GT(ModTimeOf(outputs[2]), 852076800);  // just written, untouched

    // The read-only one must be made writable again before the scratch
    // directory can go.
    SetFileAttributesA(outputs[0].c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(MultiFileWin32, FillFromFileReadsTheSourceFile) {
    ScratchDir scratch;
    std::string path = scratch.File("SINGLE.HLP");
    WriteFile(path, Payload(1234, 4));
    CMultiFileEntry stamp(&Win32FileStatus());
    stamp.SetOutputPath(path);
    stamp.header.SetModTime(852076800);
    // Wine keeps the archive bit on every file, so it is part of what is set.
    stamp.header.SetAttributes(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    stamp.ApplyHeaderStatus();

    CMultiFileEntry entry(&Win32FileStatus());
    entry.memberName = path;
    entry.FillFromFile();
    EXPECT_EQ(entry.header.ModTime(), 852076800);
    EXPECT_EQ(entry.header.Attributes(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(entry.header.DecodedSize(), 1234u);

    CMultiFileEntry missing(&Win32FileStatus());
    missing.memberName = scratch.File("NOPE.HLP");
    try {
        missing.FillFromFile();
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::fileNotFound);
    }
}

TEST(MultiFileWin32, ApplyHeaderStatusLeavesTheOtherTimesAsTheyAre) {
    ScratchDir scratch;
    const std::string path = scratch.File("KEEP.DAT");
    WriteFile(path, Payload(100, 5));
    // An access time with a fraction of a second: a status read and written
    // back in whole seconds would cut it. (Wine has no creation time of its
    // own to compare: it reports the time of the last status change.)
    FILETIME accessed;
    ULARGE_INTEGER v;
    v.QuadPart = (852076800ULL + 11644473600ULL) * 10000000ULL + 5000000ULL;
    accessed.dwLowDateTime = v.LowPart;
    accessed.dwHighDateTime = v.HighPart;
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(file, nullptr, &accessed, nullptr));
        CloseHandle(file);
    }
    WIN32_FIND_DATAA before;
    FindClose(FindFirstFileA(path.c_str(), &before));

    CMultiFileEntry entry(&Win32FileStatus());
    entry.SetOutputPath(path);
    entry.header.SetModTime(820454400);
    entry.header.SetAttributes(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    entry.ApplyHeaderStatus();

    WIN32_FIND_DATAA after;
    FindClose(FindFirstFileA(path.c_str(), &after));
    EXPECT_EQ(ModTimeOf(path), 820454400);
    EXPECT_EQ(after.dwFileAttributes & 0x27, static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(after.ftLastAccessTime.dwLowDateTime, before.ftLastAccessTime.dwLowDateTime);
    EXPECT_EQ(after.ftLastAccessTime.dwHighDateTime, before.ftLastAccessTime.dwHighDateTime);

    CMultiFileEntry missing(&Win32FileStatus());
    missing.SetOutputPath(scratch.File("GONE.DAT"));
    missing.header.SetModTime(820454400);
    try {
        missing.ApplyHeaderStatus();
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::fileNotFound);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}
