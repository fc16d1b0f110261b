// The install log in a real file: file lines, the three install sections
// and events written, then read back through the profile loader as the
// uninstall does.

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../unit/ArchiveTestSupport.h"
#include "profile/PrivateProfile.h"
#include "uninstall/InstallLogFile.h"

using namespace archive_test;

namespace {

TEST(InstallLogWine, RoundTripThroughTheProfileLoader) {
    ScratchDir scratch;
    const std::string path = scratch.File("TYViewer.log");
    {
        DestinationMap destinations("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
        destinations.SetNameAndParent(0, "TYVIEWER", -1);
        destinations.SetPath(0, "D:\\Tessaly Viewer");
        destinations.SetNameAndParent(5, "PDB", 3);
        destinations.SetNameAndParent(3, "SAMPLES", 0);
        destinations.ResolveDestinations();
        ComponentMap components;
        components.Add(MakeComponent("Viewer", "Tessaly Viewer|The program|1|1|1"));
        components.Add(MakeComponent("Samples", "Sample molecules|Examples|0|1|1"));
        TargetMap targets;
        targets.Add(MakeTarget("tyviewer.exe", "0|1|0|Tessaly Viewer||tyviewer.exe|"));
        targets.SetInstalledPath("tyviewer.exe", "D:\\Tessaly Viewer\\TYVIEWER.EXE");

        InstallLogFile log(path);
        log.LogFileLine("Viewer", "D:\\Tessaly Viewer\\TYVIEWER.EXE", 0, 1, 0);
        log.LogFileLine("Viewer", "D:\\Tessaly Viewer\\README.TXT", 0, 0, 0);
        log.LogFileLine("Samples", "D:\\Tessaly Viewer\\SAMPLES\\PDB\\1CRN.PDB", 5, 1, 1);
        log.LogFileLine("Samples", "D:\\Tessaly Viewer\\README.TXT", 0, 0, 1);
        log.SaveProfileSections(destinations, components, targets);
        log.LogEvent("Could not write %s status.", "SMS");
    }

    PrivateProfile file(path);
    EXPECT_EQ(file.Keys("Viewer"), (std::vector<std::string>{"TYVIEWER.EXE", "README.TXT"}));
    EXPECT_EQ(file.Value("Viewer", "README.TXT"), "0|0|0");
    EXPECT_EQ(file.Value("Samples", "1CRN.PDB"), "5|1|1");
    EXPECT_EQ(file.Value("Samples", "README.TXT"), "0|0|1");
    std::vector<std::string> events = file.Keys("Events");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].size(), 13u);  // hh:mm:ss:nnnn
    EXPECT_EQ(events[0][2], ':');
    EXPECT_EQ(events[0][8], ':');
    EXPECT_EQ(file.Value("Events", events[0]), "Could not write SMS status.");

    DestinationMap destinations("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
    ComponentMap components;
    TargetMap targets;
    SourceFileList sourceFiles;
    DisketteArray diskettes;
    LoadProfile(FilePath(path), {destinations, components, targets, sourceFiles, diskettes}, [] {});
    EXPECT_EQ(destinations.GetPath(0), "D:\\Tessaly Viewer\\");
    EXPECT_EQ(destinations.GetPath(3), "D:\\Tessaly Viewer\\SAMPLES\\");
    EXPECT_EQ(destinations.GetPath(5), "D:\\Tessaly Viewer\\SAMPLES\\PDB\\");
    ASSERT_NE(components.Find("Samples"), nullptr);
    EXPECT_EQ(components.Find("Samples")->description, "Examples");
    ASSERT_NE(targets.Find("TYVIEWER.EXE"), nullptr);
    EXPECT_EQ(targets.Find("TYVIEWER.EXE")->path.GetPath(), "D:\\Tessaly Viewer\\TYVIEWER.EXE");
    EXPECT_EQ(targets.Find("TYVIEWER.EXE")->itemName, "Tessaly Viewer");
}

TEST(InstallLogWine, LaterInstallsReplaceKeysAndKeepTheRest) {
    ScratchDir scratch;
    const std::string path = scratch.File("TYViewer.log");
    {
        InstallLogFile first(path);
        first.LogFileLine("Viewer", "D:\\A\\TYVIEWER.EXE", 0, 1, 0);
        first.LogFileLine("Viewer", "D:\\A\\README.TXT", 0, 1, 0);
    }
    {
        InstallLogFile second(path);
        second.LogFileLine("Viewer", "E:\\B\\TYVIEWER.EXE", 3, 0, 0);
    }
    PrivateProfile file(path);
    EXPECT_EQ(file.Keys("Viewer"), (std::vector<std::string>{"TYVIEWER.EXE", "README.TXT"}));
    EXPECT_EQ(file.Value("Viewer", "TYVIEWER.EXE"), "3|0|0");
    EXPECT_EQ(file.Value("Viewer", "README.TXT"), "0|1|0");
}

}  // namespace
