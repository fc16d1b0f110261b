// "Insert Diskette" on screen, driven from a second thread while the modal
// prompt runs on the test's thread.

#include <gtest/gtest.h>

#include "ModalDriver.h"

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "archive/DiskettePrompt.h"
#include "app/ChangeFolderDlg.h"
#include "framework/ModalSeam.h"
#include "resources/ResourceIds.h"
#include "tools/guidriver/GuiDriver.h"

namespace {

namespace gd = guidriver;

constexpr const char* kTitle = "Insert Diskette";

// A prompt that counts the times OK found no file.
class CountingPrompt : public DiskettePrompt {
public:
    using DiskettePrompt::DiskettePrompt;
    int missingSignals = 0;

protected:
    void SignalFileMissing() override {
        ++missingSignals;
        DiskettePrompt::SignalFileMissing();
    }
};

// What the driver saw of the prompt at one moment.
struct Face {
    std::string title, request, explanation, location, moreText;
    bool explanationEnabled = false, locationEnabled = false, browseEnabled = false, skipEnabled = false;
    bool okEnabled = false, cancelEnabled = false;
    SIZE clientDU{};
};

Face Look(HWND w) {
    Face f;
    f.title = gd::WindowText(w);
    f.request = gd::ControlText(w, IDC_DISK_REQUEST);
    f.explanation = gd::ControlText(w, IDC_DISK_EXPLANATION);
    f.location = gd::ControlText(w, IDC_LOCATION);
    f.moreText = gd::ControlText(w, IDC_MORE);
    f.explanationEnabled = gd::IsControlEnabled(w, IDC_DISK_EXPLANATION);
    f.locationEnabled = gd::IsControlEnabled(w, IDC_LOCATION);
    f.browseEnabled = gd::IsControlEnabled(w, IDC_DISK_BROWSE);
    f.skipEnabled = gd::IsControlEnabled(w, IDC_DISK_SKIP);
    f.okEnabled = gd::IsControlEnabled(w, IDOK);
    f.cancelEnabled = gd::IsControlEnabled(w, IDCANCEL);
    f.clientDU = gd::ClientSizeInDialogUnits(w);
    return f;
}

// Runs `show` while `script` acts on the prompt from a second thread.
void DrivePrompt(const std::function<void(HWND)>& script, const std::function<void()>& show,
                 bool* promptSeen = nullptr) {
    modal_driver::DriveModal(kTitle, IDC_DISK_REQUEST, script, show, promptSeen);
}

// Presses a button by posting its command: for buttons whose handler runs a
// modal dialog of its own, which a synchronous click would wait for.
void PostClick(HWND w, int id) {
    ::PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(w, id)));
}

// Paths compared without regard to case, as the file system does.
std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Waits until control `id` shows `text` (in any case); false after `timeoutMs`.
bool WaitForText(HWND w, int id, const std::string& text, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (Lower(gd::ControlText(w, id)) != Lower(text)) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(10);
    }
    return true;
}

std::string Explanation(const std::string& path) {
    return "Setup cannot find the file '" + path +
           "' on the drive and directory specified below. Please insert the specified diskette in this drive. If "
           "the files can be found in a different location, type the location below or pick with Browse.";
}

// A scratch tree under the temporary directory, removed again.
class DiskettePromptGui : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ASSERT_GT(::GetTempPathA(sizeof temp, temp), 0u);
        char full[MAX_PATH] = {};
        ASSERT_GT(::GetLongPathNameA(temp, full, sizeof full), 0u);
        root_ = std::string(full) + "tvs-diskette-" + std::to_string(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryA(root_.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
        MakeDirectory("DISK1");
        MakeDirectory("OTHER");
    }
    void TearDown() override {
        for (const std::string& f : files_) ::DeleteFileA(f.c_str());
        for (auto d = dirs_.rbegin(); d != dirs_.rend(); ++d) ::RemoveDirectoryA(d->c_str());
        ::RemoveDirectoryA(root_.c_str());
    }

    std::string Dir(const std::string& name) const { return root_ + "\\" + name; }
    void MakeDirectory(const std::string& name) {
        ::CreateDirectoryA(Dir(name).c_str(), nullptr);
        dirs_.push_back(Dir(name));
    }
    void MakeFile(const std::string& path) {
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
        ::CloseHandle(h);
        files_.push_back(path);
    }

    std::string root_;
    std::vector<std::string> dirs_, files_;
};

}  // namespace

TEST_F(DiskettePromptGui, OpensCollapsedAndMoreShowsTheLocation) {
    const std::string missing = Dir("DISK1") + "\\TYVIEWER.EX_";
    CountingPrompt prompt(FilePath(missing), 2, "Tessaly Viewer Disk 2");
    std::vector<Face> faces;
    bool openAfterSkip = false;
    bool seen = false;
    INT_PTR result = 0;
    DrivePrompt(
        [&](HWND w) {
            faces.push_back(Look(w));
            gd::Click(w, IDC_MORE);
            faces.push_back(Look(w));
            gd::Click(w, IDC_DISK_SKIP);
            openAfterSkip = ::IsWindow(w) != FALSE;
            faces.push_back(Look(w));
            gd::Click(w, IDC_MORE);
            faces.push_back(Look(w));
            gd::Click(w, IDCANCEL);
        },
        [&] { result = prompt.DoModal(); }, &seen);
    ASSERT_TRUE(seen);
    ASSERT_EQ(faces.size(), 4u);
    EXPECT_EQ(result, IDCANCEL);

    const Face& collapsed = faces[0];
    EXPECT_EQ(collapsed.title, "Insert Diskette");
    EXPECT_EQ(collapsed.request, "Please insert the diskette labelled 'Tessaly Viewer Disk 2' in drive C:");
    EXPECT_EQ(collapsed.explanation, Explanation(missing));
    EXPECT_EQ(collapsed.location, Dir("DISK1"));  // where Setup looked, not the root
    EXPECT_EQ(collapsed.moreText, "&More>>");
    EXPECT_TRUE(collapsed.okEnabled);
    EXPECT_TRUE(collapsed.cancelEnabled);
    EXPECT_FALSE(collapsed.explanationEnabled);
    EXPECT_FALSE(collapsed.locationEnabled);
    EXPECT_FALSE(collapsed.browseEnabled);
    EXPECT_FALSE(collapsed.skipEnabled);
    EXPECT_EQ(collapsed.clientDU.cx, 236);
    EXPECT_EQ(collapsed.clientDU.cy, 60);

    const Face& expanded = faces[1];
    EXPECT_EQ(expanded.moreText, "&More<<");
    EXPECT_TRUE(expanded.explanationEnabled);
    EXPECT_TRUE(expanded.locationEnabled);
    EXPECT_TRUE(expanded.browseEnabled);
    EXPECT_TRUE(expanded.skipEnabled);
    EXPECT_EQ(expanded.clientDU.cx, 236);
    EXPECT_EQ(expanded.clientDU.cy, 142);

    EXPECT_TRUE(openAfterSkip);  // Skip File does nothing
    EXPECT_EQ(faces[2].location, Dir("DISK1"));
    EXPECT_EQ(prompt.missingSignals, 0);

    EXPECT_EQ(faces[3].moreText, "&More>>");
    EXPECT_FALSE(faces[3].locationEnabled);
    EXPECT_EQ(faces[3].clientDU.cy, 60);
}

TEST_F(DiskettePromptGui, RequestLineNamesTheLabelOrTheNumberAndTheDrive) {
    struct Case {
        const char* path;
        int diskette;
        const char* label;
        const char* expected;
    };
    const Case cases[] = {
        {"A:\\SETUP.EX_", 1, "Disk 1", "Please insert the diskette labelled 'Disk 1' in drive A:"},
        {"A:\\SETUP.EX_", 3, "", "Please insert diskette 3 in drive A:"},
        {"D:\\KIT\\DISK02\\TYVIEW.EX_", 12, "", "Please insert diskette 12 in drive D:"},
        // A label is text, not a format: its % signs are shown as they are.
        {"B:\\X", 2, "50% %s %d", "Please insert the diskette labelled '50% %s %d' in drive B:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        DiskettePrompt prompt(FilePath(c.path), c.diskette, c.label);
        EXPECT_EQ(prompt.RequestLine(), c.expected);
        EXPECT_EQ(prompt.Explanation(), Explanation(c.path));
    }

    // The numbered form on screen, too.
    std::string request;
    DrivePrompt(
        [&](HWND w) {
            request = gd::ControlText(w, IDC_DISK_REQUEST);
            gd::Click(w, IDCANCEL);
        },
        [&] {
            DiskettePrompt prompt(FilePath(Dir("DISK1") + "\\A.EX_"), 4, "");
            prompt.DoModal();
        });
    EXPECT_EQ(request, "Please insert diskette 4 in drive C:");
}

TEST_F(DiskettePromptGui, OkClosesOnlyOnceTheFileIsThere) {
    const std::string missing = Dir("DISK1") + "\\SETUP.EX_";
    CountingPrompt prompt(FilePath(missing), 1, "");
    bool openAfterFirstOk = false;
    int signalsAfterFirstOk = -1;
    bool closedAfterSecondOk = false;
    INT_PTR result = 0;
    DrivePrompt(
        [&](HWND w) {
            gd::Click(w, IDOK);
            openAfterFirstOk = ::IsWindow(w) != FALSE;
            signalsAfterFirstOk = prompt.missingSignals;
            MakeFile(missing);  // the user inserts the diskette
            gd::Click(w, IDOK);
            closedAfterSecondOk = gd::WaitUntilGone(w, 5000);
        },
        [&] { result = prompt.DoModal(); });
    EXPECT_TRUE(openAfterFirstOk);
    EXPECT_EQ(signalsAfterFirstOk, 1);
    EXPECT_TRUE(closedAfterSecondOk);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(prompt.location, Dir("DISK1"));
}

TEST_F(DiskettePromptGui, TypedLocationIsAcceptedOnlyWhereTheFileIs) {
    MakeFile(Dir("OTHER") + "\\SETUP.EX_");
    struct Case {
        std::string typed;
        bool closes;
        std::string location;  // after OK, when it closes
    };
    const Case cases[] = {
        {Dir("OTHER"), true, Dir("OTHER")},
        {Dir("OTHER") + "\\", true, Dir("OTHER")},         // one form for the source directory
        {Dir("OTHER") + "\\.\\", true, Dir("OTHER")},
        {Dir("DISK1"), false, ""},                          // still missing there
        {"", false, ""},                                    // nothing typed is no location
        {Dir("NOWHERE"), false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("typed '" + c.typed + "'");
        CountingPrompt prompt(FilePath(Dir("DISK1") + "\\SETUP.EX_"), 1, "");
        bool closed = false;
        INT_PTR result = 0;
        DrivePrompt(
            [&](HWND w) {
                gd::Click(w, IDC_MORE);
                ::SetDlgItemTextA(w, IDC_LOCATION, c.typed.c_str());
                gd::Click(w, IDOK);
                closed = gd::WaitUntilGone(w, c.closes ? 5000 : 200);
                if (!closed) gd::Click(w, IDCANCEL);
            },
            [&] { result = prompt.DoModal(); });
        EXPECT_EQ(closed, c.closes);
        EXPECT_EQ(result, c.closes ? IDOK : IDCANCEL);
        EXPECT_EQ(prompt.missingSignals, c.closes ? 0 : 1);
        if (c.closes) {
            EXPECT_EQ(prompt.location, c.location);
        }
    }
}

TEST_F(DiskettePromptGui, EveryWayOutButOkIsCancel) {
    const std::vector<std::pair<const char*, std::function<void(HWND)>>> ways = {
        {"Cancel", [](HWND w) { gd::Click(w, IDCANCEL); }},
        {"Escape", [](HWND w) { gd::PressKey(w, VK_ESCAPE); }},
        {"close box", [](HWND w) { gd::Close(w); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.first);
        std::string location = "unchanged";
        bool answered = true;
        bool seen = false;
        DrivePrompt(way.second, [&] { answered = DiskettePrompt::Ask(Dir("DISK1"), "SETUP.EX_", 1, "", location); },
                    &seen);
        ASSERT_TRUE(seen);
        EXPECT_FALSE(answered);
        EXPECT_EQ(location, "unchanged");
    }
}

TEST_F(DiskettePromptGui, BrowseWithAnEmptyLocationSaysSoAndStays) {
    std::vector<ModalInteraction> asked;
    bool open = false;
    DrivePrompt(
        [&](HWND w) {
            gd::Click(w, IDC_MORE);
            ::SetDlgItemTextA(w, IDC_LOCATION, "");
            {
                // The prompt itself is already on screen; only what Browse
                // asks reaches the answerer.
                ScopedModalAnswerer answer([&](const ModalInteraction& m) {
                    asked.push_back(m);
                    return IDOK;
                });
                gd::Click(w, IDC_DISK_BROWSE);
            }
            open = ::IsWindow(w) != FALSE;
            gd::Click(w, IDCANCEL);
        },
        [&] {
            DiskettePrompt prompt(FilePath(Dir("DISK1") + "\\SETUP.EX_"), 1, "");
            prompt.DoModal();
        });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, ModalKind::messageBox);
    EXPECT_EQ(asked[0].text, "The path can not be empty.  Please enter a path.");
    EXPECT_TRUE(open);
}

TEST_F(DiskettePromptGui, BrowseStartsInTheNearestDirectoryThatExists) {
    struct Case {
        std::string typed;
        bool pick;
        std::string start;   // where the browser is asked to start
        std::string after;   // the location field afterwards
    };
    const Case cases[] = {
        {Dir("OTHER"), true, Dir("OTHER"), "X:\\CHOSEN"},
        {Dir("OTHER") + "\\NOPE\\DEEPER", true, Dir("OTHER"), "X:\\CHOSEN"},
        {Dir("DISK1"), false, Dir("DISK1"), Dir("DISK1")},  // cancelled: the location stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::vector<std::string> starts;
        DiskettePrompt::FolderPicker previous =
            DiskettePrompt::SetFolderPicker([&](HWND, std::string& directory) {
                starts.push_back(directory);
                if (c.pick) directory = "X:\\CHOSEN";
                return c.pick;
            });
        std::string after;
        DrivePrompt(
            [&](HWND w) {
                gd::Click(w, IDC_MORE);
                ::SetDlgItemTextA(w, IDC_LOCATION, c.typed.c_str());
                gd::Click(w, IDC_DISK_BROWSE);
                after = gd::ControlText(w, IDC_LOCATION);
                gd::Click(w, IDCANCEL);
            },
            [&] {
                DiskettePrompt prompt(FilePath(Dir("DISK1") + "\\SETUP.EX_"), 1, "");
                prompt.DoModal();
            });
        DiskettePrompt::SetFolderPicker(std::move(previous));
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0], c.start);
        EXPECT_EQ(after, c.after);
    }
}

// Browse with the browser the program installs at start-up: the one
// "Change Folder" dialog, in its read-only form.
TEST_F(DiskettePromptGui, ProgramsBrowserShowsReadOnlyAndReturnsItsDirectory) {
    DiskettePrompt::FolderPicker previous = DiskettePrompt::SetFolderPicker(&PickFolderReadOnly);
    struct Case {
        int button;
        std::string after;
    };
    const Case cases[] = {
        {IDOK, Dir("OTHER")},
        {IDCANCEL, Dir("OTHER") + "\\MISSING"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button == IDOK ? "OK" : "Cancel");
        std::string shownPath;
        bool pathEditVisible = true;
        bool browserSeen = false;
        bool locationArrived = false;
        DrivePrompt(
            [&](HWND w) {
                gd::Click(w, IDC_MORE);
                const std::string typed = Dir("OTHER") + "\\MISSING";
                ::SetDlgItemTextA(w, IDC_LOCATION, typed.c_str());
                PostClick(w, IDC_DISK_BROWSE);
                const DWORD uiThread = ::GetWindowThreadProcessId(w, nullptr);
                HWND browser = gd::WaitForWindow("Change Folder", 10000, IDC_FOLDER_PATHLABEL, "#32770", uiThread);
                if (!browser) {
                    // Whatever came up instead would hold the prompt open.
                    for (const gd::WindowInfo& other : gd::ListTopWindows(uiThread))
                        if (other.visible && other.hwnd != w) gd::Close(other.hwnd);
                    return;
                }
                browserSeen = true;
                shownPath = gd::ControlText(browser, IDC_FOLDER_PATHLABEL);
                pathEditVisible = gd::IsControlVisible(browser, IDC_FOLDER_PATH);
                gd::Click(browser, c.button);
                if (!gd::WaitUntilGone(browser, 5000)) gd::Close(browser);
                locationArrived = WaitForText(w, IDC_LOCATION, c.after, 5000);
                gd::Click(w, IDCANCEL);
            },
            [&] {
                DiskettePrompt prompt(FilePath(Dir("DISK1") + "\\SETUP.EX_"), 1, "");
                prompt.DoModal();
            });
        ASSERT_TRUE(browserSeen);
        EXPECT_FALSE(pathEditVisible);
        // Wine's common dialog shows the current directory in lower case.
        EXPECT_EQ(Lower(shownPath), Lower(Dir("OTHER")));
        EXPECT_TRUE(locationArrived);
    }
    DiskettePrompt::SetFolderPicker(std::move(previous));
}

// Without an installed browser (a prompt used on its own), Browse opens
// nothing and keeps the location.
TEST_F(DiskettePromptGui, BrowseWithoutAnInstalledBrowserKeepsTheLocation) {
    DiskettePrompt::FolderPicker previous = DiskettePrompt::SetFolderPicker(nullptr);
    std::string after;
    int windows = -1;
    DrivePrompt(
        [&](HWND w) {
            gd::Click(w, IDC_MORE);
            ::SetDlgItemTextA(w, IDC_LOCATION, Dir("OTHER").c_str());
            gd::Click(w, IDC_DISK_BROWSE);
            after = gd::ControlText(w, IDC_LOCATION);
            windows = 0;
            for (const gd::WindowInfo& other : gd::ListTopWindows(::GetWindowThreadProcessId(w, nullptr)))
                if (other.visible && other.hwnd != w) ++windows;
            gd::Click(w, IDCANCEL);
        },
        [&] {
            DiskettePrompt prompt(FilePath(Dir("DISK1") + "\\SETUP.EX_"), 1, "");
            prompt.DoModal();
        });
    DiskettePrompt::SetFolderPicker(std::move(previous));
    EXPECT_EQ(after, Dir("OTHER"));
    EXPECT_EQ(windows, 0);
}

TEST_F(DiskettePromptGui, ThroughTheModalSeam) {
    struct Case {
        int answer;
        bool expected;
        std::string location;
    };
    const Case cases[] = {
        {IDOK, true, Dir("DISK1")},
        {IDCANCEL, false, "unchanged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::vector<ModalInteraction> asked;
        ScopedModalAnswerer answer([&](const ModalInteraction& m) {
            asked.push_back(m);
            return c.answer;
        });
        std::string location = "unchanged";
        EXPECT_EQ(DiskettePrompt::Ask(Dir("DISK1"), "SETUP.EX_", 3, "Disk 3", location), c.expected);
        EXPECT_EQ(location, c.location);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].kind, ModalKind::dialog);
        EXPECT_EQ(asked[0].id, IDD_DISKETTE);
        EXPECT_EQ(asked[0].caption, "Insert Diskette");
        EXPECT_EQ(asked[0].text, "Please insert the diskette labelled 'Disk 3' in drive C:");
        ASSERT_EQ(asked[0].details.size(), 2u);
        EXPECT_EQ(asked[0].details[0], Explanation(Dir("DISK1") + "\\SETUP.EX_"));
        EXPECT_EQ(asked[0].details[1], Dir("DISK1"));
    }
}
