// Building the containers from a profile, and the sections written back.
#include "profile/ProfileLoader.h"

#include <gtest/gtest.h>

#include "ProfileModel.h"

#include "errors/SetupException.h"
#include "profile/MemoryProfile.h"
#include "profile/ProfileSections.h"

namespace {

using profile_test::Model;

// The kit profile of a small product, as the kit builder writes it.
MemoryProfile KitProfile() {
    MemoryProfile p;
    p.Add("destinations", "0", "TYVIEWER|-1|");
    p.Add("destinations", "3", "SAMPLES|0|");
    p.Add("destinations", "5", "PDB|3|");
    p.Add("groups", "Viewer", "Tessaly Viewer|The program|1|1|1");
    p.Add("groups", "Samples", "Sample molecules|Examples|0|1|1");
    p.Add("groups", "System95", "System files|For Windows 95|1|1|1");
    p.Add("targets", "tyviewer.exe", "0|1|0|Tessaly Viewer||tyviewer.exe|");
    p.Add("targets", "readme.txt", "0|2|1|Read Me|/x|notepad.exe|");
    p.Add("Viewer", "tyviewer.exe", "300000|0|1|1|0|");
    p.Add("Viewer", "viewer.mfa", "900000|1|12|-2|-1|archive");
    p.Add("Samples", "samples.mfa", "50000|1|40|2|-1|");
    p.Add("System95", "ctl3d32.dll", "20000|0|1|1|-3|");
    p.Add("diskettes", "1", "Tessaly Viewer Disk 1|");
    p.Add("diskettes", "2", "Tessaly Viewer Disk 2|x");
    return p;
}

int LoadCause(MemoryProfile& profile, Model& model) {
    try {
        LoadProfile(profile, model.containers(), nullptr);
    } catch (const CInstallProfileException& e) {
        return e.cause;
    }
    return -1;
}

TEST(LoadProfile, BuildsEveryContainer) {
    MemoryProfile profile = KitProfile();
    Model m;
    int pumps = 0;
    LoadProfile(profile, m.containers(), [&] { ++pumps; });
    EXPECT_EQ(pumps, 5);

    EXPECT_EQ(m.destinations.size(), 6u);
    EXPECT_EQ(m.destinations.GetName(0), "TYVIEWER");
    EXPECT_EQ(m.destinations.Find(5)->parent, 3);
    m.destinations.SetPath(0, "C:\\TYVIEWER\\");
    m.destinations.ResolveDestinations();
    EXPECT_EQ(m.destinations.GetPath(5), "C:\\TYVIEWER\\SAMPLES\\PDB\\");

    ASSERT_EQ(m.components.size(), 3u);
    const Component& samples = *m.components.Find("Samples");
    EXPECT_EQ(samples.name, "Sample molecules");
    EXPECT_EQ(samples.description, "Examples");
    EXPECT_EQ(samples.minimum, 0);
    EXPECT_EQ(samples.typical, 1);
    EXPECT_EQ(samples.custom, 1);
    EXPECT_EQ(samples.selected, 0);
    EXPECT_EQ(samples.removeRequested, 0);

    const Target* readme = m.targets.Find("README.TXT");
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(readme->icon, 0);
    EXPECT_EQ(readme->number, 2);
    EXPECT_EQ(readme->minimized, 1);
    EXPECT_EQ(readme->itemName, "Read Me");
    EXPECT_EQ(readme->arguments, "/x");
    EXPECT_EQ(readme->iconFile, "notepad.exe");
    EXPECT_TRUE(readme->path.IsEmpty());

    std::vector<std::string> order;
    for (const SourceFile& f : m.sourceFiles) order.push_back(f.name);
    EXPECT_EQ(order, (std::vector<std::string>{"tyviewer.exe", "ctl3d32.dll", "samples.mfa", "viewer.mfa"}));
    const SourceFile& archive = *std::prev(m.sourceFiles.end());
    EXPECT_EQ(archive.kind, SourceArchive);
    EXPECT_EQ(archive.size, 900000);
    EXPECT_EQ(archive.count, 12);
    EXPECT_EQ(archive.diskette, 2);
    EXPECT_EQ(archive.late, 1);
    EXPECT_EQ(archive.destination, -1);
    EXPECT_EQ(archive.text, "archive");
    EXPECT_EQ(archive.component, m.components.Find("Viewer"));

    std::string label;
    EXPECT_TRUE(m.diskettes.GetLabel(2, label));
    EXPECT_EQ(label, "Tessaly Viewer Disk 2");
    EXPECT_FALSE(m.diskettes.GetLabel(0, label));

    // The directory page's selection on Windows NT.
    m.components.SelectBySetupType(SetupType::Typical);
    m.components.SetComponentSelected("System95", 0);
    EXPECT_EQ(m.sourceFiles.RequiredBytes(), 300000 + 900000 + 50000);
}

TEST(LoadProfile, MissingOrEmptyDestinationsIsCauseZero) {
    {
        MemoryProfile empty;
        Model m;
        EXPECT_EQ(LoadCause(empty, m), 0);
    }
    {
        MemoryProfile noKeys = KitProfile();
        MemoryProfile p;
        p.AddSection("destinations");
        for (const auto& s : noKeys.sections())
            if (s.first != "destinations")
                for (const auto& e : s.second) p.Add(s.first, e.first, e.second);
        Model m;
        int pumps = 0;
        try {
            LoadProfile(p, m.containers(), [&] { ++pumps; });
            FAIL();
        } catch (const CInstallProfileException& e) {
            EXPECT_EQ(e.cause, 0);
        }
        // Nothing was stored and nothing pumped.
        EXPECT_EQ(pumps, 0);
        EXPECT_EQ(m.destinations.size(), 3u);
        EXPECT_EQ(m.components.size(), 0u);
    }
}

TEST(LoadProfile, OtherMissingSectionsLeaveContainersEmpty) {
    MemoryProfile p;
    p.Add("destinations", "0", "TY");
    p.Add("groups", "NoSection", "x|y|1|1|1");
    Model m;
    LoadProfile(p, m.containers(), nullptr);
    EXPECT_EQ(m.components.size(), 1u);
    EXPECT_EQ(m.targets.size(), 0u);
    EXPECT_EQ(m.sourceFiles.size(), 0u);
    EXPECT_EQ(m.diskettes.size(), 0u);
    // A missing parent reads as none.
    EXPECT_EQ(m.destinations.Find(0)->parent, DestNone);
}

TEST(LoadProfile, LinesWithMissingAndOddFields) {
    MemoryProfile p;
    p.Add("destinations", "DEST", "letters|2");      // key without digits: id 0
    p.Add("destinations", "65535", "minus one");     // 16-bit: -1
    p.Add("destinations", "7", "");                  // every field missing
    p.Add("groups", "Bare", "");
    p.Add("targets", "bare.exe", "");
    p.Add("Bare", "short.dat", "12");                // size only
    p.Add("Bare", "empty.dat", "|||||");             // empty numbers read as 0
    p.Add("Bare", "wrap.dat", "1|0|0|65533|65534");  // diskette -3: late on 3; destination -2
    p.Add("diskettes", "-4", "ignored");
    p.Add("diskettes", "0", "Zero");
    Model m;
    LoadProfile(p, m.containers(), nullptr);

    EXPECT_EQ(m.destinations.GetName(0), "letters");
    EXPECT_EQ(m.destinations.Find(0)->parent, 2);
    EXPECT_EQ(m.destinations.GetName(-1), "minus one");
    EXPECT_EQ(m.destinations.Find(7)->parent, DestNone);
    EXPECT_EQ(m.destinations.GetName(7), "");

    const Component& bare = *m.components.Find("Bare");
    EXPECT_EQ(bare.name, "");
    EXPECT_EQ(bare.typical, 0);
    const Target& target = *m.targets.Find("bare.exe");
    EXPECT_EQ(target.icon, 0);
    EXPECT_EQ(target.itemName, "");

    std::vector<const SourceFile*> files;
    for (const SourceFile& f : m.sourceFiles) files.push_back(&f);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0]->name, "short.dat");
    EXPECT_EQ(files[0]->size, 12);
    EXPECT_EQ(files[0]->diskette, 0);
    EXPECT_EQ(files[0]->destination, -1);  // no destination field: not installed
    EXPECT_EQ(files[1]->name, "empty.dat");
    EXPECT_EQ(files[1]->destination, 0);
    EXPECT_EQ(files[2]->name, "wrap.dat");
    EXPECT_EQ(files[2]->diskette, 3);
    EXPECT_EQ(files[2]->late, 1);
    EXPECT_EQ(files[2]->destination, -2);

    EXPECT_EQ(m.diskettes.size(), 1u);
    std::string label;
    EXPECT_TRUE(m.diskettes.GetLabel(0, label));
    EXPECT_EQ(label, "Zero");
}

TEST(LoadProfile, PredefinedDirectoriesKeepTheirPathUnlessGivenOne) {
    MemoryProfile p;
    p.Add("destinations", "0", "TY");
    p.Add("destinations", "-3", "SYS|-1|");
    p.Add("destinations", "-4", "TMP|-1|D:\\SCRATCH");
    Model m;
    LoadProfile(p, m.containers(), nullptr);
    EXPECT_EQ(m.destinations.GetName(DestSystem), "SYS");
    EXPECT_EQ(m.destinations.GetPath(DestSystem), "C:\\WINDOWS\\SYSTEM\\");
    EXPECT_EQ(m.destinations.GetPath(DestTemp), "D:\\SCRATCH\\");
}

TEST(LoadProfile, DisketteNumbersAboveTwoDigitsAreRefused) {
    MemoryProfile p = KitProfile();
    p.Add("diskettes", "100", "Too far");
    Model m;
    EXPECT_EQ(LoadCause(p, m), 1);
    // What was read before the bad line stays.
    EXPECT_EQ(m.components.size(), 3u);
    EXPECT_EQ(m.sourceFiles.size(), 4u);
    std::string label;
    EXPECT_TRUE(m.diskettes.GetLabel(2, label));
}

TEST(LoadProfile, ComponentsAreReadInGroupsOrder) {
    // The same profile always gives the same install order: components in
    // the order of "groups", then lines in file order, sorted by diskette.
    MemoryProfile p;
    p.Add("destinations", "0", "TY");
    p.Add("groups", "Zeta", "");
    p.Add("groups", "Alpha", "");
    p.Add("groups", "Mid", "");
    p.Add("Alpha", "a1", "0|0|0|1|0");
    p.Add("Alpha", "a2", "0|0|0|2|0");
    p.Add("Zeta", "z1", "0|0|0|1|0");
    p.Add("Zeta", "z2", "0|0|0|2|0");
    p.Add("Mid", "m1", "0|0|0|-1|0");
    p.Add("Mid", "m2", "0|0|0|1|0");
    for (int run = 0; run < 3; ++run) {
        Model m;
        LoadProfile(p, m.containers(), nullptr);
        std::vector<std::string> keys;
        for (const Component& c : m.components) keys.push_back(c.key);
        EXPECT_EQ(keys, (std::vector<std::string>{"Zeta", "Alpha", "Mid"}));
        std::vector<std::string> order;
        for (const SourceFile& f : m.sourceFiles) order.push_back(f.name);
        EXPECT_EQ(order, (std::vector<std::string>{"z1", "a1", "m2", "m1", "z2", "a2"}));
    }
}

TEST(LoadProfile, ValuesAreCutAt254Characters) {
    MemoryProfile p;
    p.Add("destinations", "0", "TY");
    p.Add("groups", "Long", std::string(300, 'n'));
    Model m;
    LoadProfile(p, m.containers(), nullptr);
    EXPECT_EQ(m.components.Find("Long")->name, std::string(254, 'n'));
}

TEST(LoadProfile, SourceFileFactoryMakesTheRecords) {
    struct TaggedSourceFile : SourceFile {
        int tag = 77;
    };
    MemoryProfile p = KitProfile();
    Model m;
    int made = 0;
    LoadProfile(p, m.containers(), nullptr, [&] {
        ++made;
        return std::make_unique<TaggedSourceFile>();
    });
    EXPECT_EQ(made, 4);
    for (const SourceFile& f : m.sourceFiles) EXPECT_EQ(dynamic_cast<const TaggedSourceFile&>(f).tag, 77);
}

TEST(SaveProfileSections, WritesTheThreeSectionsInTheirFormats) {
    MemoryProfile profile = KitProfile();
    Model m;
    LoadProfile(profile, m.containers(), nullptr);
    m.destinations.SetPath(0, "C:\\TYVIEWER\\");
    m.destinations.ResolveDestinations();
    m.targets.SetInstalledPath("TYVIEWER.EXE", "C:\\TYVIEWER\\TYVIEWER.EXE");

    const std::vector<ProfileLine> lines = ProfileSectionLines(m.destinations, m.components, m.targets);
    std::vector<std::string> text;
    for (const ProfileLine& l : lines) text.push_back(l.section + "/" + l.key + "=" + l.value);
    EXPECT_EQ(text, (std::vector<std::string>{
                        "destinations/0=TYVIEWER|-1|C:\\TYVIEWER\\",
                        "destinations/3=SAMPLES|0|C:\\TYVIEWER\\SAMPLES\\",
                        "destinations/5=PDB|3|C:\\TYVIEWER\\SAMPLES\\PDB\\",
                        "groups/Viewer=Tessaly Viewer|The program|1|1|1",
                        "groups/Samples=Sample molecules|Examples|0|1|1",
                        "groups/System95=System files|For Windows 95|1|1|1",
                        "targets/TYVIEWER.EXE=0|1|0|Tessaly Viewer||tyviewer.exe|C:\\TYVIEWER\\TYVIEWER.EXE",
                    }));
}

TEST(SaveProfileSections, LogReadsBackAsTheSameModel) {
    MemoryProfile profile = KitProfile();
    Model install;
    LoadProfile(profile, install.containers(), nullptr);
    install.destinations.SetPath(0, "C:\\TYVIEWER\\");
    install.destinations.ResolveDestinations();
    install.targets.SetInstalledPath("readme.txt", "C:\\TYVIEWER\\README.TXT");

    MemoryProfile log;
    log.Add("Viewer", "TYVIEWER.EXE", "0|1|0");  // a file line written by the copy engine
    SaveProfileSections(log, install.destinations, install.components, install.targets);
    SaveProfileSections(log, install.destinations, install.components, install.targets);  // keys are replaced

    Model uninstall;
    LoadProfile(log, uninstall.containers(), nullptr);
    EXPECT_EQ(uninstall.destinations.size(), install.destinations.size());
    for (const Destination& d : install.destinations) {
        SCOPED_TRACE(d.id);
        EXPECT_EQ(uninstall.destinations.GetPath(d.id), d.path.GetPath());
        EXPECT_EQ(uninstall.destinations.GetName(d.id), d.name);
    }
    ASSERT_EQ(uninstall.components.size(), 3u);
    for (const Component& c : install.components) {
        const Component* back = uninstall.components.Find(c.key);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->name, c.name);
        EXPECT_EQ(back->description, c.description);
        EXPECT_EQ(back->typical, c.typical);
    }
    ASSERT_EQ(uninstall.targets.size(), 1u);
    const Target& t = *uninstall.targets.begin();
    EXPECT_EQ(t.key, "README.TXT");
    EXPECT_EQ(t.path.GetPath(), "C:\\TYVIEWER\\README.TXT");
    EXPECT_EQ(t.minimized, 1);
    EXPECT_EQ(t.arguments, "/x");
    EXPECT_EQ(uninstall.diskettes.size(), 0u);
}

}  // namespace
