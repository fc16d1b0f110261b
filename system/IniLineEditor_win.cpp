#include "system/IniLineEditor.h"

#include <windows.h>

#include "system/IniEntryText.h"

IniLineEditor::IniLineEditor(const FilePath& file) : file(file) {}

IniLineEditor::~IniLineEditor() {
    CloseFiles();
}

bool IniLineEditor::Open() {
    tempFile = file;
    if (!tempFile.MakeUnique(true, 1000)) {
        return false;
    }
    // Text mode: the copy gets CR LF line ends, whatever the original had.
    reader = std::fopen(file.c_str(), "r");
    if (reader == nullptr && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // It is there but cannot be read (locked, no access): rewriting it
        // from nothing would throw its contents away.
        return false;
    }
    writer = std::fopen(tempFile.c_str(), "w");
    return writer != nullptr;
}

void IniLineEditor::CloseFiles() {
    if (reader != nullptr) {
        if (std::ferror(reader)) {
            failed = true;
        }
        std::fclose(reader);
        reader = nullptr;
    }
    if (writer != nullptr) {
        if (std::fclose(writer) != 0) {
            failed = true;
        }
        writer = nullptr;
    }
}

bool IniLineEditor::ReadLine() {
    currentLine.clear();
    if (reader == nullptr) {
        return false;
    }
    char chunk[512];
    while (std::fgets(chunk, sizeof chunk, reader) != nullptr) {
        currentLine += chunk;
        if (!currentLine.empty() && currentLine.back() == '\n') {
            break;
        }
    }
    if (std::ferror(reader)) {
        failed = true;
        return false;
    }
    return !currentLine.empty();
}

void IniLineEditor::Write(const std::string& text) {
    if (writer == nullptr || std::fputs(text.c_str(), writer) < 0) {
        failed = true;
    }
}

void IniLineEditor::WriteCurrentLine() {
    Write(currentLine);
    if (!currentLine.empty() && currentLine.back() != '\n') {
        // Only the file's last line can lack its end; without one, a line
        // written after it would be glued onto it.
        Write("\n");
    }
}

void IniLineEditor::WriteLine(const std::string& text) {
    Write(text);
    modified = true;
}

bool IniLineEditor::Run() {
    if (!Open()) {
        // Open creates the copy last, so there is nothing of ours to remove;
        // a name MakeUnique gave up on belongs to somebody else.
        CloseFiles();
        return false;
    }
    Begin();
    while (running && !failed && ReadLine()) {
        if (inserted || ProcessLine()) {
            WriteCurrentLine();
        }
        if (unchanged) {
            break;
        }
    }
    End();
    CloseFiles();
    if (failed || !modified || unchanged) {
        tempFile.Delete(true);
        return !failed && (unchanged || !modified);
    }
    return PutInPlace();
}

bool IniLineEditor::PutInPlace() {
    // Move the original aside first and drop it only once the copy has its
    // name: a failed rename then puts the original back, and never leaves
    // the file missing.
    FilePath backup;
    const bool hadOriginal = file.Exists();
    if (hadOriginal) {
        backup = file;
        if (!backup.MakeUnique(true, 1000)) {
            tempFile.Delete(true);
            return false;
        }
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!file.Rename(backup)) {
            tempFile.Delete(true);
            return false;
        }
    }
    if (!tempFile.Rename(file)) {
        if (hadOriginal) {
            backup.Rename(file);
        }
        tempFile.Delete(true);
        return false;
    }
    if (hadOriginal) {
        backup.Delete(true);
    }
    return true;
}

IniEntryEditor::IniEntryEditor(const FilePath& file) : IniLineEditor(file) {}

bool IniEntryEditor::SetEntry(const std::string& sectionName, const std::string& keyName,
                              const std::string& valueText) {
    section = sectionName;
    key = keyName;
    value = valueText;
    currentSection.clear();
    entryLine = initext::EntryLine(key, value);
    return Run();
}

bool IniEntryEditor::ProcessLine() {
    std::string header;
    if (initext::ParseSectionHeader(currentLine, header)) {
        if (!initext::EqualsNoCase(currentSection, section)) {
            currentSection = header;
        } else {
            // The entry's section ends here: the entry goes last in it.
            WriteLine(entryLine);
            inserted = true;
        }
        return true;
    }
    if (initext::EqualsNoCase(currentSection, section)) {
        std::string lineKey;
        std::string lineValue;
        if (initext::SplitEntry(currentLine, lineKey, lineValue) &&
            initext::EqualsNoCase(lineKey, key) && initext::EqualsNoCase(lineValue, value)) {
            unchanged = true;
        }
    }
    return true;
}

void IniEntryEditor::End() {
    if (inserted) {
        return;
    }
    if (!initext::EqualsNoCase(currentSection, section)) {
        WriteLine(initext::HeaderLine(section));
    }
    WriteLine(entryLine);
}
