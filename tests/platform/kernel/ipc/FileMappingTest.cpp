// Named file mappings: sharing between processes, the notification block's flag protocol, lifetime
// (alive while any process holds it, zeroed when created again), views at any offset, bad requests.
#include <gtest/gtest.h>

#include <cstring>

#include "ChildProcess.h"
#include "TempRoot.h"
#include "platform/windows.h"

namespace {

constexpr const char16_t* kBlock = u"Brimwell_Today_Share";
constexpr DWORD kBlockSize = 24;

class NamedMapping : public ::testing::Test {
  protected:
    platform::testing::TempRoot m_root;
};

// The writer's side of the notification block: open it, set flag word k, unmap, close.
int setFlagInNewProcessState(DWORD k) {
    HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
    if (block == nullptr) return 1;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return 2;
    auto* flag = static_cast<volatile LONG*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 12 + 4 * k, 4));
    if (flag == nullptr) return 3;
    *flag = 1;
    UnmapViewOfFile(const_cast<LONG*>(flag));
    CloseHandle(block);
    return 0;
}

// The reader's side: map the flag word, take it and clear it.
bool readAndClearFlag(HANDLE block, DWORD k) {
    auto* flag =
        static_cast<volatile LONG*>(MapViewOfFile(block, FILE_MAP_READ | FILE_MAP_WRITE, 0, 12 + 4 * k, 4));
    if (flag == nullptr) return false;
    const LONG value = *flag;
    *flag = 0;
    UnmapViewOfFile(const_cast<LONG*>(flag));
    return value != 0;
}

TEST_F(NamedMapping, WrittenInOneProcessReadInAnother) {
    HANDLE mine = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8192, u"Shared");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    auto* bytes = static_cast<char*>(MapViewOfFile(mine, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(bytes, nullptr);
    std::strcpy(bytes + 5000, "from the parent");
    ipctest::ChildProcess child([](const ipctest::Channel&) {
        HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, u"Shared");
        if (h == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) return 1;
        auto* view =
            static_cast<char*>(MapViewOfFile(h, FILE_MAP_WRITE, 0, 4990, 0));  // the original size holds
        if (view == nullptr) return 2;
        if (std::strcmp(view + 10, "from the parent") != 0) return 3;
        std::strcpy(view, "reply");
        return 0;
    });
    EXPECT_EQ(child.finish(), 0);
    EXPECT_STREQ(bytes + 4990, "reply");
    EXPECT_TRUE(UnmapViewOfFile(bytes));
    CloseHandle(mine);
}

TEST_F(NamedMapping, FlagSetByAnEndedWriterIsReadOnceWhileTheReaderHoldsTheBlock) {
    HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(readAndClearFlag(block, 0));
    ipctest::ChildProcess writer([](const ipctest::Channel&) { return setFlagInNewProcessState(0); });
    ASSERT_EQ(writer.finish(), 0);
    EXPECT_TRUE(readAndClearFlag(block, 0));
    EXPECT_FALSE(readAndClearFlag(block, 0));  // reading cleared it
    EXPECT_FALSE(readAndClearFlag(block, 1));
    ipctest::ChildProcess second([](const ipctest::Channel&) { return setFlagInNewProcessState(1); });
    ASSERT_EQ(second.finish(), 0);
    EXPECT_FALSE(readAndClearFlag(block, 0));
    EXPECT_TRUE(readAndClearFlag(block, 1));
    CloseHandle(block);
}

TEST_F(NamedMapping, StartsZeroedOnceEveryHolderLeft) {
    ipctest::ChildProcess closer([](const ipctest::Channel&) {
        HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
        if (h == nullptr || GetLastError() != 0) return 1;
        auto* words = static_cast<LONG*>(MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, 0));
        words[3] = 7;
        UnmapViewOfFile(words);
        CloseHandle(h);
        return 0;
    });
    ASSERT_EQ(closer.finish(), 0);
    // A holder that dies without closing leaves its shared memory behind; it still counts as gone.
    ipctest::ChildProcess crasher([](const ipctest::Channel&) {
        HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
        if (h == nullptr || GetLastError() != 0) return 1;
        static_cast<LONG*>(MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, 0))[4] = 9;
        return 0;
    });
    ASSERT_EQ(crasher.finish(), 0);
    HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
    EXPECT_EQ(GetLastError(), 0u);
    auto* words = static_cast<LONG*>(MapViewOfFile(block, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(words, nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(words[i], 0) << i;
    UnmapViewOfFile(words);
    CloseHandle(block);
}

TEST_F(NamedMapping, AViewKeepsTheMappingAliveAfterItsHandleCloses) {
    HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
    auto* flag = static_cast<LONG*>(MapViewOfFile(h, FILE_MAP_WRITE, 0, 16, 4));
    *flag = 5;
    CloseHandle(h);
    ipctest::ChildProcess other([](const ipctest::Channel&) {
        HANDLE again =
            CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
        if (GetLastError() != ERROR_ALREADY_EXISTS) return 1;
        return static_cast<LONG*>(MapViewOfFile(again, FILE_MAP_READ, 0, 0, 0))[4] == 5 ? 0 : 2;
    });
    EXPECT_EQ(other.finish(), 0);
    UnmapViewOfFile(flag);
    h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
    EXPECT_EQ(GetLastError(), 0u);
    CloseHandle(h);
}

TEST_F(NamedMapping, ViewsAtAnyOffsetShareTheSameBytes) {
    HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 3 * 4096, u"Offsets");
    auto* whole = static_cast<unsigned char*>(MapViewOfFile(h, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(whole, nullptr);
    for (DWORD offset : {1u, 12u, 4095u, 4096u, 8191u, 12287u}) {
        auto* part = static_cast<unsigned char*>(MapViewOfFile(h, FILE_MAP_WRITE, 0, offset, 1));
        ASSERT_NE(part, nullptr) << offset;
        *part = static_cast<unsigned char>(offset % 251 + 1);
        EXPECT_EQ(whole[offset], offset % 251 + 1) << offset;
        EXPECT_TRUE(UnmapViewOfFile(part));
    }
    UnmapViewOfFile(whole);
    CloseHandle(h);
}

TEST_F(NamedMapping, BadRequestsFailClearly) {
    HANDLE h = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, kBlock);
    struct Bad {
        DWORD offset, bytes;
    };
    for (Bad bad : {Bad{21, 4}, Bad{24, 0}, Bad{25, 0}, Bad{0, 25}, Bad{0xFFFFFFFF, 1}}) {
        SetLastError(0);
        EXPECT_EQ(MapViewOfFile(h, FILE_MAP_READ, 0, bad.offset, bad.bytes), nullptr) << bad.offset;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_EQ(MapViewOfFile(h, FILE_MAP_READ, 1, 0, 4), nullptr);
    int local = 0;
    EXPECT_FALSE(UnmapViewOfFile(&local));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
    CloseHandle(h);
    EXPECT_EQ(MapViewOfFile(h, FILE_MAP_READ, 0, 0, 4), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, u"Empty"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    HANDLE readOnly = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 16, nullptr);
    ASSERT_NE(readOnly, nullptr);
    EXPECT_EQ(MapViewOfFile(readOnly, FILE_MAP_WRITE, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    void* view = MapViewOfFile(readOnly, FILE_MAP_READ, 0, 0, 0);
    EXPECT_NE(view, nullptr);
    UnmapViewOfFile(view);
    CloseHandle(readOnly);
}

TEST_F(NamedMapping, UnnamedMappingsArePrivateAndZeroed) {
    HANDLE a = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, nullptr);
    HANDLE b = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    auto* x = static_cast<char*>(MapViewOfFile(a, FILE_MAP_WRITE, 0, 0, 0));
    auto* y = static_cast<char*>(MapViewOfFile(b, FILE_MAP_WRITE, 0, 0, 0));
    x[0] = 'x';
    EXPECT_EQ(y[0], 0);
    UnmapViewOfFile(x);
    UnmapViewOfFile(y);
    CloseHandle(a);
    CloseHandle(b);
}

TEST(NamedMappingRoots, DifferentDeviceRootsNeverMeet) {
    HANDLE first = nullptr;
    {
        platform::testing::TempRoot one;
        first = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, u"Rooted");
        EXPECT_EQ(GetLastError(), 0u);
        platform::testing::TempRoot two;
        HANDLE second = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8, u"Rooted");
        EXPECT_EQ(GetLastError(), 0u);
        CloseHandle(second);
        CloseHandle(first);
    }
}

}  // namespace
