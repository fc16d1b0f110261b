// Loading real profile files and writing the log's sections back.
#include "profile/PrivateProfile.h"

#include <gtest/gtest.h>

#include "../unit/ProfileModel.h"

#include <random>

#include "ProfileTestFiles.h"
#include "errors/SetupException.h"
#include "profile/MemoryProfile.h"

namespace {

using profile_test::Model;

MemoryProfile KitProfile() {
    MemoryProfile p;
    p.Add("destinations", "0", "TYVIEWER|-1|");
    p.Add("destinations", "3", "SAMPLES|0|");
    p.Add("groups", "Viewer", "Tessaly Viewer|The program|1|1|1");
    p.Add("groups", "Samples", "Sample molecules|Examples|0|1|1");
    p.Add("targets", "tyviewer.exe", "0|1|0|Tessaly Viewer||tyviewer.exe|");
    p.Add("Viewer", "tyviewer.exe", "300000|0|1|1|0|");
    p.Add("Viewer", "viewer.mfa", "900000|1|12|-2|-1|archive");
    p.Add("Samples", "samples.mfa", "50000|1|40|2|-1|");
    p.Add("diskettes", "1", "Tessaly Viewer Disk 1|");
    p.Add("diskettes", "2", "Tessaly Viewer Disk 2|x");
    return p;
}

// A readable summary of everything loaded, to compare two loads.
std::string Describe(Model& m) {
    std::string s;
    for (const Destination& d : m.destinations)
        s += "D" + std::to_string(d.id) + ":" + d.name + "," + std::to_string(d.parent) + "," + d.path.GetPath() + "\n";
    for (const Component& c : m.components)
        s += "C" + c.key + ":" + c.name + "," + c.description + std::to_string(c.minimum) + std::to_string(c.typical) +
             std::to_string(c.custom) + "\n";
    for (const Target& t : m.targets)
        s += "T" + t.key + ":" + std::to_string(t.icon) + "," + std::to_string(t.number) + "," +
             std::to_string(t.minimized) + "," + t.itemName + "," + t.arguments + "," + t.iconFile + "," + t.path.GetPath() + "\n";
    for (const SourceFile& f : m.sourceFiles)
        s += "F" + f.name + ":" + std::to_string(f.size) + "," + std::to_string(f.kind) + "," + std::to_string(f.count) +
             "," + std::to_string(f.diskette) + "," + std::to_string(f.late) + "," + std::to_string(f.destination) +
             "," + f.text + "," + f.component->key + "\n";
    for (size_t i = 0; i < m.diskettes.size(); ++i)
        if (const Diskette* d = m.diskettes.Get(static_cast<int>(i)))
            s += "K" + std::to_string(i) + ":" + d->label + "," + d->text + "\n";
    return s;
}

int LoadCause(const std::string& file, Model& m) {
    try {
        LoadProfile(file, m.containers(), nullptr);
    } catch (const CInstallProfileException& e) {
        return e.cause;
    }
    return -1;
}

TEST(PrivateProfile, LoadsLikeTheInMemoryProfile) {
    ProfileScratchDir dir;
    MemoryProfile memory = KitProfile();
    const std::string file = dir.Create("SETUP.ini", memory.ToText());
    Model fromFile, fromMemory;
    int pumps = 0;
    LoadProfile(file, fromFile.containers(), [&] { ++pumps; });
    LoadProfile(memory, fromMemory.containers(), nullptr);
    EXPECT_EQ(pumps, 5);
    EXPECT_EQ(Describe(fromFile), Describe(fromMemory));
    EXPECT_EQ(fromFile.sourceFiles.size(), 3u);
}

TEST(PrivateProfile, RandomProfilesLoadAsInMemory) {
    // Seeded random profiles, written as files: the real platform functions
    // and the in-memory model must build the same containers.
    std::mt19937 rng(1995);
    auto field = [&](bool number) {
        return number ? std::to_string(static_cast<int>(rng() % 70000) - 3) : std::string("N") + std::to_string(rng() % 100);
    };
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE(round);
        MemoryProfile memory;
        for (int i = 0, n = 1 + static_cast<int>(rng() % 5); i < n; ++i)
            memory.Add("destinations", std::to_string(rng() % 9), field(false) + "|" + std::to_string(rng() % 4));
        const char* keys[] = {"Alpha", "Beta", "Gamma"};
        for (int i = 0, n = static_cast<int>(rng() % 4); i < n; ++i)
            memory.Add("groups", keys[rng() % 3], field(false) + "|d|" + field(true) + "|" + field(true) + "|1");
        for (int i = 0, n = static_cast<int>(rng() % 15); i < n; ++i)
            memory.Add(keys[rng() % 3], "f" + std::to_string(rng() % 40) + ".dat",
                       field(true) + "|" + field(true) + "|1|" + field(true) + "|" + field(true));
        for (int i = 0, n = static_cast<int>(rng() % 3); i < n; ++i)
            memory.Add("diskettes", std::to_string(rng() % 10), field(false));
        ProfileScratchDir dir;
        const std::string file = dir.Create("r.ini", memory.ToText());
        Model a, b;
        int causeFile = LoadCause(file, a);
        int causeMemory = -1;
        try {
            LoadProfile(memory, b.containers(), nullptr);
        } catch (const CInstallProfileException& e) {
            causeMemory = e.cause;
        }
        EXPECT_EQ(causeFile, causeMemory);
        EXPECT_EQ(Describe(a), Describe(b));
    }
}

TEST(PrivateProfile, MissingOrEmptyDestinationsIsCauseZero) {
    ProfileScratchDir dir;
    const std::string cases[] = {
        dir.Path("absent.ini"),
        dir.Create("nodest.ini", "[groups]\r\nViewer=V|d|1|1|1\r\n"),
        dir.Create("emptydest.ini", "[destinations]\r\n[groups]\r\nViewer=V|d|1|1|1\r\n"),
        dir.Create("empty.ini", ""),
    };
    for (const std::string& file : cases) {
        SCOPED_TRACE(file);
        Model m;
        EXPECT_EQ(LoadCause(file, m), 0);
        EXPECT_EQ(m.components.size(), 0u);
    }
}

TEST(PrivateProfile, BadDisketteNumberIsCauseOne) {
    ProfileScratchDir dir;
    const std::string file =
        dir.Create("disk.ini", "[destinations]\r\n0=TY\r\n[diskettes]\r\n-1=negative\r\n1=One\r\n150=Too far\r\n");
    Model m;
    EXPECT_EQ(LoadCause(file, m), 1);
    std::string label;
    EXPECT_TRUE(m.diskettes.GetLabel(1, label));
    EXPECT_EQ(label, "One");
}

TEST(PrivateProfile, SavedSectionsReadBackFromTheLog) {
    ProfileScratchDir dir;
    MemoryProfile memory = KitProfile();
    const std::string file = dir.Create("SETUP.ini", memory.ToText());
    Model install;
    LoadProfile(file, install.containers(), nullptr);
    install.destinations.SetPath(0, "C:\\Program Files\\Tessaly");
    install.destinations.ResolveDestinations();
    install.targets.SetInstalledPath("TYVIEWER.EXE", "C:\\Program Files\\Tessaly\\TYVIEWER.EXE");

    // The copy engine's file lines are already in the log; they stay.
    const std::string log = dir.Create("TYViewer.log", "[Viewer]\r\nTYVIEWER.EXE=0|1|0\r\n[targets]\r\nOLD.EXE=1|1|1|x||||\r\n");
    SaveProfileSections(log, install.destinations, install.components, install.targets);

    char buffer[512] = {};
    GetPrivateProfileStringA("destinations", "3", "", buffer, sizeof buffer, log.c_str());
    EXPECT_STREQ(buffer, "SAMPLES|0|C:\\Program Files\\Tessaly\\SAMPLES\\");
    GetPrivateProfileStringA("destinations", "-2", "none", buffer, sizeof buffer, log.c_str());
    EXPECT_STREQ(buffer, "none");
    GetPrivateProfileStringA("groups", "Samples", "", buffer, sizeof buffer, log.c_str());
    EXPECT_STREQ(buffer, "Sample molecules|Examples|0|1|1");
    GetPrivateProfileStringA("targets", "TYVIEWER.EXE", "", buffer, sizeof buffer, log.c_str());
    EXPECT_STREQ(buffer, "0|1|0|Tessaly Viewer||tyviewer.exe|C:\\Program Files\\Tessaly\\TYVIEWER.EXE");
    GetPrivateProfileStringA("Viewer", "TYVIEWER.EXE", "", buffer, sizeof buffer, log.c_str());
    EXPECT_STREQ(buffer, "0|1|0");

    Model uninstall;
    LoadProfile(log, uninstall.containers(), nullptr);
    EXPECT_EQ(uninstall.destinations.GetPath(3), "C:\\Program Files\\Tessaly\\SAMPLES\\");
    EXPECT_EQ(uninstall.components.size(), 2u);
    EXPECT_EQ(uninstall.targets.size(), 2u);  // the earlier install's item stays in the log
    ASSERT_NE(uninstall.targets.Find("tyviewer.exe"), nullptr);
    EXPECT_EQ(uninstall.targets.Find("tyviewer.exe")->path.GetPath(), "C:\\Program Files\\Tessaly\\TYVIEWER.EXE");
}

TEST(PrivateProfile, PredefinedDestinationsComeFromTheSystem) {
    std::unique_ptr<DestinationMap> map = NewDestinationMap();
    char windows[MAX_PATH] = {}, system[MAX_PATH] = {}, temp[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    GetTempPathA(MAX_PATH, temp);
    EXPECT_EQ(map->size(), 3u);
    EXPECT_EQ(map->GetPath(DestWindows), std::string(windows) + "\\");
    EXPECT_EQ(map->GetPath(DestSystem), std::string(system) + "\\");
    EXPECT_EQ(map->GetPath(DestTemp), std::string(temp));
}

}  // namespace
