#pragma once
// Rewrites a profile-format text file line by line into a uniquely named
// copy beside it, then puts the copy in the file's place. Windows only.
//
// The edit never loses the file: a file that exists but cannot be read, a
// read or write error, or a failed swap leave the original as it was and
// the copy removed. Lines of any length are copied whole.

#include <cstdio>
#include <string>

#include "support/FilePath.h"

class IniLineEditor {
public:
    explicit IniLineEditor(const FilePath& file);
    virtual ~IniLineEditor();
    IniLineEditor(const IniLineEditor&) = delete;
    IniLineEditor& operator=(const IniLineEditor&) = delete;

protected:
    // Decides for the current line: true copies it to the new file.
    virtual bool ProcessLine() = 0;
    // Opens the file and the copy, runs the edit and puts the result in
    // place. True when the file now holds the edit (or needed none).
    bool Run();
    // The next line into currentLine, its line end kept; false at the end.
    bool ReadLine();
    // Copies the current line (a last line without a line end gets one).
    void WriteCurrentLine();
    // Writes a text of the edit's own and marks the file modified.
    void WriteLine(const std::string& text);
    virtual void Begin() {}
    virtual void End() {}

    FilePath file;
    FilePath tempFile;
    std::string currentLine;
    bool running = true;
    bool inserted = false;
    bool unchanged = false;
    bool modified = false;

private:
    bool Open();
    void CloseFiles();
    void Write(const std::string& text);
    bool PutInPlace();

    std::FILE* reader = nullptr;
    std::FILE* writer = nullptr;
    bool failed = false;  // a read or write went wrong: keep the original
};

// The editor that sets one key in one section (names compare without
// case). An existing equal entry leaves the file untouched; otherwise the
// entry goes at the end of its section, or into a new section at the end.
class IniEntryEditor : public IniLineEditor {
public:
    explicit IniEntryEditor(const FilePath& file);

    // True when the file holds section/key=value afterwards.
    bool SetEntry(const std::string& section, const std::string& key, const std::string& value);

protected:
    bool ProcessLine() override;
    void End() override;

private:
    std::string section;
    std::string key;
    std::string value;
    std::string currentSection;
    std::string entryLine;
};
