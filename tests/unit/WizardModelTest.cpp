// The page chain without windows: the page table, the registry and the
// navigator's walk, driven as the wizard drives them.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/ButtonBarLayout.h"
#include "app/StartupText.h"
#include "resources/ResourceIds.h"
#include "app/WizardModel.h"

namespace {

// A page whose applicability the test decides; the reading page and the
// conditions page behave as the real ones do.
class FakePage : public PageNode {
public:
    FakePage(int id, int next, int bar, std::vector<int>* deleted)
        : PageNode(id, next, bar), deleted_(deleted) {}
    ~FakePage() override {
        if (deleted_) deleted_->push_back(pageId);
    }
    bool IsApplicable() override {
        if (pageId == IDD_READING) return wasLeft == 0;
        if (pageId == IDD_CONDITIONS) return !requirementsMet;
        return true;
    }
    bool requirementsMet = true;

private:
    std::vector<int>* deleted_;
};

class WizardChain {
public:
    explicit WizardChain(bool uninstall = false)
        : registry([this, uninstall](int id) -> std::unique_ptr<PageNode> {
              const PageTableRow* row = FindPageTableRow(id);
              if (!row) return nullptr;
              ++created[id];
              return std::make_unique<FakePage>(id, InitialNextPage(id, uninstall), row->hasButtonBar ? 129 : 0,
                                                &deleted);
          }) {}

    // ShowPage without windows: walk, then mark the page that was left.
    int Show(int id, bool back = false) {
        const PageRegistry::Transition t = registry.Walk(id, back);
        PageRegistry::MarkLeft(t);
        if (t.target) shown.push_back(t.target->pageId);
        return t.target ? t.target->pageId : 0;
    }
    int Next() { return Show(registry.Current()->nextPageId); }
    int Back() { return Show(registry.Current()->backPageId, true); }

    std::map<int, int> created;
    std::vector<int> deleted;
    std::vector<int> shown;
    PageRegistry registry;
};

TEST(WizardModelTest, PageTableHasEveryPageWithItsLinksAndBar) {
    struct Row {
        int id, next, nextUninstall;
        bool bar;
    };
    const Row rows[] = {
        {102, 114, 114, true},   {114, 1537, 1546, false}, {1537, 104, 104, true}, {104, 106, 106, true},
        {106, 108, 108, true},   {108, 1549, 1549, false}, {1549, 115, 115, false}, {115, -1, -1, false},
        {116, -1, -1, false},    {1558, -1, -1, false},    {1545, 114, 114, true},  {1546, 1550, 1550, true},
        {1550, 1547, 1547, true}, {1547, -1, -1, false},
    };
    EXPECT_EQ(PageTableEnd() - PageTableBegin(), 14);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        const PageTableRow* row = FindPageTableRow(r.id);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->hasButtonBar, r.bar);
        EXPECT_EQ(InitialNextPage(r.id, false), r.next);
        EXPECT_EQ(InitialNextPage(r.id, true), r.nextUninstall);
    }
    for (int unknown : {0, -1, 1, 103, 129, 138, 1544, 1548}) {
        SCOPED_TRACE(unknown);
        EXPECT_EQ(FindPageTableRow(unknown), nullptr);
        EXPECT_EQ(InitialNextPage(unknown, false), kNoNextPage);
    }
}

TEST(WizardModelTest, InstallWithAllDefaultsPassesOverConditionsAndReadsOnce) {
    WizardChain w;
    EXPECT_EQ(w.Show(IDD_WELCOME), 102);
    while (w.registry.Current()->nextPageId != kEndOfSetup) w.Next();
    EXPECT_EQ(w.shown, (std::vector<int>{102, 114, 104, 106, 108, 1549, 115}));
    // The conditions page was made (to ask it) but never shown.
    EXPECT_EQ(w.created[IDD_CONDITIONS], 1);
    // Back links: each page knows where it was first reached from.
    EXPECT_EQ(w.registry.Find(102)->backPageId, 0);
    EXPECT_EQ(w.registry.Find(114)->backPageId, 102);
    EXPECT_EQ(w.registry.Find(104)->backPageId, 114);
    EXPECT_EQ(w.registry.Find(106)->backPageId, 104);
    EXPECT_EQ(w.registry.Find(1537)->backPageId, 0);  // passed over, never arrived at
}

TEST(WizardModelTest, BackWalksPastTheReadingPageAndForwardDoesNotReadAgain) {
    WizardChain w;
    w.Show(IDD_WELCOME);
    w.Next();  // 114
    w.Next();  // 1537 passed over, 104
    w.Next();  // 106
    EXPECT_EQ(w.Back(), 104);
    EXPECT_EQ(w.Back(), 102);  // 104's back link is 114, which was left
    EXPECT_EQ(w.Next(), 104);  // 114 and 1537 passed over
    EXPECT_EQ(w.Next(), 106);
    EXPECT_EQ(w.shown, (std::vector<int>{102, 114, 104, 106, 104, 102, 104, 106}));
    // Back links are set once and going back never changes them.
    EXPECT_EQ(w.registry.Find(104)->backPageId, 114);
    EXPECT_EQ(w.registry.Find(106)->backPageId, 104);
    EXPECT_EQ(w.created[IDD_READING], 1);
    for (const auto& [id, count] : w.created) EXPECT_EQ(count, 1) << id;
}

TEST(WizardModelTest, WasLeftIsSetOnlyOnThePageThatWasLeft) {
    WizardChain w;
    w.Show(IDD_WELCOME);
    EXPECT_EQ(w.registry.Find(102)->wasLeft, 0);
    w.Next();
    EXPECT_EQ(w.registry.Find(102)->wasLeft, 1);
    EXPECT_EQ(w.registry.Find(114)->wasLeft, 0);
    // Showing the current page again leaves nothing and links it to nothing.
    w.Show(IDD_READING);
    EXPECT_EQ(w.registry.Find(114)->wasLeft, 0);
    EXPECT_EQ(w.registry.Find(114)->backPageId, 102);
}

TEST(WizardModelTest, UninstallChainAndCancelLeadToTheirPages) {
    WizardChain w(true);
    w.Show(IDD_UNINSTALL_WELCOME);
    while (w.registry.Current()->nextPageId != kEndOfSetup) w.Next();
    EXPECT_EQ(w.shown, (std::vector<int>{1545, 114, 1546, 1550, 1547}));

    WizardChain c;
    c.Show(IDD_WELCOME);
    c.Next();
    c.Next();  // 104
    c.registry.Current()->nextPageId = IDD_FAILED;  // a confirmed cancel
    EXPECT_EQ(c.Next(), 116);
    EXPECT_EQ(c.registry.Current()->nextPageId, kEndOfSetup);
}

TEST(WizardModelTest, ConditionsPageIsShownWhenRequirementsAreNotMet) {
    WizardChain w;
    w.Show(IDD_WELCOME);
    static_cast<FakePage*>(w.registry.FindOrCreate(IDD_CONDITIONS))->requirementsMet = false;
    w.Next();
    EXPECT_EQ(w.Next(), 1537);
    EXPECT_EQ(w.registry.Find(1537)->backPageId, 114);
}

TEST(WizardModelTest, WalkToNowhereChangesNothing) {
    WizardChain w;
    w.Show(IDD_WELCOME);
    for (int id : {0, -1, 4711}) {
        SCOPED_TRACE(id);
        const PageRegistry::Transition t = w.registry.Walk(id, false);
        EXPECT_EQ(t.target, nullptr);
        EXPECT_EQ(w.registry.Current()->pageId, 102);
    }
    // Back from the first page: its back link is 0.
    EXPECT_EQ(w.Back(), 0);
    EXPECT_EQ(w.registry.Current()->pageId, 102);
    EXPECT_EQ(w.registry.Find(102)->wasLeft, 0);
}

TEST(WizardModelTest, CircleOfInapplicablePagesEndsTheWalk) {
    class Never : public PageNode {
    public:
        Never(int id, int next) : PageNode(id, next, 0) {}
        bool IsApplicable() override { return false; }
    };
    PageRegistry registry;
    registry.Register(std::make_unique<Never>(1, 2));
    registry.Register(std::make_unique<Never>(2, 1));
    EXPECT_EQ(registry.Walk(1, false).target, nullptr);
    EXPECT_EQ(registry.Current(), nullptr);
}

TEST(WizardModelTest, RegistryReplacesAndDeletesPagesInIdOrder) {
    std::vector<int> deleted;
    {
        PageRegistry registry;
        registry.Register(std::make_unique<FakePage>(1550, 1547, 129, &deleted));
        registry.Register(std::make_unique<FakePage>(102, 114, 129, &deleted));
        PageNode* replaced = registry.Register(std::make_unique<FakePage>(102, 999, 129, &deleted));
        EXPECT_EQ(deleted, std::vector<int>{102});
        EXPECT_EQ(registry.Find(102), replaced);
        EXPECT_EQ(registry.Find(102)->nextPageId, 999);
        registry.Walk(102, false);
        EXPECT_EQ(registry.Current(), replaced);
        registry.Clear();
        EXPECT_EQ(registry.Current(), nullptr);
        EXPECT_EQ(registry.Size(), 0u);
    }
    EXPECT_EQ(deleted, (std::vector<int>{102, 102, 1550}));
}

TEST(WizardModelTest, ButtonBarSitsBelowTheClientAreaAndWidensThePage) {
    struct Case {
        int clientW, clientH, windowW, windowH, barW, barH;
        ButtonBarLayout expected;
    };
    const Case cases[] = {
        // The measured page (443 x 262 client) and bar (408 x 44) under Wine.
        {443, 262, 449, 287, 408, 44, {17, 262, 449, 44, 449, 331}},
        // An odd difference truncates toward zero.
        {444, 262, 450, 287, 409, 44, {17, 262, 450, 44, 450, 331}},
        // A bar wider than the page: the page grows until its client area
        // holds the whole bar, which starts at the left edge (never cut off).
        {300, 100, 306, 125, 408, 44, {0, 100, 408, 44, 414, 169}},
        {301, 100, 307, 125, 408, 44, {0, 100, 408, 44, 414, 169}},
        {0, 0, 0, 0, 408, 44, {0, 0, 408, 44, 408, 44}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clientW);
        const ButtonBarLayout l = ComputeButtonBarLayout(c.clientW, c.clientH, c.windowW, c.windowH, c.barW, c.barH);
        EXPECT_EQ(l.barX, c.expected.barX);
        EXPECT_EQ(l.barY, c.expected.barY);
        EXPECT_EQ(l.barWidth, c.expected.barWidth);
        EXPECT_EQ(l.barHeight, c.expected.barHeight);
        EXPECT_EQ(l.pageWidth, c.expected.pageWidth);
        EXPECT_EQ(l.pageHeight, c.expected.pageHeight);
    }
}

TEST(WizardModelTest, StartupTexts) {
    EXPECT_EQ(ProfilePathFor("A:\\SETUP.EXE"), "A:\\SETUP.ini");
    EXPECT_EQ(ProfilePathFor("Z:\\build\\app\\SETUP.EXE"), "Z:\\build\\app\\SETUP.ini");
    EXPECT_EQ(ProfilePathFor("C:\\KIT\\setup"), "C:\\KIT\\setup.ini");
    EXPECT_EQ(SourceDirFor("A:\\SETUP.EXE"), "A:\\");
    EXPECT_EQ(SourceDirFor("C:\\KIT\\DISK01\\SETUP.EXE"), "C:\\KIT\\DISK01\\");
    EXPECT_EQ(StatusReportName("tyviewer.exe"), "tyviewer");
    EXPECT_EQ(StatusReportName("tyviewer"), "tyviewer");
    EXPECT_EQ(CleanupCommandLine("C:\\windows\\system32", "C:\\PROG~FBU\\SETUP.ini"),
              "C:\\windows\\system32\\_qzdinst.exe /U /PP:C:\\PROG~FBU\\SETUP.ini");
    EXPECT_EQ(CleanupCommandLine("C:\\windows\\system32\\", "A:\\SETUP.ini"),
              "C:\\windows\\system32\\_qzdinst.exe /U /PP:A:\\SETUP.ini");
    EXPECT_EQ(ExitCodeFor(true), 0);
    EXPECT_EQ(ExitCodeFor(false), 1);
    // (continueFlag, quiet, restart needed)
    EXPECT_EQ(ExitCodeFor(true, true, true), 3010);
    EXPECT_EQ(ExitCodeFor(true, true, false), 0);
    EXPECT_EQ(ExitCodeFor(true, false, true), 0);
    EXPECT_EQ(ExitCodeFor(false, true, true), 1);
    EXPECT_EQ(ExitCodeFor(false, true, false), 1);
}

TEST(WizardModelTest, SiblingDiskettesAreFoundByTheirLastTwoDigits) {
    struct Case {
        const char* directory;
        int diskette;
        const char* sibling;
    };
    const Case cases[] = {
        {"C:\\KIT\\DISK01", 2, "C:\\KIT\\DISK02"},
        {"C:\\KIT\\DISK02", 1, "C:\\KIT\\DISK01"},
        {"C:\\KIT\\DISK09", 12, "C:\\KIT\\DISK12"},
        {"D:\\X17", 3, "D:\\X03"},
        {"C:\\KIT\\DISK01", 0, "C:\\KIT\\DISK00"},
        {"C:\\KIT\\DISK00", 2, ""},   // "00" is no diskette number
        {"C:\\KIT\\DISKA1", 2, ""},   // one digit only
        {"C:\\KIT\\DISK1A", 2, ""},
        {"C:\\KIT", 2, ""},
        {"12", 2, ""},                 // nothing before the number
        {"A:\\", 2, ""},
        {"C:\\KIT\\DISK01", 100, ""},  // not two digits
        {"C:\\KIT\\DISK01", -1, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SiblingDisketteDirectory(c.directory, c.diskette), c.sibling) << c.directory << " " << c.diskette;
}

}  // namespace
