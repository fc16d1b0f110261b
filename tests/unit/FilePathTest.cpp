#include "support/FilePath.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct SplitCase {
    const char* path;
    const char* drive;
    const char* directory;     // GetDirectory
    const char* directoryPart; // GetDirectoryPart
    const char* fileName;
    const char* fileTitle;
};

const SplitCase kSplitCases[] = {
    {"C:\\A\\B\\file.txt", "C", "C:\\A\\B", "\\A\\B", "file.txt", "file"},
    {"C:\\file.txt", "C", "C:\\", "\\", "file.txt", "file"},
    {"C:\\A\\B\\", "C", "C:\\A\\B", "\\A\\B", "", ""},
    {"C:\\", "C", "C:\\", "\\", "", ""},
    {"C:", "C", "C:", "", "", ""},
    {"C:file.txt", "C", "C:", "", "file.txt", "file"},
    {"\\\\server\\share\\x.txt", "", "", "\\\\server\\share", "x.txt", "x"},
    {"dir\\x.txt", "", "", "dir", "x.txt", "x"},
    {"x.txt", "", "", "", "x.txt", "x"},
    {"", "", "", "", "", ""},
    {"C:/A/B/file.txt", "C", "C:/A/B/", "/A/B/", "file.txt", "file"},
    {"C:\\A/B\\f", "C", "C:\\A/B", "\\A/B", "f", "f"},
    {"C:\\A.dir\\file", "C", "C:\\A.dir", "\\A.dir", "file", "file"},
    {"C:\\A\\archive.tar.gz", "C", "C:\\A", "\\A", "archive.tar.gz", "archive.tar"},
    {"C:\\A\\.profile", "C", "C:\\A", "\\A", ".profile", ""},
    {"C:\\A\\file.", "C", "C:\\A", "\\A", "file", "file"},
    {"d:\\Setup\\SETUP.INI", "d", "d:\\Setup", "\\Setup", "SETUP.INI", "SETUP"},
};

TEST(FilePathSplit, ReadersFollowRuntimeRules) {
    for (const auto& c : kSplitCases) {
        SCOPED_TRACE(c.path);
        const FilePath p(c.path);
        std::string s;
        p.GetDrive(s);
        EXPECT_EQ(s, c.drive);
        p.GetDirectory(s);
        EXPECT_EQ(s, c.directory);
        p.GetDirectoryPart(s);
        EXPECT_EQ(s, c.directoryPart);
        p.GetFileName(s);
        EXPECT_EQ(s, c.fileName);
        p.GetFileTitle(s);
        EXPECT_EQ(s, c.fileTitle);
        EXPECT_EQ(p.GetFileName(), c.fileName);
    }
}

TEST(FilePathSplit, PartsAndRebuildRoundTrip) {
    const char* paths[] = {"C:\\A\\B\\file.txt", "C:\\", "x", "\\\\s\\x\\y.z", "C:/A/b.c", "C:\\A\\.p"};
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        FilePathParts parts;
        ASSERT_TRUE(SplitPath(path, parts));
        EXPECT_EQ(MakePath(parts), path);
    }
    FilePathParts parts;
    ASSERT_TRUE(SplitPath("C:\\A\\B\\file.txt", parts));
    EXPECT_EQ(parts.drive, "C");
    EXPECT_EQ(parts.directory, "\\A\\B\\");
    EXPECT_EQ(parts.name, "file");
    EXPECT_EQ(parts.extension, "txt");
}

TEST(FilePathSplit, RebuildRules) {
    struct Case {
        FilePathParts parts;
        const char* expected;
    } cases[] = {
        {{"C", "\\A", "f", "txt"}, "C:\\A\\f.txt"},
        {{"C", "\\A/", "f", "txt"}, "C:\\A/f.txt"},
        {{"", "", "f", ".txt"}, "f.txt"},
        {{"", "", "f", ""}, "f"},
        {{"", "", "", "txt"}, ".txt"},
        {{"D", "", "", ""}, "D:"},
        {{"", "\\", "", ""}, "\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(MakePath(c.parts), c.expected);
    }
}

TEST(FilePathSplit, EmbeddedTerminatorEndsTheText) {
    // The system reads the path up to the first NUL; splitting does the same.
    const FilePath p(std::string("C:\\A\\f.txt\0.exe", 15));
    EXPECT_EQ(p.GetFileName(), "f.txt");
}

// Setters: {start, operation, argument, expected path}.
enum class Op { Drive, Directory, FullDirectory, Title, Extension, Name, Append, RemoveLast, Root };
struct SetCase {
    const char* start;
    Op op;
    const char* argument;
    const char* expected;
};

const SetCase kSetCases[] = {
    {"C:\\A\\x.dll", Op::Name, "", "C:\\A\\"},
    {"C:\\A\\x.dll", Op::Name, "y.exe", "C:\\A\\y.exe"},
    {"C:\\A\\", Op::Name, "setup.ini", "C:\\A\\setup.ini"},
    {"C:\\A\\x.dll", Op::Title, "1a2b3c4d", "C:\\A\\1a2b3c4d.dll"},
    {"C:\\A\\x", Op::Title, "y", "C:\\A\\y"},
    {"C:\\A\\x.dll", Op::Extension, "exe", "C:\\A\\x.exe"},
    {"C:\\A\\x.dll", Op::Extension, ".exe", "C:\\A\\x.exe"},
    {"C:\\A\\x.dll", Op::Extension, "", "C:\\A\\x"},
    {"C:\\A\\x.dll", Op::Drive, "D", "D:\\A\\x.dll"},
    {"C:\\A\\x.dll", Op::Drive, "D:", "D:\\A\\x.dll"},
    {"C:\\A\\x.dll", Op::Drive, "", "\\A\\x.dll"},
    {"\\A\\x.dll", Op::Drive, "E", "E:\\A\\x.dll"},
    {"C:\\A\\x.dll", Op::Directory, "B\\C", "C:\\B\\C\\x.dll"},
    {"C:\\A\\x.dll", Op::Directory, "\\B\\", "C:\\B\\x.dll"},
    {"C:\\A\\x.dll", Op::Directory, "", "C:\\x.dll"},
    {"C:\\A\\x.dll", Op::FullDirectory, "D:\\B", "D:\\B\\x.dll"},
    {"C:\\A\\x.dll", Op::FullDirectory, "D:\\B\\", "D:\\B\\x.dll"},
    {"", Op::FullDirectory, "C:\\WINDOWS", "C:\\WINDOWS\\"},
    {"", Op::FullDirectory, "C:\\", "C:\\"},
    {"C:\\A\\x.txt", Op::Append, "\\Sub", "C:\\A\\Sub\\x.txt"},
    {"C:\\A\\x.txt", Op::Append, "Sub\\", "C:\\A\\Sub\\x.txt"},
    {"C:\\A\\x.txt", Op::Append, "S1\\S2", "C:\\A\\S1\\S2\\x.txt"},
    {"C:\\A\\x.txt", Op::Append, "", "C:\\A\\x.txt"},
    {"C:\\A\\x.txt", Op::Append, "\\", "C:\\A\\x.txt"},
    {"C:\\A\\", Op::Append, "B", "C:\\A\\B\\"},
    {"C:x.txt", Op::Append, "B", "C:\\B\\x.txt"},
    {"C:\\A\\B\\x.txt", Op::RemoveLast, nullptr, "C:\\A\\x.txt"},
    {"C:\\A\\x.txt", Op::RemoveLast, nullptr, "C:\\x.txt"},
    {"C:\\x.txt", Op::RemoveLast, nullptr, "C:\\x.txt"},
    {"C:x.txt", Op::RemoveLast, nullptr, "C:x.txt"},
    {"C:\\A\\B\\", Op::RemoveLast, nullptr, "C:\\A\\"},
    {"C:/A/B/x", Op::RemoveLast, nullptr, "C:/A\\x"},
    {"C:/A/x", Op::RemoveLast, nullptr, "C:/x"},
    {"A\\B\\x.txt", Op::RemoveLast, nullptr, "A\\x.txt"},
    {"A\\x.txt", Op::RemoveLast, nullptr, "x.txt"},
    {"C:\\A\\B\\x.txt", Op::Root, nullptr, "C:\\"},
    {"C:\\", Op::Root, nullptr, "C:\\"},
    {"x.txt", Op::Root, nullptr, "\\"},
};

void Apply(FilePath& p, Op op, const char* argument) {
    const std::string arg = argument ? argument : "";
    switch (op) {
    case Op::Drive: p.SetDrive(arg); break;
    case Op::Directory: p.SetDirectory(arg); break;
    case Op::FullDirectory: p.SetFullDirectory(arg); break;
    case Op::Title: p.SetFileTitle(arg); break;
    case Op::Extension: p.SetExtension(arg); break;
    case Op::Name: p.SetFileName(arg); break;
    case Op::Append: p.AppendDirectory(arg); break;
    case Op::RemoveLast: p.RemoveLastDirectory(); break;
    case Op::Root: p.ToRoot(); break;
    }
}

TEST(FilePathSet, ReplacesOnePartAndRebuilds) {
    for (const auto& c : kSetCases) {
        SCOPED_TRACE(std::string(c.start) + " op " + std::to_string(static_cast<int>(c.op)) + " " +
                     (c.argument ? c.argument : ""));
        FilePath p(c.start);
        Apply(p, c.op, c.argument);
        EXPECT_EQ(p.GetPath(), c.expected);
    }
}

TEST(FilePathSet, RemoveLastDirectoryGivesTheRemovedName) {
    struct Case {
        const char* start;
        const char* removed;
    } cases[] = {
        {"C:\\A\\B\\x.txt", "B"}, {"C:\\A\\x.txt", "A"}, {"C:\\Long Name\\", "Long Name"},
        {"A\\x.txt", "A"},        {"C:\\x.txt", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        FilePath p(c.start);
        std::string removed = "unset";
        p.RemoveLastDirectory(&removed);
        EXPECT_EQ(removed, c.removed);
    }
    // No directory at all: nothing to remove, the out text is not touched.
    FilePath p("x.txt");
    std::string removed = "unset";
    p.RemoveLastDirectory(&removed);
    EXPECT_EQ(removed, "unset");
    EXPECT_EQ(p.GetPath(), "x.txt");
}

// ---- length limits: 259 characters reach the system, 260 never do ----

std::string PathOfLength(std::size_t length) {
    // C:\ + directories of 100 characters + a name, exactly `length` long.
    std::string p = "C:\\" + std::string(100, 'd') + "\\" + std::string(100, 'e') + "\\";
    p += std::string(length - p.size() - 4, 'f') + ".txt";
    EXPECT_EQ(p.size(), length);
    return p;
}

TEST(FilePathLimits, NineAndSixtyBoundary) {
    const FilePath at(PathOfLength(259));
    const FilePath over(PathOfLength(260));
    EXPECT_FALSE(at.IsTooLong());
    EXPECT_TRUE(over.IsTooLong());
    // Neither is cut: the text names one file, or none.
    EXPECT_EQ(over.GetPath().size(), 260u);
    EXPECT_EQ(over.GetFileName(), std::string(51, 'f') + ".txt");

    // A rebuild that grows past the limit keeps the whole text.
    FilePath grown(at);
    grown.SetExtension("text");
    EXPECT_EQ(grown.GetPath().size(), 260u);
    EXPECT_TRUE(grown.IsTooLong());
    EXPECT_EQ(grown.GetFileName(), std::string(50, 'f') + ".text");
    grown.SetExtension("txt");
    EXPECT_EQ(grown.GetPath(), at.GetPath());
}

TEST(FilePathLimits, ComponentBuffersAreBounded) {
    struct Case {
        std::string path;
        bool splits;
    } cases[] = {
        {"C:\\" + std::string(253, 'd') + "\\f", true},   // directory of 255 with its separators
        {"C:\\" + std::string(254, 'd') + "\\f", false},  // directory of 256
        {"C:\\" + std::string(255, 'n'), true},            // name of 255
        {"C:\\" + std::string(256, 'n'), false},           // name of 256
        {"C:\\x." + std::string(254, 'e'), true},          // extension of 255 with its dot
        {"C:\\x." + std::string(255, 'e'), false},         // 256 with its dot
        {std::string(600, 'n'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.size());
        FilePathParts parts;
        EXPECT_EQ(SplitPath(c.path, parts), c.splits);
        if (!c.splits) {
            EXPECT_TRUE(parts.drive.empty() && parts.directory.empty() && parts.name.empty() &&
                        parts.extension.empty());
            // Readers give nothing, setters change nothing.
            FilePath p(c.path);
            EXPECT_EQ(p.GetFileName(), "");
            EXPECT_EQ(p.GetDirectory(), "");
            p.SetFileName("x");
            p.AppendDirectory("y");
            p.ToRoot();
            EXPECT_EQ(p.GetPath(), c.path);
        }
    }
}

// ---- the unique-name sequence ----

TEST(UniqueNames, SameSequenceEveryRun) {
    UniqueNameSequence names;
    const int firstValues[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int v : firstValues)
        EXPECT_EQ(names.Rand(), v);

    UniqueNameSequence fresh;
    EXPECT_EQ(fresh.Next(), "00294823");
    EXPECT_EQ(fresh.Next(), "3d6c2cd6");
    EXPECT_EQ(fresh.Next(), "16496df1");

    // Names are 8 lower-case hex digits and do not repeat early.
    UniqueNameSequence many;
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string n = many.Next();
        ASSERT_EQ(n.size(), 8u);
        EXPECT_EQ(n.find_first_not_of("0123456789abcdef"), std::string::npos) << n;
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(UniqueNames, MakeUniqueLoop) {
    struct Case {
        const char* name;
        bool mustNotExist;
        int attempts;
        int existing;  // how many of the first names exist already
        bool result;
        const char* expectedTitle;  // nullptr: path unchanged
        int probes;
    } cases[] = {
        {"free at once", true, 1000, 0, true, "00294823", 1},
        {"third is free", true, 1000, 2, true, "16496df1", 3},
        {"need not be free", false, 1000, 5, true, "00294823", 0},
        {"all taken", true, 3, 1000, false, "16496df1", 3},
        {"zero attempts", true, 0, 0, false, nullptr, 0},
        {"negative attempts", true, -4, 0, false, nullptr, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UniqueNameSequence names;
        std::vector<std::string> taken;
        UniqueNameSequence preview;
        for (int i = 0; i < c.existing; ++i)
            taken.push_back(preview.Next());
        int probes = 0;
        FilePath p("C:\\Temp\\x.tmp");
        const bool ok = MakeUniqueWith(p, c.mustNotExist, c.attempts, names, [&](const FilePath& q) {
            ++probes;
            for (const auto& t : taken)
                if (q.GetFileTitle() == t)
                    return true;
            return false;
        });
        EXPECT_EQ(ok, c.result);
        EXPECT_EQ(probes, c.probes);
        if (c.expectedTitle)
            EXPECT_EQ(p.GetPath(), std::string("C:\\Temp\\") + c.expectedTitle + ".tmp");
        else
            EXPECT_EQ(p.GetPath(), "C:\\Temp\\x.tmp");
    }
}

TEST(UniqueNames, MakeUniqueRefusesWhatTheSystemWouldRefuse) {
    UniqueNameSequence names;
    auto never = [](const FilePath&) { return false; };
    // 258 characters with a 1-character title; an 8-character title makes 265.
    FilePath atLimit("C:\\" + std::string(250, 'd') + "\\x.tm");
    ASSERT_EQ(atLimit.GetPath().size(), 258u);
    EXPECT_FALSE(MakeUniqueWith(atLimit, true, 1000, names, never));
    FilePath unsplittable(std::string(300, 'n'));
    EXPECT_FALSE(MakeUniqueWith(unsplittable, true, 1000, names, never));
    EXPECT_EQ(unsplittable.GetPath(), std::string(300, 'n'));
}

// ---- free space arithmetic ----

TEST(FreeSpace, SaturatesInsteadOfWrapping) {
    struct Case {
        std::uint32_t freeClusters, sectorsPerCluster, bytesPerSector;
        std::uint32_t freeBytes, clusterSize;
    } cases[] = {
        {0, 8, 512, 0, 4096},
        {1000, 8, 512, 4096000, 4096},
        {1048575, 8, 512, 0xFFFFF000u, 4096},    // just under 4 GB
        {1048576, 8, 512, 0xFFFFFFFFu, 4096},    // exactly 4 GB would wrap to 0
        {3000000, 64, 512, 0xFFFFFFFFu, 32768},  // would wrap to a small number
        {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {5, 0, 512, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.freeClusters);
        EXPECT_EQ(SaturatedFreeBytes(c.freeClusters, c.sectorsPerCluster, c.bytesPerSector), c.freeBytes);
        EXPECT_EQ(SaturatedClusterSize(c.sectorsPerCluster, c.bytesPerSector), c.clusterSize);
    }
}

// ---- string helpers ----

TEST(PathStrings, Helpers) {
    using Fn = void (*)(std::string&);
    struct Case {
        const char* name;
        Fn fn;
        const char* in;
        const char* out;
    } cases[] = {
        {"AddTrailing", AddTrailingBackslash, "", "\\"},
        {"AddTrailing", AddTrailingBackslash, "C:\\A", "C:\\A\\"},
        {"AddTrailing", AddTrailingBackslash, "C:\\A\\", "C:\\A\\"},
        {"AddTrailing", AddTrailingBackslash, "\\", "\\"},
        {"AddTrailing", AddTrailingBackslash, "C:/A/", "C:/A/\\"},
        {"RemoveTrailing", RemoveTrailingBackslash, "\\", "\\"},
        {"RemoveTrailing", RemoveTrailingBackslash, "", ""},
        {"RemoveTrailing", RemoveTrailingBackslash, "A\\", "A"},
        {"RemoveTrailing", RemoveTrailingBackslash, "A\\\\", "A\\"},
        {"RemoveTrailing", RemoveTrailingBackslash, "A", "A"},
        {"AddLeading", AddLeadingBackslash, "", "\\"},
        {"AddLeading", AddLeadingBackslash, "A", "\\A"},
        {"AddLeading", AddLeadingBackslash, "\\A", "\\A"},
        {"RemoveLeading", RemoveLeadingBackslash, "\\", "\\"},
        {"RemoveLeading", RemoveLeadingBackslash, "\\A", "A"},
        {"RemoveLeading", RemoveLeadingBackslash, "\\\\A", "\\A"},
        {"RemoveLeading", RemoveLeadingBackslash, "A", "A"},
        {"RemoveLeading", RemoveLeadingBackslash, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " '" + c.in + "'");
        std::string s = c.in;
        c.fn(s);
        EXPECT_EQ(s, c.out);
    }

    std::string s = "\"quoted\"";
    RemoveTrailingChar(s, '"');
    RemoveLeadingChar(s, '"');
    EXPECT_EQ(s, "quoted");
    RemoveTrailingChar(s, '"');  // only when present
    RemoveLeadingChar(s, '"');
    EXPECT_EQ(s, "quoted");
    std::string e;
    RemoveTrailingChar(e, 'x');
    RemoveLeadingChar(e, 'x');
    EXPECT_EQ(e, "");

    struct TruncCase {
        const char* in;
        std::size_t n;
        const char* out;
    } truncs[] = {{"abcdef", 3, "abc"}, {"abc", 3, "abc"}, {"abc", 10, "abc"}, {"abc", 0, ""}, {"", 5, ""}};
    for (const auto& t : truncs) {
        std::string v = t.in;
        Truncate(v, t.n);
        EXPECT_EQ(v, t.out) << t.in << " " << t.n;
    }
}

struct NameCase {
    const char* name;
    bool safe;
};

TEST(PlainNames, OnlyPlainNamesAreSafe) {
    const NameCase cases[] = {
        {"TYVIEWER.EXE", true},
        {"readme.txt", true},
        {"NOEXT", true},
        {"long name with blanks.dat", true},
        {"CONFIG.SYS", true},
        {"COM10.TXT", true},
        {"LPT0", true},
        {"CONSOLE.TXT", true},
        {"", false},
        {".", false},
        {"..", false},
        {"..\\EVIL.DLL", false},
        {"../EVIL.DLL", false},
        {"SUB\\FILE.TXT", false},
        {"SUB/FILE.TXT", false},
        {"\\WINDOWS\\WIN.INI", false},
        {"C:WIN.INI", false},
        {"C:\\AUTOEXEC.BAT", false},
        {"\\\\SERVER\\SHARE\\X", false},
        {"FILE.TXT:STREAM", false},
        {"CON", false},
        {"con", false},
        {"NUL.TXT", false},
        {"AUX.DAT", false},
        {"PRN", false},
        {"COM1", false},
        {"com9.log", false},
        {"LPT1", false},
        {"LPT1.TXT", false},
        {"CLOCK$", false},
        {"CON .TXT", false},
        {"A*.DLL", false},
        {"A?.DLL", false},
        {"A<B", false},
        {"A|B", false},
        {"\"Q\"", false},
        {"TRAIL.", false},
        {"TRAIL ", false},
        {"TAB\tNAME", false},
        {"NEW\nLINE", false},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsPlainFileName(c.name), c.safe);
    }
    EXPECT_FALSE(IsPlainFileName(std::string(256, 'A')));
    EXPECT_TRUE(IsPlainFileName(std::string(255, 'A')));
}

TEST(PlainNames, DeviceNamesWithAndWithoutExtension) {
    EXPECT_TRUE(IsDeviceName("CON"));
    EXPECT_TRUE(IsDeviceName("Aux.Txt"));
    EXPECT_TRUE(IsDeviceName("lpt9.a.b"));
    EXPECT_FALSE(IsDeviceName("CONX"));
    EXPECT_FALSE(IsDeviceName("XCON"));
    EXPECT_FALSE(IsDeviceName("COM"));
    EXPECT_FALSE(IsDeviceName(".CON"));
}

// An archive member's name is used by its file-name part only; that part
// is taken as written, so the plain-name check sees a trailing dot or blank,
// a stream colon or a device name exactly as the system would.
TEST(PlainNames, FileNameIsTakenAsWritten) {
    struct PartCase {
        const char* name;
        const char* part;
    };
    const PartCase cases[] = {
        {"X.DLL", "X.DLL"},
        {"SUB\\X.DLL", "X.DLL"},
        {"data\\b002.dat", "b002.dat"},
        {"..\\x.txt", "x.txt"},
        {"fonts\\deep\\m0001.dat", "m0001.dat"},
        {"sub/x.txt", "x.txt"},
        {"a\\b/c.txt", "c.txt"},
        {"/x.txt", "x.txt"},
        {"C:x.txt", "x.txt"},
        {"c:\\evil.txt", "evil.txt"},
        {"\\\\server\\share\\x.txt", "x.txt"},
        {"SUB\\A.DLL.", "A.DLL."},
        {"SUB\\A.DLL ", "A.DLL "},
        {"SUB\\AUX.DAT", "AUX.DAT"},
        {"SUB\\F.TXT:STREAM", "F.TXT:STREAM"},
        {"SUB\\..", ".."},
        {"SUB\\", ""},
        {"C:", ""},
        {"", ""},
        {"X", "X"},
    };
    for (const PartCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileNameAsWritten(c.name), c.part);
    }
    // The system reads a name up to its first NUL.
    EXPECT_EQ(FileNameAsWritten(std::string("SUB\\A.TXT\0\\B.TXT", 16)), "A.TXT");
    // Which parts then pass as a file inside the destination directory.
    EXPECT_TRUE(IsPlainFileName(FileNameAsWritten("fonts\\m0001.dat")));
    EXPECT_TRUE(IsPlainFileName(FileNameAsWritten("..\\..\\x.txt")));
    EXPECT_FALSE(IsPlainFileName(FileNameAsWritten("SUB\\..")));
    EXPECT_FALSE(IsPlainFileName(FileNameAsWritten("SUB\\")));
    EXPECT_FALSE(IsPlainFileName(FileNameAsWritten("..\\NUL.TXT")));
    EXPECT_FALSE(IsPlainFileName(FileNameAsWritten("SUB\\A.DLL.")));
    EXPECT_FALSE(IsPlainFileName(FileNameAsWritten("C:\\X*.DLL")));
}

TEST(PlainNames, FolderPathsStayBelowTheirBase) {
    struct FolderCase {
        const char* folders;
        bool plain;
    };
    const FolderCase cases[] = {
        {"Tessaly Viewer", true},
        {"Tessaly Viewer ", true},  // Windows drops the blank: the same folder
        {"Tools\\Tessaly", true},
        {"Viewer 2.0", true},
        {"", false},
        {"..", false},
        {"...", false},
        {" ", false},
        {"..\\..\\Windows", false},
        {"Tools\\..\\..\\Startup", false},
        {"Tools\\.\\X", false},
        {"\\Windows", false},
        {"Tools\\", false},
        {"Tools\\\\X", false},
        {"C:\\Windows", false},
        {"C:Windows", false},
        {"Tools/../../X", false},
        {"CON", false},
        {"Tools\\aux .x", false},
        {"Group:Stream", false},
        {"A*B", false},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.folders);
        EXPECT_EQ(IsPlainFolderPath(c.folders), c.plain);
    }
}

}  // namespace
