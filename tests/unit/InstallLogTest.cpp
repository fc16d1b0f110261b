// The install log's lines and keys, written into a profile held in memory.
#include "uninstall/InstallLog.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "profile/MemoryProfile.h"
#include "profile/ProfileLoader.h"
#include "uninstall/DataModelInstallSite.h"

namespace {

struct LogFixture {
    MemoryProfile file;
    std::vector<std::string> raised;
    EventTime now;
    InstallLog log{file, [this](const std::string& path) { raised.push_back(path); }, [this] { return now; }, &file};
};

TEST(InstallLogLines, FileLineValues) {
    struct Case {
        std::int16_t destination;
        int placed;
        int replaced;
        const char* text;
    } cases[] = {
        {0, 1, 0, "0|1|0"},       {-3, 1, 1, "-3|1|1"}, {-2, 0, 1, "-2|0|1"},
        {-4, 0, 0, "-4|0|0"},     {12, 1, 0, "12|1|0"}, {32767, 1, 0, "32767|1|0"},
        {-32768, 0, 0, "-32768|0|0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FileLineValue(c.destination, c.placed, c.replaced), c.text);
    }
}

TEST(InstallLogLines, EventKeys) {
    struct Case {
        int h, m, s;
        std::uint32_t tick;
        const char* key;
    } cases[] = {
        {14, 3, 27, 123457, "14:03:27:0457"},
        {0, 0, 0, 0, "00:00:00:0000"},
        {23, 59, 59, 999, "23:59:59:0999"},
        {9, 5, 1, 1000, "09:05:01:0000"},
        {12, 0, 0, 0xFFFFFFFFu, "12:00:00:0295"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EventTime t;
        t.hour = c.h;
        t.minute = c.m;
        t.second = c.s;
        t.tickCount = c.tick;
        EXPECT_EQ(EventKey(t), c.key);
    }
}

TEST(InstallLog, FileLinesGoToTheComponentKeyedByFileName) {
    LogFixture f;
    f.log.LogFileLine("Viewer", "C:\\TYVIEWER\\TYVIEWER.EXE", 0, 1, 0);
    f.log.LogFileLine("Samples", "C:\\TYVIEWER\\SAMPLES\\README.TXT", 3, 0, 0);
    // Same name, same component, another directory: the second replaces the first.
    f.log.LogFileLine("Samples", "C:\\TYVIEWER\\PDB\\README.TXT", 5, 1, 1);
    // Same name in another component: a line of its own.
    f.log.LogFileLine("Viewer", "C:\\TYVIEWER\\SAMPLES\\README.TXT", 3, 0, 1);

    EXPECT_EQ(f.file.Value("Viewer", "TYVIEWER.EXE"), "0|1|0");
    EXPECT_EQ(f.file.Value("Viewer", "README.TXT"), "3|0|1");
    EXPECT_EQ(f.file.Keys("Samples"), std::vector<std::string>{"README.TXT"});
    EXPECT_EQ(f.file.Value("Samples", "README.TXT"), "5|1|1");
    EXPECT_TRUE(f.raised.empty());
}

TEST(InstallLog, SystemFilesRaiseTheSharedCountWhateverHappened) {
    LogFixture f;
    f.log.LogFileLine("System95", "C:\\WINDOWS\\SYSTEM\\CTL3D32.DLL", -3, 1, 0);
    f.log.LogFileLine("System95", "C:\\WINDOWS\\SYSTEM\\OLD.DLL", -3, 0, 0);   // kept
    f.log.LogFileLine("System95", "C:\\WINDOWS\\SYSTEM\\BUSY.DLL", -3, 0, 1);  // at restart
    f.log.LogFileLine("System95", "C:\\WINDOWS\\WIN.HLP", -2, 1, 0);            // not System
    EXPECT_EQ(f.raised, (std::vector<std::string>{"C:\\WINDOWS\\SYSTEM\\CTL3D32.DLL",
                                                  "C:\\WINDOWS\\SYSTEM\\OLD.DLL",
                                                  "C:\\WINDOWS\\SYSTEM\\BUSY.DLL"}));
    EXPECT_EQ(f.file.Value("System95", "OLD.DLL"), "-3|0|0");
}

TEST(InstallLog, EventsAreKeyedByTimeAndTheCounter) {
    LogFixture f;
    f.now.hour = 14;
    f.now.minute = 3;
    f.now.second = 27;
    f.now.tickCount = 5457;
    f.log.LogEvent("Could not write SMS status.");
    EXPECT_EQ(f.file.Value("Events", "14:03:27:0457"), "Could not write SMS status.");
    // Same second, counter equal modulo 1000: the key is taken, so the
    // event goes under the next free counter and both are kept.
    f.now.tickCount = 7457;
    f.log.LogEvent("%s %d", "second", 2);
    f.log.LogEvent("third");
    EXPECT_EQ(f.file.Keys("Events"), (std::vector<std::string>{"14:03:27:0457", "14:03:27:0458", "14:03:27:0459"}));
    EXPECT_EQ(f.file.Value("Events", "14:03:27:0457"), "Could not write SMS status.");
    EXPECT_EQ(f.file.Value("Events", "14:03:27:0458"), "second 2");
    EXPECT_EQ(f.file.Value("Events", "14:03:27:0459"), "third");
    // The counter part wraps within its 1000 values.
    f.now.tickCount = 999;
    f.log.LogEvent("a");
    f.log.LogEvent("b");
    EXPECT_EQ(f.file.Value("Events", "14:03:27:0999"), "a");
    EXPECT_EQ(f.file.Value("Events", "14:03:27:0000"), "b");
    // Without a way to read the log back, the old behaviour: the key is shared.
    MemoryProfile blind;
    InstallLog writeOnly(blind, nullptr, [&f] { return f.now; });
    writeOnly.LogEvent("one");
    writeOnly.LogEvent("two");
    EXPECT_EQ(blind.Keys("Events"), std::vector<std::string>{"14:03:27:0999"});
}

TEST(InstallLog, LongEventTextsAreCutNotOverrun) {
    std::string seen;
    struct Capture : ProfileSink {
        std::string* out;
        void Write(const std::string&, const std::string&, const std::string& value) override { *out = value; }
    } sink;
    sink.out = &seen;
    InstallLog log(sink, nullptr, nullptr);
    std::string big(2000, 'x');
    log.LogEvent("%s", big.c_str());
    EXPECT_EQ(seen, std::string(511, 'x'));
}

TEST(InstallLog, SectionsWrittenBackLoadAgain) {
    DestinationMap destinations("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
    destinations.SetNameAndParent(0, "TYVIEWER", -1);
    destinations.SetPath(0, "C:\\TYVIEWER");
    destinations.SetNameAndParent(3, "SAMPLES", 0);
    destinations.ResolveDestinations();
    ComponentMap components;
    components.Add(MakeComponent("Viewer", "Tessaly Viewer|The program|1|1|1"));
    TargetMap targets;
    targets.Add(MakeTarget("tyviewer.exe", "0|1|0|Tessaly Viewer||tyviewer.exe|"));
    targets.SetInstalledPath("TYVIEWER.EXE", "C:\\TYVIEWER\\TYVIEWER.EXE");

    LogFixture f;
    f.log.LogFileLine("Viewer", "C:\\TYVIEWER\\TYVIEWER.EXE", 0, 1, 0);
    f.log.SaveProfileSections(destinations, components, targets);

    std::vector<std::string> order;
    for (const auto& section : f.file.sections())
        order.push_back(section.first);
    EXPECT_EQ(order, (std::vector<std::string>{"Viewer", "destinations", "groups", "targets"}));

    DestinationMap d2("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
    ComponentMap c2;
    TargetMap t2;
    SourceFileList s2;
    DisketteArray k2;
    LoadProfile(f.file, {d2, c2, t2, s2, k2}, [] {});
    EXPECT_EQ(d2.GetPath(3), "C:\\TYVIEWER\\SAMPLES\\");
    ASSERT_NE(c2.Find("Viewer"), nullptr);
    ASSERT_NE(t2.Find("tyviewer.exe"), nullptr);
    EXPECT_EQ(t2.Find("tyviewer.exe")->path.GetPath(), "C:\\TYVIEWER\\TYVIEWER.EXE");
    EXPECT_EQ(f.file.Value("Viewer", "TYVIEWER.EXE"), "0|1|0");
}

TEST(DataModelInstallSite, PathsTargetsAndTheRestartFlag) {
    DestinationMap destinations("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
    destinations.SetPath(0, "C:\\TYVIEWER");
    TargetMap targets;
    targets.Add(MakeTarget("tyviewer.exe", "0|1|0|Tessaly Viewer||tyviewer.exe|"));
    std::vector<std::string> scheduled;
    bool restartNeeded = false;
    DataModelInstallSite site(
        destinations, targets,
        [&](const std::string& a, const std::string& b) {
            scheduled.push_back(b + "=" + a);
            return true;
        },
        [&] { restartNeeded = true; });

    EXPECT_EQ(site.DestinationPath(0), "C:\\TYVIEWER\\");
    EXPECT_EQ(site.DestinationPath(-3), "C:\\WINDOWS\\SYSTEM\\");
    EXPECT_EQ(site.DestinationPath(42), "");

    site.SetInstalledPath("TyViewer.Exe", "C:\\TYVIEWER\\TyViewer.Exe");
    EXPECT_EQ(targets.Find("TYVIEWER.EXE")->path.GetPath(), "C:\\TYVIEWER\\TyViewer.Exe");
    site.SetInstalledPath("other.exe", "C:\\X\\other.exe");  // no item: nothing recorded

    EXPECT_FALSE(restartNeeded);
    site.ScheduleReplacement("C:\\TYVIEWER\\0041BB12.DLL", "C:\\TYVIEWER\\TYSHARED.DLL");
    EXPECT_TRUE(restartNeeded);
    EXPECT_EQ(scheduled, std::vector<std::string>{"C:\\TYVIEWER\\TYSHARED.DLL=C:\\TYVIEWER\\0041BB12.DLL"});
}

}  // namespace
