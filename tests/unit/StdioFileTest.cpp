#include "framework/StdioFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A file name in the working directory, removed before and after the test.
class TempName {
public:
    explicit TempName(const char* name) : name_(name) { std::remove(name_.c_str()); }
    ~TempName() { std::remove(name_.c_str()); }
    const std::string& str() const { return name_; }

private:
    std::string name_;
};

std::string ReadAllBinary(const std::string& name) {
    CStdioFile f(name, CStdioFile::modeRead | CStdioFile::typeBinary);
    std::string all(static_cast<std::size_t>(f.GetLength()), '\0');
    EXPECT_EQ(f.Read(&all[0], all.size()), all.size());
    return all;
}

}  // namespace

TEST(StdioFile, LinesRoundTripInTextMode) {
    TempName name("stdiofile_lines.txt");
    const std::vector<std::string> lines = {"[Section]", "", "key=value with blanks  ", "last"};
    {
        CStdioFile f(name.str(), CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeText);
        for (const auto& l : lines) f.WriteString(l + "\n");
        f.Close();
    }
    CStdioFile f(name.str(), CStdioFile::modeRead | CStdioFile::typeText);
    std::vector<std::string> read;
    std::string line;
    while (f.ReadString(line)) read.push_back(line);
    EXPECT_EQ(read, lines);
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_EQ(line, "");
}

TEST(StdioFile, ReadStringHandlesCrLfLongLinesAndMissingFinalNewline) {
    TempName name("stdiofile_crlf.txt");
    const std::string longLine(1000, 'x');
    {
        CStdioFile f(name.str(), CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeBinary);
        f.WriteString("one\r\n" + longLine + "\r\ntwo\nno-end");
    }
    CStdioFile f(name.str(), CStdioFile::modeRead | CStdioFile::typeBinary);
    std::string line;
    const std::vector<std::string> expected = {"one", longLine, "two", "no-end"};
    for (const auto& e : expected) {
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_EQ(line, e);
    }
    EXPECT_FALSE(f.ReadString(line));
}

TEST(StdioFile, BinaryReadWriteSeekAndLength) {
    TempName name("stdiofile_bin.dat");
    std::vector<unsigned char> data(5000);
    unsigned seed = 12345;  // fixed: the same bytes on every run
    for (auto& b : data) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<unsigned char>(seed >> 16);
    }
    {
        CStdioFile f(name.str(), CStdioFile::modeCreate | CStdioFile::modeReadWrite | CStdioFile::typeBinary);
        f.Write(data.data(), data.size());
        EXPECT_EQ(f.GetLength(), 5000);
        EXPECT_EQ(f.GetPosition(), 5000);
        EXPECT_EQ(f.Seek(100, CStdioFile::begin), 100);
        unsigned char chunk[10];
        EXPECT_EQ(f.Read(chunk, sizeof chunk), sizeof chunk);
        EXPECT_EQ(std::vector<unsigned char>(chunk, chunk + 10),
                  std::vector<unsigned char>(data.begin() + 100, data.begin() + 110));
        EXPECT_EQ(f.Seek(-10, CStdioFile::end), 4990);
        EXPECT_EQ(f.Read(chunk, sizeof chunk), 10u);
        EXPECT_EQ(f.Read(chunk, sizeof chunk), 0u);  // at the end: short read, no exception
        EXPECT_EQ(f.GetLength(), 5000);              // keeps the position
        EXPECT_EQ(f.GetPosition(), 5000);
    }
    const std::string all = ReadAllBinary(name.str());
    EXPECT_EQ(all, std::string(data.begin(), data.end()));
}

TEST(StdioFile, OpenModesCreateTruncateAndKeep) {
    TempName name("stdiofile_modes.txt");
    { CStdioFile(name.str(), CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeBinary).WriteString("abcdef"); }
    // modeNoTruncate keeps the contents and writes from the start.
    {
        CStdioFile f(name.str(),
                     CStdioFile::modeCreate | CStdioFile::modeNoTruncate | CStdioFile::modeWrite | CStdioFile::typeBinary);
        f.WriteString("XY");
    }
    EXPECT_EQ(ReadAllBinary(name.str()), "XYcdef");
    // Without it the file is emptied.
    { CStdioFile(name.str(), CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeBinary).WriteString("z"); }
    EXPECT_EQ(ReadAllBinary(name.str()), "z");
    // modeCreate|modeNoTruncate creates a missing file.
    std::remove(name.str().c_str());
    {
        CStdioFile f(name.str(), CStdioFile::modeCreate | CStdioFile::modeNoTruncate | CStdioFile::modeReadWrite |
                                     CStdioFile::typeBinary);
        f.WriteString("new");
    }
    EXPECT_EQ(ReadAllBinary(name.str()), "new");
}

TEST(StdioFile, FailuresThrowFileExceptionsWithCauseAndName) {
    struct Case {
        const char* what;
        std::string name;
        unsigned flags;
        int cause;
    };
    const Case cases[] = {
        {"missing file for reading", "stdiofile_does_not_exist.txt", CStdioFile::modeRead, CFileException::fileNotFound},
        {"missing file for update", "stdiofile_does_not_exist.txt", CStdioFile::modeReadWrite,
         CFileException::fileNotFound},
        {"missing directory", "no_such_dir_for_stdiofile/x.txt", CStdioFile::modeCreate | CStdioFile::modeWrite,
         CFileException::fileNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            CStdioFile f(c.name, c.flags);
            ADD_FAILURE() << "no exception";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.cause, c.cause);
            EXPECT_EQ(e.fileName, c.name);
        }
    }
}

TEST(StdioFile, UseAfterCloseIsAnInvalidFileError) {
    TempName name("stdiofile_closed.txt");
    CStdioFile f(name.str(), CStdioFile::modeCreate | CStdioFile::modeWrite);
    f.Close();
    EXPECT_FALSE(f.IsOpen());
    f.Close();  // a second close is harmless
    try {
        f.WriteString("x");
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::invalidFile);
        EXPECT_EQ(e.fileName, name.str());
    }
    std::string line;
    EXPECT_THROW(f.ReadString(line), CFileException);
}

TEST(StdioFile, SeekBeforeStartIsABadSeek) {
    TempName name("stdiofile_seek.txt");
    CStdioFile f(name.str(), CStdioFile::modeCreate | CStdioFile::modeReadWrite | CStdioFile::typeBinary);
    f.WriteString("abc");
    try {
        f.Seek(-10, CStdioFile::begin);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::badSeek);
    }
    EXPECT_EQ(f.GetPosition(), 3);  // unchanged
}
