#pragma once
// Runs Setup's page chain in this process on real windows, with the profile
// read from a file the test writes and every modal question answered through
// the modal seam. Shared by the directory page and profile page tests.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FileTreeSupport.h"
#include "WizardChainHarness.h"
#include "profile/PrivateProfile.h"
#include "resources/ResourceIds.h"
#include "support/FilePath.h"

namespace dirtest {

// Reads the profile with the program's own loader; records how often.
class LoadingServices : public InstallServices {
public:
    explicit LoadingServices(std::vector<std::string>& loads) : loads_(loads) {}
    void LoadProfile(const std::string& path, const std::function<void()>& pump) override {
        loads_.push_back(path);
        SetupApp* app = GetSetupApp();
        ::LoadProfile(FilePath(path), app->Containers(), pump);
    }

private:
    std::vector<std::string>& loads_;
};

using filetree::RemoveTree;

inline bool IsDirectory(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

class PageChainTest : public wizard_chain::WizardChainHarness {
protected:
    void SetUp() override {
        static int serial = 0;
        // The install root lives on drive C:, where the proposal goes.
        rootName = "tvsdir_" + std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(++serial);
        root = "C:\\" + rootName;
        RemoveTree(root);
        kitDir = root + "_kit";
        RemoveTree(kitDir);
        ::CreateDirectoryA(kitDir.c_str(), nullptr);
        WizardChainHarness::SetUp();
        unansweredMessageBox = IDOK;
    }

    void TearDown() override {
        WizardChainHarness::TearDown();
        // Leave the current directory before removing the trees: the browser
        // may have entered one of them.
        ::SetCurrentDirectoryA("C:\\");
        RemoveTree(root);
        RemoveTree(kitDir);
    }

    // The profile Setup reads: the file named like this program, with the
    // extension "ini", in the kit directory that /D: names.
    std::string ProfilePath() const {
        char module[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, module, MAX_PATH);
        FilePath path(module);
        return kitDir + "\\" + path.GetFileTitle() + ".ini";
    }

    void WriteProfile(const std::string& text) {
        HANDLE file = ::CreateFileA(ProfilePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(file);
    }

    // A profile whose main directory is below the test's scratch root.
    std::string StandardProfile() const {
        return "[destinations]\r\n"
               "0=" + rootName + "\\TYVIEWER|-1|\r\n"
               "1=DATA|0|\r\n"
               "2=SAMPLES|1|\r\n"
               "[groups]\r\n"
               "Viewer=Tessaly Viewer|The viewer program|1|1|1\r\n"
               "Samples=Sample molecules|Example files|0|0|1\r\n"
               "System95=System files|Windows 95 run-time|1|1|1\r\n"
               "[targets]\r\n"
               "TYVIEWER.EXE=0|1|0|Tessaly Viewer||TYVIEWER.EXE|\r\n"
               "README.TXT=0|2|1|Read Me|||\r\n"
               "[Viewer]\r\n"
               "TYVIEWER.EXE=120000|0|1|1|0|\r\n"
               "README.TXT=3000|0|1|1|0|\r\n"
               "[Samples]\r\n"
               "SAMPLES.MFA=50000|1|12|2|2|\r\n"
               "[System95]\r\n"
               "CTL3D32.DLL=20000|0|1|-1|-3|\r\n"
               "[diskettes]\r\n"
               "1=Tessaly Viewer Disk 1|\r\n"
               "2=Tessaly Viewer Disk 2|\r\n";
    }

    // Starts Setup on the kit directory, as the entry point would, and
    // goes past the welcome page, so that page 114 reads the profile.
    bool StartAndRead() {
        if (!StartApp(std::make_unique<LoadingServices>(loads), "/D:" + kitDir)) return false;
        if (CurrentId() != IDD_WELCOME) return false;
        ClickBar(IDC_NEXT);
        return true;
    }

    std::string Location() {
        char text[MAX_PATH * 2] = {};
        ::GetDlgItemTextA(PageWindow(), IDC_LOCATION, text, sizeof text);
        return text;
    }
    void SetLocation(const std::string& text) { ::SetDlgItemTextA(PageWindow(), IDC_LOCATION, text.c_str()); }

    int Selected(const std::string& key) {
        const Component* c = App().components->Find(key);
        return c ? c->selected : -1;
    }

    // Runs `body` with the modal seam empty, so that dialogs really show.
    void WithRealDialogs(const std::function<void()>& body) {
        ModalAnswerer saved = SetModalAnswerer({});
        body();
        SetModalAnswerer(std::move(saved));
    }

    std::string rootName;
    std::string root;    // C:\tvsdir_..., the install root (not created)
    std::string kitDir;  // holds the profile
    std::vector<std::string> loads;
};

}  // namespace dirtest
