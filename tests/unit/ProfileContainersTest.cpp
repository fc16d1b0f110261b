// The records and containers of the install data model.
#include <gtest/gtest.h>

#include <vector>

#include "errors/SetupException.h"
#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "profile/DisketteArray.h"
#include "profile/SourceFileList.h"
#include "profile/TargetMap.h"

namespace {

DestinationMap MakeDestinations() { return DestinationMap("C:\\WINDOWS\\", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\"); }

int ProfileCause(const std::function<void()>& action) {
    try {
        action();
    } catch (const CInstallProfileException& e) {
        return e.cause;
    }
    return -1;
}

TEST(DestinationMap, StartsWithThePredefinedDirectoriesInOrder) {
    DestinationMap map("C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM\\", "C:\\TEMP\\");
    std::vector<DestinationId> ids;
    for (const Destination& d : map) {
        ids.push_back(d.id);
        EXPECT_EQ(d.name, "");
        EXPECT_EQ(d.parent, DestNone);
        EXPECT_EQ(d.container, &map);
    }
    EXPECT_EQ(ids, (std::vector<DestinationId>{DestWindows, DestSystem, DestTemp}));
    EXPECT_EQ(map.GetPath(DestWindows), "C:\\WINDOWS\\");  // a directory always ends in a backslash
    EXPECT_EQ(map.GetPath(DestSystem), "C:\\WINDOWS\\SYSTEM\\");
    EXPECT_EQ(map.GetPath(DestTemp), "C:\\TEMP\\");
    EXPECT_EQ(map.GetPath(42), "");
    EXPECT_EQ(map.GetName(42), "");
    EXPECT_EQ(map.Find(42), nullptr);
}

TEST(DestinationMap, NestedDestinationsResolveInAnyOrder) {
    DestinationMap map = MakeDestinations();
    map.SetNameAndParent(5, "DATA", 3);
    map.SetNameAndParent(3, "\\SAMPLES", 0);
    map.SetNameAndParent(0, "TYVIEWER", DestNone);
    map.SetPath(0, "D:\\APPS\\TY\\");
    map.ResolveDestinations();
    EXPECT_EQ(map.GetPath(0), "D:\\APPS\\TY\\");
    EXPECT_EQ(map.GetPath(3), "D:\\APPS\\TY\\SAMPLES\\");
    EXPECT_EQ(map.GetPath(5), "D:\\APPS\\TY\\SAMPLES\\DATA\\");
    EXPECT_EQ(map.GetName(0), "TYVIEWER");
    // Insertion order, not id order.
    std::vector<DestinationId> ids;
    for (const Destination& d : map) ids.push_back(d.id);
    EXPECT_EQ(ids, (std::vector<DestinationId>{-2, -3, -4, 5, 3, 0}));
}

TEST(DestinationMap, PathsAlreadySetAreNotRecomputed) {
    DestinationMap map = MakeDestinations();
    map.SetNameAndParent(0, "TY", DestNone);
    map.SetNameAndParent(1, "FIXED", 0);
    map.SetPath(1, "E:\\SHARED");
    map.SetNameAndParent(2, "SUB", 0);
    map.SetNameAndParent(4, "FONTS", DestWindows);
    map.SetPath(0, "C:\\TY\\");
    map.ResolveDestinations();
    EXPECT_EQ(map.GetPath(1), "E:\\SHARED\\");
    EXPECT_EQ(map.GetPath(2), "C:\\TY\\SUB\\");
    EXPECT_EQ(map.GetPath(4), "C:\\WINDOWS\\FONTS\\");

    // The directory page runs again with another directory.
    map.SetPath(0, "D:\\OTHER\\");
    map.ResolveDestinations();
    EXPECT_EQ(map.GetPath(1), "E:\\SHARED\\");
    EXPECT_EQ(map.GetPath(2), "C:\\TY\\SUB\\");
}

TEST(DestinationMap, UnresolvableDestinationsThrowCauseOne) {
    struct Case {
        const char* what;
        std::function<void(DestinationMap&)> build;
    };
    const Case cases[] = {
        {"missing parent", [](DestinationMap& m) { m.SetNameAndParent(1, "A", 9); }},
        {"self parent", [](DestinationMap& m) { m.SetNameAndParent(1, "A", 1); }},
        {"cycle", [](DestinationMap& m) {
             m.SetNameAndParent(1, "A", 2);
             m.SetNameAndParent(2, "B", 3);
             m.SetNameAndParent(3, "C", 1);
         }},
        {"parent without path", [](DestinationMap& m) {
             m.SetNameAndParent(7, "ROOTLESS", DestNone);
             m.SetNameAndParent(8, "CHILD", 7);
         }},
        {"too long", [](DestinationMap& m) {
             for (int i = 1; i <= 40; ++i) m.SetNameAndParent(static_cast<DestinationId>(i), "LONGNAME", i - 1);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DestinationMap map = MakeDestinations();
        map.SetNameAndParent(0, "TY", DestNone);
        map.SetPath(0, "C:\\TY\\");
        map.SetNameAndParent(20000, "GOOD", 0);
        c.build(map);
        EXPECT_EQ(ProfileCause([&] { map.ResolveDestinations(); }), 1);
        // What could be resolved was, even though others failed, and no
        // path grew beyond what the system accepts.
        EXPECT_EQ(map.GetPath(20000), "C:\\TY\\GOOD\\");
        for (const Destination& d : map) EXPECT_LE(d.path.GetPath().size(), kMaxDestinationPath);
    }
}

TEST(DestinationMap, StoringAgainUpdatesInPlace) {
    DestinationMap map = MakeDestinations();
    Destination& first = map.SetNameAndParent(3, "A", 0);
    Destination& again = map.SetNameAndParent(3, "B", DestNone);
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(map.size(), 4u);
    EXPECT_EQ(map.GetName(3), "B");
    map.SetPath(3, "");
    EXPECT_EQ(map.GetPath(3), "");
}

Component& AddComponent(ComponentMap& map, const std::string& key, int minimum, int typical, int custom) {
    auto c = std::make_unique<Component>();
    c->key = key;
    c->name = key + " name";
    c->minimum = minimum;
    c->typical = typical;
    c->custom = custom;
    return map.Add(std::move(c));
}

TEST(ComponentMap, SetupTypesSelectByTheirFlags) {
    ComponentMap map;
    AddComponent(map, "Viewer", 1, 1, 1);
    AddComponent(map, "Samples", 0, 1, 1);
    AddComponent(map, "Docs", 0, 0, 1);
    AddComponent(map, "System95", 0, 0, 0);
    const std::pair<SetupType, std::vector<int>> cases[] = {
        {SetupType::None, {0, 0, 0, 0}},    {SetupType::Minimum, {1, 0, 0, 0}}, {SetupType::Typical, {1, 1, 0, 0}},
        {SetupType::Custom, {1, 1, 1, 0}},  {SetupType::All, {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.first));
        map.SelectBySetupType(c.first);
        std::vector<int> selected;
        for (const Component& component : map) selected.push_back(component.selected);
        EXPECT_EQ(selected, c.second);
    }
}

TEST(ComponentMap, KeysAreCaseSensitiveAndKeepFirstOrder) {
    ComponentMap map;
    Component& viewer = AddComponent(map, "Viewer", 0, 1, 0);
    AddComponent(map, "viewer", 0, 0, 0);
    AddComponent(map, "Alpha", 0, 0, 0);
    Component& replaced = AddComponent(map, "Viewer", 1, 0, 0);
    EXPECT_EQ(&viewer, &replaced);  // references from source files stay valid
    EXPECT_EQ(map.size(), 3u);
    EXPECT_EQ(map.Find("Viewer")->minimum, 1);
    EXPECT_EQ(map.Find("Viewer")->typical, 0);
    EXPECT_EQ(map.Find("VIEWER"), nullptr);
    std::vector<std::string> keys;
    for (const Component& c : map) keys.push_back(c.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Viewer", "viewer", "Alpha"}));

    map.SelectBySetupType(SetupType::All);
    map.SetComponentSelected("viewer", 0);
    map.SetComponentSelected("Nobody", 0);  // no such component: nothing happens
    EXPECT_EQ(map.Find("Viewer")->selected, 1);
    EXPECT_EQ(map.Find("viewer")->selected, 0);
    EXPECT_EQ(map.Find("Alpha")->selected, 1);
}

TEST(TargetMap, LookupsIgnoreCase) {
    TargetMap map;
    auto t = std::make_unique<Target>();
    t->key = "tyviewer.exe";
    t->itemName = "Tessaly Viewer";
    Target& stored = map.Add(std::move(t));
    EXPECT_EQ(map.Find("TYVIEWER.EXE"), &stored);
    EXPECT_EQ(map.Find("TyViewer.Exe"), &stored);
    EXPECT_EQ(map.Find("other.exe"), nullptr);

    EXPECT_TRUE(map.SetInstalledPath("TYVIEWER.EXE", "C:\\TY\\TYVIEWER.EXE"));
    EXPECT_EQ(stored.path.GetPath(), "C:\\TY\\TYVIEWER.EXE");
    EXPECT_FALSE(map.SetInstalledPath("readme.txt", "C:\\TY\\README.TXT"));

    auto again = std::make_unique<Target>();
    again->key = "TYVIEWER.exe";
    again->itemName = "Replaced";
    EXPECT_EQ(&map.Add(std::move(again)), &stored);
    EXPECT_EQ(map.size(), 1u);
    EXPECT_EQ(stored.itemName, "Replaced");
    EXPECT_EQ(stored.key, "TYVIEWER.exe");
}

std::unique_ptr<SourceFile> Item(const std::string& name, int diskette, int late, Component* component = nullptr,
                                 int32_t size = 0) {
    auto item = std::make_unique<SourceFile>();
    item->name = name;
    item->diskette = diskette;
    item->late = late;
    item->component = component;
    item->size = size;
    return item;
}

std::vector<std::string> Names(const SourceFileList& list) {
    std::vector<std::string> names;
    for (const SourceFile& item : list) names.push_back(item.name);
    return names;
}

TEST(SourceFileList, SortedByDisketteThenLateThenInsertion) {
    struct Case {
        const char* what;
        std::vector<std::tuple<const char*, int, int>> inserted;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"late after non-late", {{"d2", 2, 0}, {"d2late", 2, 1}, {"d1", 1, 0}}, {"d1", "d2", "d2late"}},
        {"late read first", {{"d2late", 2, 1}, {"d2", 2, 0}, {"d1", 1, 0}}, {"d1", "d2", "d2late"}},
        {"stable", {{"a", 1, 0}, {"b", 1, 0}, {"c", 1, 0}}, {"a", "b", "c"}},
        {"stable late", {{"x", 3, 1}, {"y", 3, 1}, {"z", 3, 0}}, {"z", "x", "y"}},
        {"descending", {{"c", 3, 0}, {"b", 2, 0}, {"a", 1, 0}, {"o", 0, 0}}, {"o", "a", "b", "c"}},
        {"mixed", {{"2a", 2, 0}, {"1L", 1, 1}, {"3", 3, 0}, {"1a", 1, 0}, {"2L", 2, 1}, {"2b", 2, 0}, {"1b", 1, 0}},
         {"1a", "1b", "1L", "2a", "2b", "2L", "3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SourceFileList list;
        for (const auto& [name, diskette, late] : c.inserted) list.Insert(Item(name, diskette, late));
        EXPECT_EQ(Names(list), c.expected);
    }
}

TEST(SourceFileList, RequiredBytesCountsSelectedComponentsOnly) {
    ComponentMap components;
    Component& on = AddComponent(components, "On", 0, 1, 0);
    Component& off = AddComponent(components, "Off", 0, 0, 0);
    components.SelectBySetupType(SetupType::Typical);
    SourceFileList list;
    list.Insert(Item("a", 1, 0, &on, 100));
    list.Insert(Item("b", 1, 0, &off, 300));
    list.Insert(Item("orphan", 1, 0, nullptr, 50));
    EXPECT_EQ(list.RequiredBytes(), 100);
    components.SelectBySetupType(SetupType::All);
    EXPECT_EQ(list.RequiredBytes(), 400);
    components.SelectBySetupType(SetupType::None);
    EXPECT_EQ(list.RequiredBytes(), 0);

    // The sum is a 32-bit signed value and wraps as one.
    list.Insert(Item("big1", 2, 0, &on, INT32_MAX));
    list.Insert(Item("big2", 2, 0, &on, 2));
    components.SetComponentSelected("On", 1);
    EXPECT_EQ(list.RequiredBytes(), static_cast<int32_t>(100u + 2147483647u + 2u));
}

TEST(DisketteArray, GrowsToTheLargestNumberAndReplaces) {
    DisketteArray array;
    std::string label = "untouched";
    EXPECT_FALSE(array.GetLabel(0, label));
    auto d = std::make_unique<Diskette>();
    d->label = "Disk 3";
    array.Set(3, std::move(d));
    EXPECT_EQ(array.size(), 4u);
    EXPECT_FALSE(array.GetLabel(1, label));
    EXPECT_FALSE(array.GetLabel(4, label));
    EXPECT_FALSE(array.GetLabel(-1, label));
    EXPECT_EQ(label, "untouched");
    EXPECT_TRUE(array.GetLabel(3, label));
    EXPECT_EQ(label, "Disk 3");

    auto replacement = std::make_unique<Diskette>();
    replacement->label = "Disk 3 again";
    array.Set(3, std::move(replacement));
    EXPECT_TRUE(array.GetLabel(3, label));
    EXPECT_EQ(label, "Disk 3 again");

    auto top = std::make_unique<Diskette>();
    top->label = "Last";
    array.Set(kMaxDisketteNumber, std::move(top));
    EXPECT_EQ(array.size(), static_cast<size_t>(kMaxDisketteNumber) + 1);
}

TEST(DisketteArray, RefusesNumbersOutsideTwoDigits) {
    for (int number : {-1, kMaxDisketteNumber + 1, 32767, 2147483647}) {
        SCOPED_TRACE(number);
        DisketteArray array;
        EXPECT_EQ(ProfileCause([&] { array.Set(number, std::make_unique<Diskette>()); }), 1);
        EXPECT_EQ(array.size(), 0u);
    }
}

}  // namespace
