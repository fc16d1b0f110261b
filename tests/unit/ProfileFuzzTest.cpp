// Bounded, seeded random inputs for the field parser and the container
// building: nothing may crash, allocate without bound or break an invariant,
// and every refusal must be the profile error.
#include <gtest/gtest.h>

#include "ProfileModel.h"

#include <random>
#include <set>

#include "errors/SetupException.h"
#include "profile/MemoryProfile.h"
#include "profile/ProfileFields.h"
#include "profile/ProfileLoader.h"
#include "profile/ProfileSections.h"

namespace {

std::string RandomText(std::mt19937& rng, const std::string& alphabet, size_t maxLength) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string text(length(rng), ' ');
    for (char& c : text) c = alphabet[pick(rng)];
    return text;
}

// Independent model of the field rules: split everything, then look.
std::vector<std::string> SplitAll(const std::string& value) {
    std::vector<std::string> fields(1);
    for (char c : value) {
        if (c == '|') fields.emplace_back();
        else fields.back() += c;
    }
    return fields;
}

int32_t ModelNumber(const std::string& text) {
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) return 0;
    int sign = 1;
    if (text[i] == '-' || text[i] == '+') sign = text[i++] == '-' ? -1 : 1;
    uint64_t n = 0;
    while (i < text.size() && isdigit(static_cast<unsigned char>(text[i]))) n = (n * 10 + (text[i++] - '0')) % (1ull << 32);
    return static_cast<int32_t>(static_cast<uint32_t>(sign < 0 ? (1ull << 32) - n : n));
}

TEST(ProfileFuzz, FieldParserAgreesWithASplitModel) {
    std::mt19937 rng(20261207);
    const std::string alphabet = "0123456789||||--++  \tax\xff";
    for (int round = 0; round < 20000; ++round) {
        const std::string value = RandomText(rng, alphabet, 48);
        const std::vector<std::string> fields = SplitAll(value);
        for (int index = 0; index < 8; ++index) {
            const bool present = static_cast<size_t>(index) < fields.size();
            std::string text = "x";
            int32_t i32 = 12345;
            int16_t i16 = 321;
            int flag = 7;
            ASSERT_EQ(ExtractTextField(value, index, text), present) << value;
            ASSERT_EQ(ExtractInt32Field(value, index, i32), present) << value;
            ASSERT_EQ(ExtractInt16Field(value, index, i16), present) << value;
            ASSERT_EQ(ExtractFlagField(value, index, flag), present) << value;
            if (!present) {
                ASSERT_EQ(text, "");
                ASSERT_EQ(i32, 12345);
                ASSERT_EQ(i16, 321);
                ASSERT_EQ(flag, 7);
                continue;
            }
            ASSERT_EQ(text, fields[index]) << value;
            ASSERT_EQ(i32, ModelNumber(fields[index])) << value;
            ASSERT_EQ(i16, static_cast<int16_t>(static_cast<uint32_t>(i32) & 0xFFFF)) << value;
            ASSERT_EQ(flag, i32 != 0 ? 1 : 0) << value;
        }
    }
}

using profile_test::Model;

std::string RandomNumber(std::mt19937& rng) {
    static const char* const special[] = {"65535", "-1", "-3", "32768", "99", "100", "", "x", " 7", "2147483647",
                                          "4294967296", "-32768"};
    if (rng() % 4 == 0) return special[rng() % (sizeof special / sizeof *special)];
    return std::to_string(static_cast<int>(rng() % 24) - 6);
}

std::string RandomValue(std::mt19937& rng, int fields) {
    std::string value;
    const int count = static_cast<int>(rng() % (fields + 2));
    for (int i = 0; i < count; ++i) {
        if (i) value += '|';
        value += rng() % 2 ? RandomNumber(rng) : RandomText(rng, "ABCdef\\. ", 10);
    }
    if (rng() % 50 == 0) value += std::string(300, 'L');
    return value;
}

TEST(ProfileFuzz, ContainerBuildingKeepsItsInvariants) {
    std::mt19937 rng(4242);
    const char* const componentKeys[] = {"Viewer", "viewer", "Samples", "Docs", "System95", "groups"};
    int loaded = 0, refused = 0, resolved = 0;
    for (int round = 0; round < 1500; ++round) {
        MemoryProfile p;
        const int destinations = static_cast<int>(rng() % 8);
        for (int i = 0; i < destinations; ++i) p.Add("destinations", RandomNumber(rng), RandomValue(rng, 3));
        if (rng() % 10 == 0) p.AddSection("destinations");
        for (int i = 0, n = static_cast<int>(rng() % 5); i < n; ++i)
            p.Add("groups", componentKeys[rng() % 6], RandomValue(rng, 5));
        for (int i = 0, n = static_cast<int>(rng() % 4); i < n; ++i)
            p.Add("targets", RandomText(rng, "abAB.", 6), RandomValue(rng, 7));
        for (int i = 0, n = static_cast<int>(rng() % 12); i < n; ++i)
            p.Add(componentKeys[rng() % 6], RandomText(rng, "fgh.", 6), RandomValue(rng, 6));
        for (int i = 0, n = static_cast<int>(rng() % 4); i < n; ++i)
            p.Add("diskettes", RandomNumber(rng), RandomValue(rng, 2));

        Model m;
        int pumps = 0;
        try {
            LoadProfile(p, m.containers(), [&] { ++pumps; });
            ++loaded;
            ASSERT_EQ(pumps, 5);
        } catch (const CInstallProfileException& e) {
            ++refused;
            if (p.Keys("destinations").empty()) {
                ASSERT_EQ(e.cause, 0);
                ASSERT_EQ(m.destinations.size(), 3u);
            } else {
                ASSERT_EQ(e.cause, 1);
                bool tooLarge = false;
                for (const std::string& key : p.Keys("diskettes")) tooLarge |= ParseProfileNumber(key) > kMaxDisketteNumber;
                ASSERT_TRUE(tooLarge);
            }
        }

        // Sorted by diskette, then late; every item belongs to a stored component.
        const SourceFile* previous = nullptr;
        for (const SourceFile& f : m.sourceFiles) {
            ASSERT_GE(f.diskette, 0);
            ASSERT_NE(f.component, nullptr);
            ASSERT_EQ(m.components.Find(f.component->key), f.component);
            if (previous) {
                ASSERT_TRUE(previous->diskette < f.diskette ||
                            (previous->diskette == f.diskette && previous->late <= f.late));
            }
            previous = &f;
        }
        ASSERT_LE(m.diskettes.size(), static_cast<size_t>(kMaxDisketteNumber) + 1);
        for (const Component& c : m.components) ASSERT_LE(c.name.size(), kMaxProfileValue);

        // Selection and the byte total agree with a plain sum.
        m.components.SelectBySetupType(static_cast<SetupType>(rng() % 5));
        uint32_t expected = 0;
        for (const SourceFile& f : m.sourceFiles)
            if (f.component->selected) expected += static_cast<uint32_t>(f.size);
        ASSERT_EQ(m.sourceFiles.RequiredBytes(), static_cast<int32_t>(expected));

        // Resolution either gives every record below a root a bounded path or
        // refuses with cause 1.
        m.destinations.SetPath(DestMain, "C:\\TYVIEWER\\");
        try {
            m.destinations.ResolveDestinations();
            ++resolved;
            for (const Destination& d : m.destinations) {
                ASSERT_LE(d.path.GetPath().size(), kMaxDestinationPath);
                if (d.parent != DestNone && d.path.IsEmpty()) FAIL() << "unresolved " << d.id;
            }
        } catch (const CInstallProfileException& e) {
            ASSERT_EQ(e.cause, 1);
        }

        // What is written back reads back.
        MemoryProfile log;
        SaveProfileSections(log, m.destinations, m.components, m.targets);
        Model back;
        try {
            LoadProfile(log, back.containers(), nullptr);
        } catch (const CInstallProfileException& e) {
            ASSERT_EQ(e.cause, 0);  // no destination with an id of 0 or more
            continue;
        }
        for (const Destination& d : m.destinations) {
            if (d.id < 0) continue;
            ASSERT_NE(back.destinations.Find(d.id), nullptr);
            ASSERT_EQ(back.destinations.GetName(d.id), d.name.substr(0, kMaxProfileValue));
        }
        // Profile keys match without regard to case, so "Viewer" and
        // "viewer" share one line of the log.
        std::set<std::string> distinct;
        for (const Component& c : m.components) distinct.insert(ProfileUpperCase(c.key));
        ASSERT_EQ(back.components.size(), distinct.size());
    }
    // The generator reaches every outcome.
    EXPECT_GT(loaded, 100);
    EXPECT_GT(refused, 100);
    EXPECT_GT(resolved, 100);
}

}  // namespace
