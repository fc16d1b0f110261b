// The C runtime behaviour that the programs rely on, checked in the link
// that ships: scripts/ship-smoke.sh runs this program from the shipped tree
// (crtdll.dll, the replaced library errors), and the test tree runs the
// same source as the test runtime_check (msvcrt.dll, the library as it is),
// so both links must give the same answers.
//
// It works in a scratch directory of its own under the temporary directory
// and removes it afterwards. Prints one line per failed check and ends
// with the number of failures.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>
#include <windows.h>

#include "framework/Exception.h"
#include "framework/StdioFile.h"
#include "support/FilePath.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what, const std::string& detail = {}) {
    if (ok) return;
    ++failures;
    std::printf("FAILED: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
    // The length query with no buffer is what the programs size their
    // texts with: an old runtime's _snprintf answers -1 to it.
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length < 0) return "<length query failed>";
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return std::string(buffer.data());
}

void CheckFormatting() {
    struct Case {
        std::string got;
        const char* expected;
    };
    const Case cases[] = {
        {Format("%d|%d", 42, -7), "42|-7"},
        {Format("%s", "text"), "text"},
        {Format("[%02d:%02d]", 3, 45), "[03:45]"},
        {Format("%04ld", 12L), "0012"},
        {Format("%04ld", -12L), "-012"},
        {Format("%.4x|%.4X", 0xabu, 0xBEEFu), "00ab|BEEF"},
        {Format("%d.%d (%.5s)", 2, 31, "truncated"), "2.31 (trunc)"},
        {Format("%lu|%u", 4000000000UL, 7u), "4000000000|7"},
        {Format("%5s|%-5s|%c|%%", "ab", "cd", 'x'), "   ab|cd   |x|%"},
        {Format("#%d", 0), "#0"},
    };
    for (const Case& c : cases)
        Check(c.got == c.expected, "formatting", "\"" + c.got + "\", expected \"" + c.expected + "\"");

    char small[6];
    const int n = std::snprintf(small, sizeof small, "%s", "overlong");
    Check(n == 8 && std::strcmp(small, "overl") == 0, "snprintf truncates, terminates and counts");
}

struct Tracker {
    int& destroyed;
    ~Tracker() { ++destroyed; }
};

[[noreturn]] void ThrowThroughFrames(int depth, int& destroyed) {
    Tracker tracker{destroyed};
    if (depth == 0) CFileException::ThrowErrno(ENOENT, "C:\\MISSING.TXT");
    ThrowThroughFrames(depth - 1, destroyed);
}

void CheckExceptions() {
    int destroyed = 0;
    try {
        ThrowThroughFrames(3, destroyed);
    } catch (const CException& e) {
        const CFileException* file = dynamic_cast<const CFileException*>(&e);
        Check(file && file->cause == CFileException::fileNotFound && file->fileName == "C:\\MISSING.TXT",
              "a framework exception keeps its type and fields through four frames");
    }
    Check(destroyed == 4, "unwinding runs every destructor", std::to_string(destroyed) + " of 4");

    bool rethrown = false;
    try {
        try {
            throw CMemoryException();
        } catch (...) {
            throw;
        }
    } catch (const CMemoryException&) {
        rethrown = true;
    }
    Check(rethrown, "a rethrown exception is caught by its own type");

    // Misuse reported by the C++ library: caught as std::exception, with
    // the library's message. The shipped programs throw it as a type of
    // their own (cmake/LibraryErrors.cpp), so no test names the std type.
    std::string what;
    try {
        std::string("abc").substr(10);
    } catch (const std::exception& e) {
        what = e.what();
    }
    Check(what == "basic_string::substr: __pos (which is 10) > this->size() (which is 3)",
          "out-of-range position", what);
    what.clear();
    try {
        std::vector<int> v;
        v.reserve(v.max_size() + 1);
    } catch (const std::exception& e) {
        what = e.what();
    }
    Check(what == "vector::reserve", "length past max_size", what);
    what.clear();
    try {
        std::string(static_cast<const char*>(nullptr));
    } catch (const std::exception& e) {
        what = e.what();
    }
    Check(what == "basic_string: construction from null is not valid", "string from null", what);

    bool badAlloc = false;
    try {
        // Below max_size, so it reaches operator new, but half the address
        // space: no allocation can succeed, in a 32-bit or 64-bit process.
        std::vector<char> huge(std::vector<char>().max_size() - 16);
        huge[0] = 1;
    } catch (const std::bad_alloc&) {
        badAlloc = true;
    }
    Check(badAlloc, "an allocation that cannot succeed throws std::bad_alloc");

    bool badCall = false;
    try {
        std::function<void()> empty;
        empty();
    } catch (const std::bad_function_call&) {
        badCall = true;
    }
    Check(badCall, "calling an empty std::function throws std::bad_function_call");
}

std::string ReadAll(const std::string& path, const char* mode) {
    std::string data;
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f) return "<cannot open>";
    char chunk[64];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) != 0) data.append(chunk, n);
    std::fclose(f);
    return data;
}

void CheckFiles(const std::string& dir) {
    // Binary mode: every byte as written, Ctrl-Z and CR included.
    const std::string bytes("a\r\nb\nc\x1a" "d\0e", 9);
    const std::string binary = dir + "\\BINARY.DAT";
    {
        CStdioFile f;
        f.Open(binary, CStdioFile::modeCreate | CStdioFile::modeWrite | CStdioFile::typeBinary);
        f.Write(bytes.data(), bytes.size());
        f.Close();
        f.Open(binary, CStdioFile::modeRead | CStdioFile::typeBinary);
        Check(f.GetLength() == 9, "binary length", std::to_string(f.GetLength()));
        char back[16] = {};
        const std::size_t n = f.Read(back, sizeof back);
        Check(n == 9 && std::memcmp(back, bytes.data(), 9) == 0, "binary bytes read back");
        f.Close();
    }
    Check(ReadAll(binary, "rb") == bytes, "binary bytes on disk");

    // Text mode, the runtime's default: LF written as CR LF, read back as LF.
    const std::string text = dir + "\\TEXT.TXT";
    {
        CStdioFile f;
        f.Open(text, CStdioFile::modeCreate | CStdioFile::modeWrite);
        f.WriteString("one\ntwo\n");
        f.Close();
        f.Open(text, CStdioFile::modeRead);
        std::string line, lines;
        while (f.ReadString(line)) lines += line + "|";
        Check(lines == "one|two|", "text lines read back without their line ends", lines);
        f.Close();
    }
    Check(ReadAll(text, "rb") == "one\r\ntwo\r\n", "text mode writes CR LF", ReadAll(text, "rb"));

    // A missing file: errno ENOENT, which the framework turns into its cause.
    int cause = -1;
    try {
        CStdioFile f;
        f.Open(dir + "\\NOTHERE.TXT", CStdioFile::modeRead);
    } catch (const CFileException& e) {
        cause = e.cause;
    }
    Check(cause == CFileException::fileNotFound, "opening a missing file", std::to_string(cause));
}

void CheckDirectories(const std::string& dir) {
    errno = 0;
    Check(::_mkdir(dir.c_str()) == 0, "_mkdir of a new directory");
    errno = 0;
    Check(::_mkdir(dir.c_str()) == -1 && errno == EEXIST, "_mkdir of an existing one: EEXIST",
          std::to_string(errno));
    errno = 0;
    const std::string orphan = dir + "\\NO\\SUCH";
    Check(::_mkdir(orphan.c_str()) == -1 && errno == ENOENT, "_mkdir without its parent: ENOENT",
          std::to_string(errno));

    const std::string sub = dir + "\\SUB";
    Check(FilePath(sub).CreateDirectory(false), "FilePath::CreateDirectory");
    Check(FilePath(sub).CreateDirectory(false), "FilePath::CreateDirectory of an existing one");
    Check(FilePath(dir + "\\DEEP\\ER\\ST").CreateDirectory(true), "FilePath::CreateDirectory, recursive");

    errno = 0;
    Check(::_chdir(sub.c_str()) == 0, "_chdir into a directory");
    char cwd[260] = {};
    Check(::_getcwd(cwd, sizeof cwd) != nullptr && _stricmp(cwd, sub.c_str()) == 0,
          "the current directory after _chdir", cwd);
    errno = 0;
    Check(::_chdir((dir + "\\MISSING").c_str()) == -1 && errno == ENOENT, "_chdir into a missing one: ENOENT",
          std::to_string(errno));
    Check(FilePath(dir + "\\").EnterDirectory(), "FilePath::EnterDirectory");
}

void CheckNumbers() {
    char* end = nullptr;
    Check(std::strtol("  -1234x", &end, 10) == -1234 && *end == 'x', "strtol, decimal");
    Check(std::strtol("1F", nullptr, 16) == 31, "strtol, hexadecimal");
    Check(std::atoi("0042") == 42, "atoi");
}

// A name for the scratch directory that is not taken yet.
std::string ScratchName() {
    char temp[260] = {};
    if (::GetTempPathA(sizeof temp, temp) == 0) std::strcpy(temp, "C:\\");
    std::string base(temp);
    if (base.back() == '\\') base.pop_back();
    for (int n = 0; n < 1000; ++n) {
        const std::string name = base + "\\RTCHK" + std::to_string(n);
        if (::GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
    }
    return base + "\\RTCHK";
}

void RemoveScratch(const std::string& dir) {
    ::_chdir("\\");
    for (const char* file : {"\\BINARY.DAT", "\\TEXT.TXT"}) std::remove((dir + file).c_str());
    for (const char* sub : {"\\DEEP\\ER\\ST", "\\DEEP\\ER", "\\DEEP", "\\SUB", ""})
        ::_rmdir((dir + sub).c_str());
}

}  // namespace

int main() {
    const std::string dir = ScratchName();
    try {
        CheckFormatting();
        CheckExceptions();
        CheckNumbers();
        CheckDirectories(dir);
        CheckFiles(dir);
    } catch (...) {
        Check(false, "an exception escaped a check");
    }
    RemoveScratch(dir);
    Check(::GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES, "the scratch directory is removed", dir);
    std::printf("%d failure(s)\n", failures);
    return failures;
}
