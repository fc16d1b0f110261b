// [tree] sections of the kit description: which files a tree takes, in
// which order, for which destinations, and what it refuses.

#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"
#include "tools/kitbuilder/KitDescription.h"

using namespace archive_test;
namespace fs = std::filesystem;

namespace {

const char* kHead =
    "[destinations]\n"
    "0 = TVIEWER|-1|\n"
    "1 = SAMPLES|0|\n"
    "5 = DOCS|0|\n"
    "[groups]\n"
    "Viewer = Tessaly Viewer|Program files|1|1|1\n"
    "[archive DATA.A1]\n"
    "component = Viewer\n";  // lines 1-8

// A product tree: files at the top, two levels below, and a name twice.
std::string MakeTree(const ScratchDir& scratch) {
    for (const char* rel : {"t/b.mol", "t/A.MOL", "t/read.txt", "t/mol/c.mol", "t/mol/deep/d.mol", "t/mol/deep/e.pdb",
                            "t/docs/guide.txt", "t/docs/b.mol", "t/empty/.keep"}) {
        fs::create_directories((scratch.path / rel).parent_path());
        WriteFile(scratch.File(rel), Payload(100, 1));
    }
    return scratch.path.string();
}

struct Taken {
    std::string name;
    std::string relative;
    int destination;
};

std::vector<Taken> Files(const KitDescription& kit, const std::string& base) {
    std::vector<Taken> out;
    for (const KitFile& f : kit.files)
        out.push_back({f.name, fs::path(f.source).lexically_relative(fs::path(base) / "t").generic_string(),
                       f.destination});
    return out;
}

bool operator==(const Taken& a, const Taken& b) {
    return a.name == b.name && a.relative == b.relative && a.destination == b.destination;
}

std::ostream& operator<<(std::ostream& os, const Taken& t) {
    return os << t.name << "(" << t.relative << " -> " << t.destination << ")";
}

}  // namespace

TEST(KitTree, WildcardsMatchFileNamesWithoutRegardToCase) {
    struct Case {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"a.mol", "*.mol", true},      {"A.MOL", "*.mol", true},     {"a.mol2", "*.mol", false},
        {"a.mol", "*", true},          {"", "*", true},              {"abc", "a?c", true},
        {"ac", "a?c", false},          {"x.tar.gz", "*.gz", true},   {"mol.txt", "*.mol", false},
        {"aXbXc", "a*b*c", true},      {"aXbX", "a*b*c", false},     {"readme", "READ*", true},
        {"a.mol", "a.mol", true},      {"a.mol", "b.mol", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

TEST(KitTree, TakesFilesInByteOrderAndMapsSubdirectoriesByTheTable) {
    ScratchDir scratch;
    std::string base = MakeTree(scratch);
    // docs has its own destination; mol and mol/deep go with the top (1).
    std::string text = std::string(kHead) +
                       "[file FIRST.TXT]\nsource = t/read.txt\narchive = DATA.A1\n"
                       "[tree samples]\nsource = t\nfiles = *.mol, *.pdb\narchive = DATA.A1\ndestination = 1\n"
                       "subdir docs = 5\n"
                       "[file LAST.TXT]\nsource = t/read.txt\narchive = DATA.A1\n";
    KitDescription kit = ParseKitDescription(text, base);
    std::vector<Taken> expected = {
        {"FIRST.TXT", "read.txt", 0}, {"A.MOL", "A.MOL", 1},          {"b.mol", "b.mol", 1},
        {"b.mol", "docs/b.mol", 5},   {"c.mol", "mol/c.mol", 1},       {"d.mol", "mol/deep/d.mol", 1},
        {"e.pdb", "mol/deep/e.pdb", 1}, {"LAST.TXT", "read.txt", 0},
    };
    EXPECT_EQ(Files(kit, base), expected);
    for (const KitFile& f : kit.files)
        EXPECT_EQ(f.component, "Viewer") << f.name;
    EXPECT_EQ(kit.destinations.size(), 3u);  // nothing created

    // Without recursion only the top's files are taken.
    KitDescription flat = ParseKitDescription(
        std::string(kHead) + "[tree]\nsource = t\nfiles = *.MOL\nrecurse = 0\narchive = DATA.A1\n", base);
    EXPECT_EQ(Files(flat, base), (std::vector<Taken>{{"A.MOL", "A.MOL", 0}, {"b.mol", "b.mol", 0}}));

    // Every file, the trees' single files on the media included.
    KitDescription all = ParseKitDescription(
        std::string(kHead) + "[tree]\nsource = t/docs\ncomponent = Viewer\ntext = doc\n"
                                     "[file X.TXT]\nsource = t/read.txt\narchive = DATA.A1\n", base);
    ASSERT_EQ(all.files.size(), 3u);
    EXPECT_EQ(all.files[0].name, "b.mol");
    EXPECT_EQ(all.files[1].name, "guide.txt");
    EXPECT_TRUE(all.files[1].archive.empty());
    EXPECT_EQ(all.files[1].text, "doc");
    EXPECT_EQ(all.units.size(), 3u);  // the archive and the two single files
    EXPECT_TRUE(all.units[0].isArchive);
}

TEST(KitTree, CreatesChildDestinationsNamedAfterTheSubdirectories) {
    ScratchDir scratch;
    std::string base = MakeTree(scratch);
    std::string text = std::string(kHead) +
                       "[tree]\nsource = t\nfiles = *.mol *.pdb *.txt\narchive = DATA.A1\ndestination = 1\n"
                       "subdirs = create\nsubdir docs = 5\n";
    KitDescription kit = ParseKitDescription(text, base);
    // New ids follow the highest given (5), in byte order of the
    // directories that hold files; docs keeps its table line, empty/ has
    // no match and gets nothing.
    ASSERT_EQ(kit.destinations.size(), 5u);
    EXPECT_EQ(kit.destinations[3].id, 6);
    EXPECT_EQ(kit.destinations[3].name, "mol");
    EXPECT_EQ(kit.destinations[3].parent, 1);
    EXPECT_EQ(kit.destinations[4].id, 7);
    EXPECT_EQ(kit.destinations[4].name, "deep");
    EXPECT_EQ(kit.destinations[4].parent, 6);
    std::vector<Taken> expected = {
        {"A.MOL", "A.MOL", 1},       {"b.mol", "b.mol", 1},          {"b.mol", "docs/b.mol", 5},
        {"guide.txt", "docs/guide.txt", 5}, {"c.mol", "mol/c.mol", 6}, {"d.mol", "mol/deep/d.mol", 7},
        {"e.pdb", "mol/deep/e.pdb", 7}, {"read.txt", "read.txt", 1},
    };
    EXPECT_EQ(Files(kit, base), expected);
}

TEST(KitTree, RefusesWhatCannotBeInstalledNamingTheLine) {
    ScratchDir scratch;
    std::string base = MakeTree(scratch);
    std::string head = kHead;
    struct Case {
        const char* label;
        std::string text;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        // docs/b.mol flattened onto b.mol of the top: both sources named.
        {"same name for one destination", head + "[tree]\nsource = t\nfiles = b.mol\narchive = DATA.A1\n",
         {"line 9: two files named b.mol for destination 0", "b.mol (line 9) and ", "docs"}},
        {"a file section and a tree", head + "[file b.mol]\nsource = t/read.txt\narchive = DATA.A1\n"
                                             "[tree]\nsource = t\nrecurse = 0\nfiles = b*\narchive = DATA.A1\n",
         {"line 12: two files named b.mol", "read.txt (line 9)"}},
        {"nothing matches", head + "[tree]\nsource = t\nfiles = *.exe\narchive = DATA.A1\n",
         {"line 9: tree", "has no file that matches"}},
        {"no directory", head + "[tree]\nsource = nowhere\narchive = DATA.A1\n", {"line 9:", "is not a directory"}},
        {"no source", head + "[tree]\narchive = DATA.A1\n", {"line 9: [tree] has no source"}},
        {"subdir missing", head + "[tree]\nsource = t\narchive = DATA.A1\nsubdir dosc = 5\n",
         {"line 12: subdir dosc is not a directory"}},
        {"subdir without recursion", head + "[tree]\nsource = t\nrecurse = 0\narchive = DATA.A1\nsubdir docs = 5\n",
         {"line 13:", "recurse = 0"}},
        {"subdir destination unknown", head + "[tree]\nsource = t\narchive = DATA.A1\nsubdir docs = 9\n",
         {"line 12: subdir docs: destination 9 is not in [destinations]"}},
        {"subdir outside", head + "[tree]\nsource = t\narchive = DATA.A1\nsubdir ../x = 5\n", {"line 12:", "below"}},
        {"subdir twice", head + "[tree]\nsource = t\narchive = DATA.A1\nsubdir docs = 5\nsubdir docs/ = 1\n",
         {"line 13: subdir docs is given twice"}},
        {"unknown key", head + "[tree]\nsource = t\nrecursive = 1\n", {"line 11: unknown key 'recursive' in [tree]"}},
        {"bad subdirs", head + "[tree]\nsource = t\nsubdirs = auto\n", {"line 11: subdirs must be create or table"}},
        {"path in wildcard", head + "[tree]\nsource = t\nfiles = mol/*.mol\n", {"line 11:", "without a directory"}},
        {"unknown archive", head + "[tree]\nsource = t\narchive = NONE.A1\n", {"line 9:", "no [archive NONE.A1]"}},
        // A single file on the media must be 8.3.
        {"long single file", head + "[tree]\nsource = t/docs\nfiles = guide.txt\ncomponent = Viewer\n"
                                    "[file guide.TXT]\nsource = t/read.txt\ncomponent = Viewer\ndestination = 1\n"
                                    "[file X.TXT]\nsource = t/read.txt\narchive = DATA.A1\n",
         {"line 13: two files on the media are named guide.TXT"}},
    };
    for (const Case& c : cases) {
        try {
            ParseKitDescription(c.text, base);
            ADD_FAILURE() << c.label << ": accepted";
        } catch (const KitError& e) {
            for (const std::string& m : c.messages)
                EXPECT_NE(std::string(e.what()).find(m), std::string::npos) << c.label << ": " << e.what();
        }
    }
}
