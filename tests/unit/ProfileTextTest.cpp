// The in-memory profile text: the edits it asks for, the text it holds after
// them, and where it refuses and leaves the work to the platform. The
// reference is a small model of the platform's writer (as observed under
// Wine: the whole file rewritten as "[name]" and "key=value" lines with
// CR LF, names matched without regard to case, new keys at the end of their
// section, new sections at the end of the file).
#include "uninstall/ProfileText.h"

#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The platform's writer, the slow way.
class ReferenceProfile {
public:
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        Section* s = Find(section);
        if (!s) {
            sections.push_back({section, {}});
            s = &sections.back();
        }
        for (auto& entry : s->keys) {
            if (Same(entry.first, key)) {
                entry.second = value;
                return;
            }
        }
        s->keys.emplace_back(key, value);
    }
    std::string Text() const {
        std::string text;
        for (const Section& s : sections) {
            text += "[" + s.name + "]\r\n";
            for (const auto& entry : s.keys) text += entry.first + "=" + entry.second + "\r\n";
        }
        return text;
    }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    static bool Same(const std::string& a, const std::string& b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }
    Section* Find(const std::string& name) {
        for (Section& s : sections)
            if (Same(s.name, name)) return &s;
        return nullptr;
    }
    std::vector<Section> sections;
};

// Applies an edit the way the file writer does.
void Apply(std::string& file, const ProfileTextEdit& edit) {
    ASSERT_LE(edit.offset, file.size());
    ASSERT_GE(edit.size, edit.offset + edit.bytes.size());
    if (file.size() < edit.offset + edit.bytes.size()) file.resize(edit.offset + edit.bytes.size());
    file.replace(edit.offset, edit.bytes.size(), edit.bytes);
    file.resize(edit.size);
}

ProfileText Loaded(const std::string& text) {
    ProfileText model;
    EXPECT_TRUE(model.Load(text)) << text;
    return model;
}

TEST(ProfileTextEdits, EachKindOfChangeWritesOnlyWhatItMust) {
    const std::string start = "[Viewer]\r\nTYVIEWER.EXE=0|1|0\r\n[Events]\r\n10:00:00:0001=Started\r\n";
    struct Case {
        const char* name;
        const char* section;
        const char* key;
        const char* value;
        size_t offset;        // where the edit starts
        const char* bytes;    // what it writes there
        const char* text;     // the whole file afterwards
    } cases[] = {
        {"new key in the last section is appended", "Events", "10:00:01:0002", "Done", start.size(),
         "10:00:01:0002=Done\r\n",
         "[Viewer]\r\nTYVIEWER.EXE=0|1|0\r\n[Events]\r\n10:00:00:0001=Started\r\n10:00:01:0002=Done\r\n"},
        {"new section is appended", "Samples", "1CRN.PDB", "5|1|1", start.size(), "[Samples]\r\n1CRN.PDB=5|1|1\r\n",
         "[Viewer]\r\nTYVIEWER.EXE=0|1|0\r\n[Events]\r\n10:00:00:0001=Started\r\n[Samples]\r\n1CRN.PDB=5|1|1\r\n"},
        {"same length is overwritten in place", "Viewer", "TYVIEWER.EXE", "0|0|1", 23, "0|0|1",
         "[Viewer]\r\nTYVIEWER.EXE=0|0|1\r\n[Events]\r\n10:00:00:0001=Started\r\n"},
        {"longer value rewrites the tail", "Viewer", "TYVIEWER.EXE", "-3|1|1", 23,
         "-3|1|1\r\n[Events]\r\n10:00:00:0001=Started\r\n",
         "[Viewer]\r\nTYVIEWER.EXE=-3|1|1\r\n[Events]\r\n10:00:00:0001=Started\r\n"},
        {"shorter value rewrites the tail and shrinks the file", "Events", "10:00:00:0001", "Go", 54, "Go\r\n",
         "[Viewer]\r\nTYVIEWER.EXE=0|1|0\r\n[Events]\r\n10:00:00:0001=Go\r\n"},
        {"new key in an earlier section goes before the next header", "Viewer", "README.TXT", "0|0|0", 30,
         "README.TXT=0|0|0\r\n[Events]\r\n10:00:00:0001=Started\r\n",
         "[Viewer]\r\nTYVIEWER.EXE=0|1|0\r\nREADME.TXT=0|0|0\r\n[Events]\r\n10:00:00:0001=Started\r\n"},
        {"names match without case, the file keeps its spelling", "VIEWER", "tyviewer.exe", "0|0|1", 23, "0|0|1",
         "[Viewer]\r\nTYVIEWER.EXE=0|0|1\r\n[Events]\r\n10:00:00:0001=Started\r\n"},
        {"empty value", "Viewer", "TYVIEWER.EXE", "", 23, "\r\n[Events]\r\n10:00:00:0001=Started\r\n",
         "[Viewer]\r\nTYVIEWER.EXE=\r\n[Events]\r\n10:00:00:0001=Started\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileText model = Loaded(start);
        ProfileTextEdit edit;
        ASSERT_EQ(model.Set(c.section, c.key, c.value, edit), ProfileText::SetResult::kEdited);
        EXPECT_EQ(edit.offset, c.offset);
        EXPECT_EQ(edit.bytes, c.bytes);
        EXPECT_EQ(model.Text(), c.text);
        EXPECT_EQ(edit.size, model.Text().size());
        std::string file = start;
        Apply(file, edit);
        EXPECT_EQ(file, c.text);
        // What it holds is what it would read from the file again.
        EXPECT_TRUE(ProfileText().Load(model.Text()));
    }
}

TEST(ProfileTextEdits, TheSameValueWritesNothing) {
    ProfileText model = Loaded("[A]\r\nk=1\r\n");
    ProfileTextEdit edit;
    EXPECT_EQ(model.Set("a", "K", "1", edit), ProfileText::SetResult::kUnchanged);
    EXPECT_EQ(model.Text(), "[A]\r\nk=1\r\n");
}

TEST(ProfileTextEdits, AFreshFileGrowsByAppendsOnly) {
    ProfileText model = Loaded("");
    std::string file;
    ReferenceProfile reference;
    for (int i = 0; i < 300; ++i) {
        const std::string section = i < 150 ? "Viewer" : "Samples";
        const std::string key = "S" + std::to_string(1000 + i) + ".DAT";
        ProfileTextEdit edit;
        ASSERT_EQ(model.Set(section, key, "0|1|0", edit), ProfileText::SetResult::kEdited);
        ASSERT_EQ(edit.offset, file.size()) << key;
        Apply(file, edit);
        reference.Set(section, key, "0|1|0");
    }
    EXPECT_EQ(file, reference.Text());
}

TEST(ProfileTextPlain, TextBeyondThePlatformsOwnFormIsRefused) {
    struct Case {
        const char* name;
        std::string text;
        bool plain;
    } cases[] = {
        {"missing or empty file", "", true},
        {"section without keys", "[A]\r\n", true},
        {"empty value, '=' and quotes in values", "[A]\r\nk=\r\nq=\"a=b\"\r\n[B]\r\n", true},
        {"blank line", "[A]\r\nk=1\r\n\r\n[B]\r\nx=1\r\n", false},
        {"blanks around '='", "[A]\r\nk = 1\r\n", false},
        {"leading blank", "[A]\r\n k=1\r\n", false},
        {"trailing blank", "[A]\r\nk=1 \r\n", false},
        {"tab", "[A]\r\n\tk=1\r\n", false},
        {"comment", "[A]\r\n;note\r\nk=1\r\n", false},
        {"line without '='", "[A]\r\nname\r\n", false},
        {"empty key name", "[A]\r\n=1\r\n", false},
        {"no line end at the end", "[A]\r\nk=1", false},
        {"LF only", "[A]\nk=1\n", false},
        {"CR only", "[A]\rk=1\r", false},
        {"CR CR LF", "[A]\r\nk=1\r\r\n", false},
        {"byte order mark", "\xEF\xBB\xBF[A]\r\nk=1\r\n", false},
        {"non-ASCII", "[A]\r\nCaf\xE9.TXT=1\r\n", false},
        {"NUL", std::string("[A]\r\nk=1\0\r\n", 10), false},
        {"key before any section", "k=0\r\n[A]\r\nk=1\r\n", false},
        {"same section twice", "[A]\r\nk=1\r\n[B]\r\n[a]\r\nj=2\r\n", false},
        {"same key twice", "[A]\r\nk=1\r\nK=2\r\n", false},
        {"text after the header", "[A]x\r\nk=1\r\n", false},
        {"blanks inside the brackets", "[ A ]\r\nk=1\r\n", false},
        {"empty section name", "[]\r\nk=1\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileText model;
        EXPECT_EQ(model.Load(c.text), c.plain);
        EXPECT_EQ(model.IsPlain(), c.plain);
        if (!c.plain) {
            ProfileTextEdit edit;
            EXPECT_EQ(model.Set("A", "k2", "1", edit), ProfileText::SetResult::kNotPlain);
            EXPECT_EQ(model.Text(), c.text);
        }
    }
}

TEST(ProfileTextPlain, LinesThePlatformWouldChangeAreRefused) {
    struct Case {
        const char* name;
        std::string section, key, value;
    } cases[] = {
        {"empty section", "", "k", "1"},
        {"']' in the section", "A]", "k", "1"},
        {"blank around the section", " A", "k", "1"},
        {"empty key", "A", "", "1"},
        {"'=' in the key", "A", "k=j", "1"},
        {"key starts a section", "A", "[k", "1"},
        {"key is a comment", "A", ";k", "1"},
        {"blank around the key", "A", "k ", "1"},
        {"blank before the value", "A", "k", " 1"},
        {"blank after the value", "A", "k", "1 "},
        {"line end in the value", "A", "k", "1\r\nj=2"},
        {"non-ASCII value", "A", "k", "Caf\xE9"},
        {"tab in the value", "A", "k", "a\tb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileText model = Loaded("[A]\r\nk=0\r\n");
        ProfileTextEdit edit;
        EXPECT_EQ(model.Set(c.section, c.key, c.value, edit), ProfileText::SetResult::kNotPlain);
        EXPECT_EQ(model.Text(), "[A]\r\nk=0\r\n");
    }
}

// Random sets over few names in mixed case, so that keys and sections are
// hit again and again, in every position of the file.
TEST(ProfileTextEdits, RandomSetsMatchThePlatformsWriter) {
    std::mt19937 random(17);
    const char* sectionNames[] = {"Viewer", "Samples", "destinations", "Events", "targets"};
    const char* values[] = {"0|1|0", "", "-3|1|1", "A much longer value|with|fields", "x", "\"q\""};
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        ProfileText model = Loaded("");
        ReferenceProfile reference;
        std::string file;
        for (int step = 0; step < 200; ++step) {
            std::string section = sectionNames[random() % 5];
            std::string key = "K" + std::to_string(random() % 25);
            if (random() % 3 == 0) section[0] = static_cast<char>(std::toupper(section[0]) == section[0]
                                                                       ? std::tolower(section[0])
                                                                       : std::toupper(section[0]));
            if (random() % 3 == 0) key[0] = 'k';
            const std::string value = values[random() % 6];
            ProfileTextEdit edit;
            const ProfileText::SetResult result = model.Set(section, key, value, edit);
            ASSERT_NE(result, ProfileText::SetResult::kNotPlain);
            reference.Set(section, key, value);
            if (result == ProfileText::SetResult::kEdited) Apply(file, edit);
            ASSERT_EQ(model.Text(), reference.Text()) << "step " << step;
            ASSERT_EQ(file, model.Text()) << "step " << step;
        }
        // Loading the result again gives a model that goes on the same way.
        ProfileText again = Loaded(model.Text());
        ProfileTextEdit a, b;
        model.Set("Viewer", "NEW.TXT", "1", a);
        again.Set("Viewer", "NEW.TXT", "1", b);
        EXPECT_EQ(a.offset, b.offset);
        EXPECT_EQ(a.bytes, b.bytes);
        EXPECT_EQ(again.Text(), model.Text());
    }
}

}  // namespace
