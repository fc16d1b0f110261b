#include "support/FilePath.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/Exception.h"

namespace {

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

void WriteText(const std::string& path, const std::string& text) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

std::string ReadText(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[256];
    DWORD got = 0;
    ReadFile(h, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(h);
    return std::string(buffer, got);
}

void RemoveTree(const std::string& directory) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((directory + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string full = directory + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(directory.c_str());
}

// Each test works in its own fresh directory below the temporary directory,
// and leaves the current directory as it found it.
class FilePathFs : public ::testing::Test {
protected:
    void SetUp() override {
        savedCurrent_ = CurrentDirectory();
        root_ = FilePath(FilePathKind::kTempDirectory).GetPath() + "tvs-filepath-" +
                std::to_string(GetCurrentProcessId()) + "\\";
        RemoveTree(root_.substr(0, root_.size() - 1));
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr)) << root_;
    }
    void TearDown() override {
        SetCurrentDirectoryA(savedCurrent_.c_str());
        RemoveTree(root_.substr(0, root_.size() - 1));
    }
    std::string root_;  // ends in a backslash

private:
    std::string savedCurrent_;
};

TEST(FilePathSpecial, DirectoriesEndInBackslash) {
    char buffer[MAX_PATH];
    GetWindowsDirectoryA(buffer, MAX_PATH);
    EXPECT_EQ(FilePath(FilePathKind::kWindowsDirectory).GetPath(), std::string(buffer) + "\\");
    GetSystemDirectoryA(buffer, MAX_PATH);
    EXPECT_EQ(FilePath(FilePathKind::kSystemDirectory).GetPath(), std::string(buffer) + "\\");
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    const std::string module = buffer;
    EXPECT_EQ(FilePath(FilePathKind::kModuleDirectory).GetPath(), module.substr(0, module.rfind('\\') + 1));
    GetTempPathA(MAX_PATH, buffer);
    EXPECT_EQ(FilePath(FilePathKind::kTempDirectory).GetPath(), buffer);

    for (int kind = 0; kind <= 4; ++kind) {
        const FilePath p{static_cast<FilePathKind>(kind)};
        SCOPED_TRACE(p.GetPath());
        ASSERT_FALSE(p.IsEmpty());
        EXPECT_EQ(p.GetPath().back(), '\\');
        EXPECT_EQ(p.GetFileName(), "");
        EXPECT_TRUE(p.DirectoryExists());
    }
    EXPECT_TRUE(FilePath(static_cast<FilePathKind>(5)).IsEmpty());
    EXPECT_TRUE(FilePath(static_cast<FilePathKind>(-1)).IsEmpty());
}

TEST_F(FilePathFs, CurrentDirectoryKindAndEnterDirectory) {
    const FilePath file(root_ + "x.txt");
    ASSERT_TRUE(file.EnterDirectory());
    EXPECT_EQ(CurrentDirectory() + "\\", root_);
    EXPECT_EQ(FilePath(FilePathKind::kCurrentDirectory).GetPath(), root_);

    // Without a drive letter there is no directory to enter or remove.
    EXPECT_FALSE(FilePath("relative\\x.txt").EnterDirectory());
    EXPECT_FALSE(FilePath("relative\\x.txt").RemoveDirectory());
    EXPECT_FALSE(FilePath(root_ + "missing\\").EnterDirectory());
    EXPECT_EQ(CurrentDirectory() + "\\", root_);
}

TEST_F(FilePathFs, CreateChainAndRemove) {
    const FilePath chain(root_ + "A\\B\\C\\");
    EXPECT_FALSE(chain.DirectoryExists());
    EXPECT_FALSE(chain.CreateDirectory(false));  // parents missing
    EXPECT_TRUE(chain.CreateDirectory(true));
    EXPECT_TRUE(FilePath(root_ + "A\\").DirectoryExists());
    EXPECT_TRUE(FilePath(root_ + "A\\B\\").DirectoryExists());
    EXPECT_TRUE(chain.DirectoryExists());

    // Creating what exists succeeds and enters it.
    EXPECT_TRUE(chain.CreateDirectory(true));
    EXPECT_EQ(CurrentDirectory() + "\\", chain.GetPath());
    EXPECT_NO_THROW(chain.CreateDirectoryOrThrow(false));

    // Without the trailing backslash the last component is still the directory.
    EXPECT_TRUE(FilePath(root_ + "D\\E").CreateDirectory(true));
    EXPECT_TRUE(FilePath(root_ + "D\\E\\").DirectoryExists());

    SetCurrentDirectoryA(root_.c_str());
    EXPECT_FALSE(FilePath(root_ + "A\\B\\x.txt").RemoveDirectory());  // not empty
    EXPECT_TRUE(FilePath(root_ + "A\\B\\C\\x.txt").RemoveDirectory());
    EXPECT_FALSE(chain.DirectoryExists());
    EXPECT_FALSE(chain.RemoveDirectory());
}

TEST_F(FilePathFs, CreateDirectoryOrThrowReportsTheFailure) {
    WriteText(root_ + "plain", "x");
    const FilePath underFile(root_ + "plain\\sub\\");
    try {
        underFile.CreateDirectoryOrThrow(true);
        FAIL() << "created below a file";
    } catch (const CFileException& e) {
        EXPECT_NE(e.cause, CFileException::none);
        EXPECT_EQ(e.fileName, underFile.GetPath());
    }
    // A path with no drive and no existing parent gives up, it does not loop.
    EXPECT_FALSE(FilePath("tvs-no-such-relative-dir\\x\\").CreateDirectory(false));
}

TEST_F(FilePathFs, ExistsAndDelete) {
    const FilePath file(root_ + "data.bin");
    EXPECT_FALSE(file.Exists());
    WriteText(file.GetPath(), "abc");
    EXPECT_TRUE(file.Exists());
    EXPECT_TRUE(FilePath(root_ + "*.bin").Exists());  // a search pattern
    EXPECT_FALSE(FilePath(root_ + "*.none").Exists());
    EXPECT_TRUE(FilePath(root_).DirectoryExists());

    // Read-only: only force deletes it.
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_FALSE(file.Delete(false));
    EXPECT_TRUE(file.Exists());
    EXPECT_TRUE(file.Delete(true));
    EXPECT_FALSE(file.Exists());
    EXPECT_FALSE(file.Delete(true));   // nothing left
    EXPECT_FALSE(file.Delete(false));
}

TEST_F(FilePathFs, RenameNeverOverwrites) {
    const FilePath a(root_ + "a.txt");
    const FilePath b(root_ + "b.txt");
    WriteText(a.GetPath(), "first");
    WriteText(b.GetPath(), "second");
    EXPECT_FALSE(a.Rename(b));
    EXPECT_EQ(ReadText(a.GetPath()), "first");
    EXPECT_EQ(ReadText(b.GetPath()), "second");

    const FilePath c(root_ + "c.txt");
    EXPECT_TRUE(a.Rename(c));
    EXPECT_FALSE(a.Exists());
    EXPECT_EQ(ReadText(c.GetPath()), "first");
    EXPECT_FALSE(a.Rename(root_ + "d.txt"));  // source gone
}

namespace {

void SetWriteTime(const FilePath& file, long long secondsSince1970) {
    // Seconds since 1970 as a FILETIME (100 ns since 1601).
    const unsigned long long ticks =
        static_cast<unsigned long long>(secondsSince1970 + 11644473600LL) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
    CloseHandle(h);
}

}  // namespace

TEST_F(FilePathFs, ModificationTime) {
    const FilePath file(root_ + "t.txt");
    EXPECT_EQ(file.ModificationTime(), 0);
    WriteText(file.GetPath(), "t");
    SetWriteTime(file, 1000000000);
    EXPECT_EQ(file.ModificationTime(), 1000000000);

    // Past January 2038 the times keep their order: a copy from 2100 is
    // newer than one from 2037, and neither wraps to a date before 1970.
    const FilePath later(root_ + "later.txt");
    WriteText(later.GetPath(), "l");
    SetWriteTime(later, 4102444800LL);  // 2100-01-01
    SetWriteTime(file, 2114380800LL);   // 2037-01-01
    EXPECT_EQ(later.ModificationTime(), 4102444800LL);
    EXPECT_EQ(file.ModificationTime(), 2114380800LL);
    EXPECT_GT(later.ModificationTime(), file.ModificationTime());

    // A copy held open by another program without sharing still has a time.
    HANDLE held = CreateFileA(later.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(later.ModificationTime(), 4102444800LL);
    CloseHandle(held);

    // Wildcards would name some other file.
    EXPECT_EQ(FilePath(root_ + "l*.txt").ModificationTime(), 0);
}

TEST_F(FilePathFs, MakeUniqueTakesTheNextNameOfTheSequence) {
    // The process-wide sequence may have been used by other tests: predict
    // from a copy of its state.
    UniqueNameSequence preview = ProcessUniqueNames();
    const std::string first = preview.Next();
    const std::string second = preview.Next();
    const std::string third = preview.Next();

    FilePath p(root_ + "x.tmp");
    EXPECT_TRUE(p.MakeUnique(true, 1000));
    EXPECT_EQ(p.GetPath(), root_ + first + ".tmp");  // free: the first attempt

    // An existing name is passed over.
    WriteText(root_ + third + ".tmp", "taken");
    FilePath q(root_ + "y.tmp");
    EXPECT_TRUE(q.MakeUnique(true, 1000));
    EXPECT_EQ(q.GetPath(), root_ + second + ".tmp");
    FilePath r(root_ + "z.tmp");
    EXPECT_TRUE(r.MakeUnique(true, 1000));
    EXPECT_NE(r.GetPath(), root_ + third + ".tmp");
    EXPECT_FALSE(r.Exists());
}

TEST_F(FilePathFs, VolumeQueries) {
    const FilePath onC("C:\\some\\file.txt");
    unsigned long spc = 0, bps = 0, freeClusters = 0, total = 0;
    ASSERT_TRUE(onC.GetDiskFreeSpace(spc, bps, freeClusters, total));
    EXPECT_GT(spc * bps, 0u);
    EXPECT_EQ(onC.ClusterSize(), SaturatedClusterSize(spc, bps));
    EXPECT_EQ(onC.FreeBytes(), SaturatedFreeBytes(freeClusters, spc, bps));
    EXPECT_EQ(onC.DriveType(), static_cast<unsigned>(DRIVE_FIXED));
    EXPECT_FALSE(onC.IsRemovable());

    // No drive letter, or a drive that is not there: the queries fail softly.
    for (const char* path : {"relative\\x", "\\\\server\\share\\x", ""}) {
        SCOPED_TRACE(path);
        const FilePath p(path);
        EXPECT_FALSE(p.GetDiskFreeSpace(spc, bps, freeClusters, total));
        EXPECT_EQ(spc + bps + freeClusters + total, 0u);
        EXPECT_EQ(p.FreeBytes(), 0u);
        EXPECT_EQ(p.ClusterSize(), 0u);
        EXPECT_EQ(p.DriveType(), kDriveNoRootDir);
    }
    EXPECT_EQ(FilePath("Q:\\x").FreeBytes(), 0u);
    EXPECT_EQ(FilePath("Q:\\x").DriveType(), static_cast<unsigned>(DRIVE_NO_ROOT_DIR));
}

TEST_F(FilePathFs, PathLimitIsKeptAtTheSystemBoundary) {
    // Two directories bring the path near the limit; the names fill it up.
    std::string dir = root_ + std::string(100, 'd') + "\\";
    dir += std::string(std::min<std::size_t>(100, 240 - dir.size()), 'e') + "\\";
    ASSERT_TRUE(FilePath(dir).CreateDirectory(true)) << dir;

    const std::string at = dir + std::string(259 - dir.size() - 4, 'f') + ".txt";
    const std::string over = dir + std::string(260 - dir.size() - 4, 'f') + ".txt";
    ASSERT_EQ(at.size(), 259u);
    ASSERT_EQ(over.size(), 260u);

    WriteText(at, "259");
    const FilePath atPath(at);
    EXPECT_TRUE(atPath.Exists());
    EXPECT_GT(atPath.ModificationTime(), 0);

    const FilePath overPath(over);
    SetLastError(0);
    EXPECT_FALSE(overPath.Exists());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_FALSE(overPath.Delete(true));
    EXPECT_EQ(overPath.ModificationTime(), 0);
    EXPECT_FALSE(atPath.Rename(overPath));
    EXPECT_TRUE(atPath.Exists());  // nothing was lost
    EXPECT_FALSE(overPath.CreateDirectory(true));
    try {
        FilePath(over + "\\").CreateDirectoryOrThrow(true);
        FAIL() << "over-long directory created";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::badPath);
        EXPECT_EQ(e.osError, ERROR_FILENAME_EXCED_RANGE);
    }

    EXPECT_TRUE(atPath.Delete(false));
    EXPECT_FALSE(atPath.Exists());
}

}  // namespace
