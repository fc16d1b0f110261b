// The program's own texts as the string table holds them, byte for byte:
// the odd spacing is the product's and the code formats some of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "resources/ResourceIds.h"

namespace {

std::string Load(unsigned id) {
    char buffer[1024];
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

// Each id by name and by number: translated string tables are built
// against the numbers, the code uses the names.
TEST(StringTable, EveryTextIsExact) {
    struct {
        unsigned name;
        unsigned number;
        const char* text;
    } const cases[] = {
        {IDS_SETUP_TITLE, 4, "Tessaly Viewer Setup"},
        {IDS_EXIT_QUESTION, 5, "Tessaly Viewer  installation not complete. Do you really want to exit Setup?"},
        {IDS_GROUP_NAME, 6, "Tessaly Viewer"},
        {IDS_CANNOT_CREATE_DIR, 7, "Cannot Create Directory"},
        {IDS_MAIN_PROGRAM, 21, "tyviewer.exe"},
        {IDS_PRODUCT_NAME, 22, "Tessaly Viewer"},
        {IDS_PATH_EMPTY, 27, "The path can not be empty.  Please enter a path."},
        {IDS_DISK_EXPLANATION, 28,
         "Setup cannot find the file '%s' on the drive and directory specified below. Please insert the "
         "specified diskette in this drive. If the files can be found in a different location, type the "
         "location below or pick with Browse."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.name, c.number);
        EXPECT_EQ(Load(c.number), c.text) << "string " << c.number;
    }
}

TEST(StringTable, DisketteExplanationTakesOnePath) {
    // The prompt formats the explanation with the missing file's full path;
    // a long path must come out whole.
    std::string format = Load(IDS_DISK_EXPLANATION);
    std::string path = "A:\\DISK01\\" + std::string(200, 'X') + ".CAB";
    char out[1024];
    int n = wsprintfA(out, format.c_str(), path.c_str());
    std::string text(out, n);
    EXPECT_NE(text.find("the file '" + path + "' on the drive"), std::string::npos);
    EXPECT_EQ(text.find('%'), std::string::npos);
}

}  // namespace
