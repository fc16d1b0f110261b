// The catalogue's texts as the string table really holds them.
#include <windows.h>

#include <gtest/gtest.h>

#include "errors/SetupException.h"

namespace {

std::string LoadFromTable(unsigned id) {
    char buffer[1024];
    int n = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

}  // namespace

TEST(CatalogueText, DiskFullAndTheOddOnes) {
    SetStringLoader(&LoadFromTable);
    CXFileException(13).PrepareMessages();
    EXPECT_EQ(CurrentReportSlots().shortText, "Disk full");
    EXPECT_EQ(CurrentReportSlots().longText,
              "There is not enough space on the specified drive for this operation. Either select a "
              "different drive or remove one or more files.");

    CXFileException(10).PrepareMessages();
    EXPECT_EQ(CurrentReportSlots().longText,
              "There was a hardware error accessing your file system. Possible causes\r:\n- incompatible "
              "driver versions\n- power surge\r\n- hardware failure\r\n\r\nYou may want to shut down your "
              "computer and try again.");

    CXFileException(3).PrepareMessages();
    EXPECT_EQ(CurrentReportSlots().longText, "The path specfied for accessing a file is invalid. ");

    CZLibException(9).PrepareMessages();
    EXPECT_EQ(CurrentReportSlots().shortText, "An unkown error occured.");

    CMultiFileException(5).PrepareMessages();
    EXPECT_EQ(CurrentReportSlots().shortText, "Archive file damaged (CRC Mismatch)");
    SetStringLoader(nullptr);
}

TEST(CatalogueText, EveryIdHasText) {
    const unsigned ids[] = {10,    13,    24576, 24577, 24578, 24579, 24580, 24581, 24582, 24583, 24584,
                            24585, 24586, 24587, 24588, 24589, 24590, 24591, 24592, 24593, 24594, 24595,
                            24596, 24597, 24598, 24599, 24600, 24601, 24602, 24603, 24604, 24605, 24606,
                            24607, 24608, 24609, 24610, 24611, 27648, 27649, 27650, 27651, 27652, 27653,
                            27654, 27655, 27656, 27657, 27658, 27659, 27660, 27661, 27662};
    for (unsigned id : ids) EXPECT_FALSE(LoadFromTable(id).empty()) << id;
}
