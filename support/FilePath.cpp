#include "support/FilePath.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Copies [begin, end) as a component when it fits a buffer of `bufferSize`
// characters with its terminator.
bool FitComponent(const char* begin, const char* end, std::size_t bufferSize, std::string& out) {
    const auto length = static_cast<std::size_t>(end - begin);
    if (length + 1 > bufferSize)
        return false;
    out.assign(begin, length);
    return true;
}

}  // namespace

bool SplitPath(const std::string& path, FilePathParts& parts) {
    parts = FilePathParts{};
    // The system sees the text up to its first NUL; split the same text.
    const char* p = path.c_str();
    const char* end = p + std::strlen(p);

    FilePathParts result;
    if (p[0] != '\0' && p[1] == ':') {
        result.drive.assign(p, 1);
        p += 2;
    }

    const char* lastSlash = nullptr;  // one beyond the last separator
    const char* dot = nullptr;
    for (const char* q = p; q != end; ++q) {
        if (IsSeparator(*q))
            lastSlash = q + 1;
        else if (*q == '.')
            dot = q;
    }
    if (lastSlash) {
        if (!FitComponent(p, lastSlash, kMaxComponentBuffer, result.directory))
            return false;
        p = lastSlash;
    }
    if (dot && dot >= p) {
        // The extension's buffer holds its dot as well.
        if (!FitComponent(p, dot, kMaxComponentBuffer, result.name) ||
            !FitComponent(dot, end, kMaxComponentBuffer, result.extension))
            return false;
        result.extension.erase(0, 1);
    } else if (!FitComponent(p, end, kMaxComponentBuffer, result.name)) {
        return false;
    }
    parts = std::move(result);
    return true;
}

std::string MakePath(const FilePathParts& parts) {
    std::string path;
    if (!parts.drive.empty()) {
        path += parts.drive;
        path += ':';
    }
    if (!parts.directory.empty()) {
        path += parts.directory;
        if (!IsSeparator(parts.directory.back()))
            path += '\\';
    }
    path += parts.name;
    if (!parts.extension.empty()) {
        if (parts.extension.front() != '.')
            path += '.';
        path += parts.extension;
    }
    return path;
}

int UniqueNameSequence::Rand() {
    seed_ = seed_ * 214013u + 2531011u;
    return static_cast<int>((seed_ >> 16) & 0x7fff);
}

std::string UniqueNameSequence::Next() {
    int v[5];
    for (int& x : v)
        x = Rand();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4x%.4x%.4x%.4x%.4x", static_cast<unsigned>(v[0]),
                  static_cast<unsigned>(v[1]), static_cast<unsigned>(v[2]),
                  static_cast<unsigned>(v[3]), static_cast<unsigned>(v[4]));
    return std::string(buffer, 8);
}

UniqueNameSequence& ProcessUniqueNames() {
    static UniqueNameSequence names;
    return names;
}

std::uint32_t SaturatedClusterSize(std::uint32_t sectorsPerCluster, std::uint32_t bytesPerSector) {
    const std::uint64_t product = std::uint64_t{sectorsPerCluster} * bytesPerSector;
    return product > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(product);
}

std::uint32_t SaturatedFreeBytes(std::uint32_t freeClusters, std::uint32_t sectorsPerCluster,
                                 std::uint32_t bytesPerSector) {
    // Two steps, each of which fits 64 bits once the first is saturated.
    const std::uint64_t cluster = SaturatedClusterSize(sectorsPerCluster, bytesPerSector);
    const std::uint64_t product = cluster * freeClusters;
    return product > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(product);
}

// ---- readers ----

void FilePath::GetDrive(std::string& drive) const {
    FilePathParts parts;
    Split(parts);
    drive = parts.drive;
}

void FilePath::GetDirectory(std::string& directory) const {
    FilePathParts parts;
    if (!Split(parts) || parts.drive.empty()) {
        directory.clear();
        return;
    }
    GetDirectoryPart(directory);
    directory.insert(0, parts.drive + ":");
}

void FilePath::GetDirectoryPart(std::string& directory) const {
    FilePathParts parts;
    Split(parts);
    directory = parts.directory;
    RemoveTrailingBackslash(directory);
}

void FilePath::GetFileName(std::string& fileName) const {
    FilePathParts parts;
    Split(parts);
    fileName = parts.name;
    if (!parts.extension.empty())
        fileName += "." + parts.extension;
}

void FilePath::GetFileTitle(std::string& title) const {
    FilePathParts parts;
    Split(parts);
    title = parts.name;
}

// ---- setters ----

void FilePath::SetDrive(const std::string& drive) {
    FilePathParts parts;
    if (!Split(parts))
        return;
    parts.drive = drive;
    // Accept "D:" as well as "D": a second colon would make "D::".
    RemoveTrailingChar(parts.drive, ':');
    path_ = MakePath(parts);
}

void FilePath::SetDirectory(const std::string& directory) {
    FilePathParts parts;
    if (!Split(parts))
        return;
    parts.directory = directory;
    AddLeadingBackslash(parts.directory);
    AddTrailingBackslash(parts.directory);
    path_ = MakePath(parts);
}

void FilePath::SetFullDirectory(const std::string& directory) {
    FilePathParts parts;
    if (!Split(parts))
        return;
    // The new text carries its own drive, if any; the rebuild writes it whole.
    parts.drive.clear();
    parts.directory = directory;
    AddTrailingBackslash(parts.directory);
    path_ = MakePath(parts);
}

void FilePath::SetFileTitle(const std::string& title) {
    FilePathParts parts;
    if (!Split(parts))
        return;
    parts.name = title;
    path_ = MakePath(parts);
}

void FilePath::SetExtension(const std::string& extension) {
    FilePathParts parts;
    if (!Split(parts))
        return;
    parts.extension = extension;
    path_ = MakePath(parts);
}

void FilePath::SetFileName(const std::string& fileName) {
    FilePathParts parts;
    if (!Split(parts))
        return;
    parts.name = fileName;
    parts.extension.clear();
    path_ = MakePath(parts);
}

void FilePath::AppendDirectory(const std::string& subdirectory) {
    // A lone backslash names no subdirectory; appending it would only double
    // the separator.
    if (subdirectory.empty() || subdirectory == "\\")
        return;
    FilePathParts parts;
    if (!Split(parts))
        return;
    std::string sub = subdirectory;
    RemoveLeadingBackslash(sub);
    AddTrailingBackslash(sub);
    AddTrailingBackslash(parts.directory);
    parts.directory += sub;
    path_ = MakePath(parts);
}

void FilePath::RemoveLastDirectory(std::string* removed) {
    FilePathParts parts;
    if (!Split(parts) || parts.directory.empty())
        return;
    std::string directory = parts.directory;
    if (directory.size() > 1 && IsSeparator(directory.back()))
        directory.pop_back();
    const auto cut = directory.find_last_of("\\/");
    if (cut == std::string::npos) {
        // A relative directory of one level ("A\"): the name stays relative.
        if (removed)
            *removed = directory;
        parts.directory.clear();
        path_ = MakePath(parts);
        return;
    }
    if (removed)
        *removed = directory.substr(cut + 1);
    directory.erase(cut);
    // A rooted directory cut down to nothing is the root; a relative one
    // ("A\B\") stays relative rather than becoming "\A\".
    if (directory.empty() && cut == 0)
        directory = parts.directory.substr(0, 1);
    parts.directory = directory;
    path_ = MakePath(parts);
}

void FilePath::ToRoot() {
    FilePathParts parts;
    if (!Split(parts))
        return;
    parts.directory = "\\";
    parts.name.clear();
    parts.extension.clear();
    path_ = MakePath(parts);
}

bool MakeUniqueWith(FilePath& path, bool mustNotExist, int attempts, UniqueNameSequence& names,
                    const std::function<bool(const FilePath&)>& exists) {
    FilePathParts parts;
    if (!SplitPath(path.GetPath(), parts))
        return false;
    for (int i = 0; i < attempts; ++i) {
        path.SetFileTitle(names.Next());
        // The system refuses an over-long name, so "does not exist" would lie.
        if (path.IsTooLong())
            return false;
        if (!mustNotExist || !exists(path))
            return true;
    }
    return false;
}

// ---- string helpers ----

void AddTrailingBackslash(std::string& s) {
    if (s.empty() || s.back() != '\\')
        s += '\\';
}

void RemoveTrailingBackslash(std::string& s) {
    if (s.size() > 1 && s.back() == '\\')
        s.pop_back();
}

void AddLeadingBackslash(std::string& s) {
    if (s.empty() || s.front() != '\\')
        s.insert(s.begin(), '\\');
}

void RemoveLeadingBackslash(std::string& s) {
    if (s.size() > 1 && s.front() == '\\')
        s.erase(0, 1);
}

void RemoveTrailingChar(std::string& s, char c) {
    if (!s.empty() && s.back() == c)
        s.pop_back();
}

void RemoveLeadingChar(std::string& s, char c) {
    if (!s.empty() && s.front() == c)
        s.erase(0, 1);
}

void Truncate(std::string& s, std::size_t n) {
    if (n < s.size())
        s.erase(n);
}

namespace {

std::string UpperCase(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

bool IsDeviceName(const std::string& fileName) {
    // The system takes the part before the first dot, and ignores blanks
    // before it ("CON .TXT" is the console too).
    std::string base = UpperCase(fileName.substr(0, fileName.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
    for (const char* name : kFixed)
        if (base == name)
            return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0))
        return base[3] >= '1' && base[3] <= '9';
    return false;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > 255)
        return false;
    if (name == "." || name == "..")
        return false;
    for (char ch : name) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20)
            return false;
        switch (c) {
        case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            return false;
        default:
            break;
        }
    }
    // The system drops trailing dots and blanks, so "A.DLL." would name A.DLL
    // behind the checks' backs.
    if (name.back() == '.' || name.back() == ' ')
        return false;
    return !IsDeviceName(name);
}

std::string FileNameAsWritten(const std::string& name) {
    const char* p = name.c_str();
    if (p[0] != '\0' && p[1] == ':')
        p += 2;
    const char* part = p;
    for (; *p != '\0'; ++p) {
        if (IsSeparator(*p))
            part = p + 1;
    }
    return std::string(part, p);
}

bool IsPlainFolderPath(const std::string& folders) {
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = folders.find('\\', begin);
        std::string component = folders.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        // A typed "Tessaly Viewer " names the same folder as "Tessaly Viewer",
        // while "..." or " " would name the parent or nothing at all.
        while (!component.empty() && (component.back() == '.' || component.back() == ' '))
            component.pop_back();
        if (!IsPlainFileName(component))
            return false;
        if (end == std::string::npos)
            return true;
        begin = end + 1;
    }
}
