#include "framework/Handle.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

bool IsOpenHandle(HANDLE h) {
    DWORD flags = 0;
    return ::GetHandleInformation(h, &flags) != FALSE;
}

std::string TempFileName() {
    char dir[MAX_PATH];
    char name[MAX_PATH];
    ::GetTempPathA(sizeof dir, dir);
    ::GetTempFileNameA(dir, "tvh", 0, name);
    return name;
}

}  // namespace

TEST(UniqueHandle, ClosesOnceAndMovesOwnership) {
    const std::string path = TempFileName();
    HANDLE raw = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(raw, INVALID_HANDLE_VALUE);
    {
        UniqueFile a(raw);
        EXPECT_TRUE(a.IsValid());
        UniqueFile b(std::move(a));
        EXPECT_FALSE(a.IsValid());
        EXPECT_EQ(b.Get(), raw);
        UniqueFile c;
        c = std::move(b);
        EXPECT_EQ(c.Get(), raw);
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw));
    ::DeleteFileA(path.c_str());
}

TEST(UniqueHandle, ResetClosesTheOldAndReleaseGivesUp) {
    const std::string path = TempFileName();
    HANDLE first = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE second = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    UniqueFile guard(first);
    guard.Reset(second);
    EXPECT_FALSE(IsOpenHandle(first));
    EXPECT_TRUE(IsOpenHandle(second));
    HANDLE released = guard.Release();
    EXPECT_EQ(released, second);
    EXPECT_FALSE(guard.IsValid());
    EXPECT_TRUE(IsOpenHandle(second));
    ::CloseHandle(second);
    ::DeleteFileA(path.c_str());
}

TEST(UniqueHandle, InvalidValuesFollowTheTraits) {
    // CreateFileA fails with INVALID_HANDLE_VALUE, RegOpenKeyExA leaves null:
    // each guard must treat its own "no handle" value as empty.
    UniqueFile file(::CreateFileA("Z:\\no\\such\\dir\\x", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(file.IsValid());
    UniqueKernelHandle event(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_TRUE(event.IsValid());
    UniqueRegKey key;
    EXPECT_FALSE(key);
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &raw), ERROR_SUCCESS);
    key.Reset(raw);
    EXPECT_TRUE(key);
    UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    EXPECT_TRUE(brush);
}
