// The program's pictures load in the sizes and colour depths that Windows
// 95 and NT 4 can draw: 32x32 icons (the program icon also 16x16) with at
// most 256 colours, and the 80x120 welcome bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/ResourceIds.h"

namespace {

const int kIcons[] = {IDI_PROGRAM,    IDI_GROUP,   IDI_DIRECTORY, IDI_PRODUCT,  IDI_DISKETTE,
                      IDI_CONDITIONS, IDI_COPY,    IDI_READING,   IDI_RESTART,  IDI_REMOVING,
                      IDI_CAUTION,    IDI_REGISTER};

// The icon directory of a group resource: the sizes and depths it offers.
#pragma pack(push, 2)
struct GroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::vector<GroupEntry> GroupOf(int id) {
    std::vector<GroupEntry> entries;
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    if (!found) return entries;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    WORD count;
    std::memcpy(&count, data + 4, sizeof count);
    for (WORD i = 0; i < count; ++i) {
        GroupEntry e;
        std::memcpy(&e, data + 6 + i * sizeof(GroupEntry), sizeof e);
        entries.push_back(e);
    }
    return entries;
}

TEST(Pictures, IconsAre32x32WithAFewColours) {
    for (int id : kIcons) {
        SCOPED_TRACE("icon " + std::to_string(id));
        std::vector<GroupEntry> entries = GroupOf(id);
        ASSERT_FALSE(entries.empty());
        bool has32 = false, has16 = false;
        for (const GroupEntry& e : entries) {
            EXPECT_LE(e.bitCount, 8);  // 32-bit icons need Windows XP
            has32 = has32 || (e.width == 32 && e.height == 32);
            has16 = has16 || (e.width == 16 && e.height == 16);
        }
        EXPECT_TRUE(has32);
        if (id == IDI_PROGRAM) {
            EXPECT_TRUE(has16);  // caption and task bar
        }

        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(icon, nullptr);
        DestroyIcon(icon);
    }
}

TEST(Pictures, IconsHaveTransparentCornersAndAreNotBlank) {
    for (int id : kIcons) {
        SCOPED_TRACE("icon " + std::to_string(id));
        HICON icon = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
        ASSERT_NE(icon, nullptr);
        // Draw on two backgrounds: a transparent pixel takes the background,
        // a drawn one does not.
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
        HGDIOBJ old = SelectObject(dc, bitmap);
        int transparent = 0, drawn = 0;
        COLORREF first[32][32];
        for (int pass = 0; pass < 2; ++pass) {
            RECT all{0, 0, 32, 32};
            HBRUSH brush = CreateSolidBrush(pass ? RGB(255, 0, 255) : RGB(0, 128, 128));
            FillRect(dc, &all, brush);
            DeleteObject(brush);
            DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x) {
                    COLORREF c = GetPixel(dc, x, y);
                    if (pass == 0) first[y][x] = c;
                    else if (c == first[y][x]) ++drawn;
                    else ++transparent;
                }
        }
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        DestroyIcon(icon);
        EXPECT_GT(drawn, 100);
        EXPECT_GT(transparent, 0);
    }
}

TEST(Pictures, WelcomeBitmapIs80x120) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_WELCOME), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 80);
    EXPECT_EQ(dib.dsBm.bmHeight, 120);
    EXPECT_LE(dib.dsBmih.biBitCount, 8);  // a palette picture: 256-colour displays show it right
    EXPECT_EQ(dib.dsBmih.biCompression, static_cast<DWORD>(BI_RGB));
    DeleteObject(bitmap);
}

}  // namespace
