#include "system/ProgramGroups.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlguid.h>
#include <shlobj.h>

#include "system/RegistrationText.h"
#include "system/RegistryKey.h"
#include "wine/SystemTestSupport.h"

namespace {

const char* const kGroup = "TVS Test Group";

// What a saved link holds, read back through the shell's own interfaces.
struct LinkContents {
    std::string path, arguments, description, workingDirectory, iconFile;
    int iconIndex = -1;
};

bool ReadLink(const std::string& file, LinkContents& out) {
    bool ok = false;
    CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        std::wstring wide(file.begin(), file.end());
        if (SUCCEEDED(persist->Load(wide.c_str(), STGM_READ))) {
            char buffer[MAX_PATH];
            link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
            out.path = buffer;
            link->GetArguments(buffer, MAX_PATH);
            out.arguments = buffer;
            link->GetDescription(buffer, MAX_PATH);
            out.description = buffer;
            link->GetWorkingDirectory(buffer, MAX_PATH);
            out.workingDirectory = buffer;
            link->GetIconLocation(buffer, MAX_PATH, &out.iconIndex);
            out.iconFile = buffer;
            ok = true;
        }
    }
    if (persist) persist->Release();
    if (link) link->Release();
    CoUninitialize();
    return ok;
}

// A Program Manager path that can never be reached: counts its start attempts.
class UnreachableGroups : public ProgramGroups {
public:
    UnreachableGroups() : ProgramGroups(3, "TVSNOSUCHSERVICE") {}
    int starts = 0;

protected:
    bool StartProgramManager() override {
        ++starts;
        return true;  // "started", yet still nobody answers
    }
};

class SystemShellLinks : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    void Clean() {
        ProgramGroups groups(4);
        systest::RunAndCapture("cmd.exe /c rmdir /s /q \"" + groups.GroupFolder(kGroup).GetDirectory() +
                               "\"");
    }
    // An existing program to point the links at.
    std::string Program() {
        char system[MAX_PATH];
        GetSystemDirectoryA(system, MAX_PATH);
        return std::string(system) + "\\notepad.exe";
    }
};

TEST_F(SystemShellLinks, VersionDecidesTheMechanism) {
    EXPECT_TRUE(ProgramGroups(4).UsesShellLinks());
    EXPECT_TRUE(ProgramGroups(6).UsesShellLinks());
    EXPECT_FALSE(ProgramGroups(3).UsesShellLinks());
    EXPECT_EQ(ProgramGroups().UsesShellLinks(), ProgramGroups::SystemMajorVersion() > 3);
}

TEST_F(SystemShellLinks, ProgramsFolderFromTheShellFoldersKey) {
    RegistryString programs(HKEY_CURRENT_USER, regtext::kShellFoldersKey, "Programs", "", true, false);
    const std::string original = programs.Get();
    ASSERT_FALSE(original.empty());
    {
        ProgramGroups groups(4);
        EXPECT_EQ(groups.ProgramsFolder().GetPath(), original + "\\");
        EXPECT_EQ(groups.LinkFile(kGroup, "Viewer").GetPath(),
                  original + "\\" + kGroup + "\\Viewer.lnk");
    }
    // Empty value: the Windows directory's Start Menu.
    programs.Set("");
    ASSERT_TRUE(programs.Save());
    {
        char windows[MAX_PATH];
        GetWindowsDirectoryA(windows, MAX_PATH);
        ProgramGroups groups(4);
        EXPECT_EQ(groups.ProgramsFolder().GetPath(),
                  std::string(windows) + "\\Start Menu\\Programs\\");
    }
    programs.Set(original);
    ASSERT_TRUE(programs.Save());
}

TEST_F(SystemShellLinks, AddReplaceDeleteOnDisk) {
    char before[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, before);
    ProgramGroups groups(4);
    const std::string program = Program();
    const std::string programDir = FilePath(program).GetDirectory();
    const FilePath viewer = groups.LinkFile(kGroup, "Viewer 2.0");
    EXPECT_EQ(viewer.GetFileName(), "Viewer 2.lnk");  // the text after the dot gives way to "lnk"

    ASSERT_TRUE(groups.AddProgramItem(kGroup, program, std::string("a b.pdb"), "Viewer 2.0",
                                      "C:\\Tessaly\\tyview.ico", 3, "", 2, 5));
    LinkContents link;
    ASSERT_TRUE(ReadLink(viewer.GetPath(), link));
    EXPECT_EQ(link.path, program);  // a shell link keeps the path unquoted
    EXPECT_EQ(link.arguments, "a b.pdb");
    EXPECT_EQ(link.description, "Viewer 2.0");
    EXPECT_EQ(link.workingDirectory, programDir);
    EXPECT_EQ(link.iconFile, "C:\\Tessaly\\tyview.ico");
    EXPECT_EQ(link.iconIndex, 3);

    // The same name again overwrites the link.
    ASSERT_TRUE(groups.AddProgramItem(kGroup, program, std::string(), "Viewer 2.0", "", 0,
                                      "C:\\Work", 5, 5));
    ASSERT_TRUE(ReadLink(viewer.GetPath(), link));
    EXPECT_EQ(link.arguments, "");
    EXPECT_EQ(link.workingDirectory, "C:\\Work");
    ASSERT_TRUE(groups.AddProgramItem(kGroup, program, std::string(), "Read Me", "", 0, "", 5, 5));
    char after[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before);  // making the folder leaves the current directory alone

    // A folder that still holds items stays.
    EXPECT_FALSE(groups.DeleteGroup(kGroup));
    EXPECT_TRUE(systest::FileExists(groups.GroupFolder(kGroup).GetDirectory()));

    ASSERT_TRUE(SetFileAttributesA(viewer.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(groups.DeleteItem(kGroup, "Viewer 2.0"));
    EXPECT_FALSE(systest::FileExists(viewer.GetPath()));
    EXPECT_FALSE(groups.DeleteItem(kGroup, "Viewer 2.0"));
    EXPECT_TRUE(groups.DeleteItem(kGroup, "Read Me"));
    EXPECT_FALSE(groups.DeleteGroup(""));  // never the Programs folder itself
    EXPECT_TRUE(groups.DeleteGroup(kGroup));
    EXPECT_FALSE(systest::FileExists(groups.GroupFolder(kGroup).GetDirectory()));
}

TEST_F(SystemShellLinks, UnreachableProgramManagerFailsQuietly) {
    UnreachableGroups groups;
    EXPECT_FALSE(groups.AddProgramItem(kGroup, Program(), std::string(), "Viewer", "", 0, "", 5, 5));
    EXPECT_EQ(groups.starts, 1);
    EXPECT_FALSE(groups.DeleteItem(kGroup, "Viewer"));
    EXPECT_FALSE(groups.DeleteGroup(kGroup));
    std::vector<std::string> names{"untouched"};
    EXPECT_FALSE(groups.ListGroups(names));
    EXPECT_EQ(names, std::vector<std::string>{"untouched"});
    EXPECT_EQ(groups.starts, 4);  // one start allowed per command
    EXPECT_FALSE(systest::FileExists(ProgramGroups(4).GroupFolder(kGroup).GetDirectory()));
}

TEST_F(SystemShellLinks, NamesThatWouldLeaveTheProgramsFolderAreRefused) {
    ProgramGroups groups(4);
    const std::string program = Program();
    const FilePath programs = groups.ProgramsFolder();
    FilePath parent = programs;
    parent.RemoveLastDirectory();
    // A decoy beside the Programs folder that a "..\\" item would overwrite
    // or delete.
    const std::string decoy = parent.GetPath() + "Decoy.lnk";
    systest::WriteFileText(decoy, "keep");

    EXPECT_FALSE(groups.AddProgramItem("..", program, std::string(), "Decoy", "", 0, "", 5, 5));
    EXPECT_FALSE(groups.AddProgramItem(kGroup, program, std::string(), "..\\Decoy", "", 0, "", 5, 5));
    EXPECT_FALSE(groups.AddProgramItem(std::string(kGroup) + "\\..\\..", program, std::string(), "Decoy",
                                       "", 0, "", 5, 5));
    EXPECT_FALSE(groups.AddProgramItem(kGroup, program, std::string(), "CON", "", 0, "", 5, 5));
    EXPECT_FALSE(groups.AddProgramItem("C:\\Evil", program, std::string(), "Decoy", "", 0, "", 5, 5));
    EXPECT_EQ(systest::ReadFileText(decoy), "keep");
    EXPECT_FALSE(systest::FileExists("C:\\Evil"));
    EXPECT_FALSE(systest::FileExists(groups.GroupFolder(kGroup).GetDirectory()));

    EXPECT_FALSE(groups.DeleteItem("..", "Decoy"));
    EXPECT_FALSE(groups.DeleteItem(kGroup, "..\\..\\Decoy"));
    EXPECT_FALSE(groups.DeleteGroup(".."));
    EXPECT_EQ(systest::ReadFileText(decoy), "keep");
    EXPECT_TRUE(systest::FileExists(programs.GetPath()));

    // A nested group is still fine.
    const std::string nested = std::string(kGroup) + "\\Tools";
    ASSERT_TRUE(groups.AddProgramItem(nested, program, std::string(), "Viewer", "", 0, "", 5, 5));
    EXPECT_TRUE(groups.DeleteItem(nested, "Viewer"));
    EXPECT_TRUE(groups.DeleteGroup(nested));
    DeleteFileA(decoy.c_str());
}

// A group name left empty on the group page: the link goes straight into
// the Programs folder and can be removed from there; the Programs folder
// itself is never removed as if it were the group.
TEST_F(SystemShellLinks, EmptyGroupPutsTheLinkIntoTheProgramsFolder) {
    ProgramGroups groups(4);
    const std::string program = Program();
    const std::string programs = groups.ProgramsFolder().GetPath();
    EXPECT_EQ(groups.GroupFolder("").GetPath(), programs);
    const std::string link = programs + "TVS Empty Group Item.lnk";
    DeleteFileA(link.c_str());

    ASSERT_TRUE(groups.AddProgramItem("", program, std::string("-x"), "TVS Empty Group Item", "", 0, "", 5, 5));
    EXPECT_EQ(groups.LinkFile("", "TVS Empty Group Item").GetPath(), link);
    LinkContents contents;
    ASSERT_TRUE(ReadLink(link, contents));
    EXPECT_EQ(contents.path, program);
    EXPECT_EQ(contents.arguments, "-x");

    EXPECT_FALSE(groups.DeleteGroup(""));
    EXPECT_TRUE(systest::FileExists(programs));
    EXPECT_TRUE(groups.DeleteItem("", "TVS Empty Group Item"));
    EXPECT_FALSE(systest::FileExists(link));
    // Still no way out through the item name.
    EXPECT_FALSE(groups.AddProgramItem("", program, std::string(), "..\\Decoy", "", 0, "", 5, 5));
    EXPECT_FALSE(groups.AddProgramItem("", program, std::string(), "NUL", "", 0, "", 5, 5));
}

}  // namespace
