// Named mutexes: visibility and existence across processes, ownership within and across processes,
// recursion, abandonment by a process that ended while owning.
#include <gtest/gtest.h>

#include <thread>

#include "ChildProcess.h"
#include "TempRoot.h"
#include "platform/windows.h"

namespace {

constexpr const char16_t* kStoreMutex = u"Brimwell_Database_opened";

class NamedMutex : public ::testing::Test {
  protected:
    platform::testing::TempRoot m_root;
};

TEST_F(NamedMutex, ExistsWhileAHandleIsHeldInThisProcess) {
    EXPECT_FALSE(platform::namedMutexExists(kStoreMutex));
    HANDLE first = CreateMutexW(nullptr, FALSE, kStoreMutex);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_TRUE(platform::namedMutexExists(kStoreMutex));
    EXPECT_FALSE(platform::namedMutexExists(u"Another"));
    HANDLE second = CreateMutexW(nullptr, FALSE, kStoreMutex);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_TRUE(platform::namedMutexExists(kStoreMutex));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_FALSE(platform::namedMutexExists(kStoreMutex));
}

TEST_F(NamedMutex, AnotherProcessSeesItUntilTheHolderCloses) {
    HANDLE mine = CreateMutexW(nullptr, FALSE, kStoreMutex);
    ASSERT_NE(mine, nullptr);
    ipctest::ChildProcess seer([](const ipctest::Channel&) {
        if (!platform::namedMutexExists(kStoreMutex)) return 1;
        HANDLE h = CreateMutexW(nullptr, FALSE, kStoreMutex);
        if (h == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) return 2;
        CloseHandle(h);
        return 0;
    });
    EXPECT_EQ(seer.finish(), 0);
    CloseHandle(mine);
    ipctest::ChildProcess after(
        [](const ipctest::Channel&) { return platform::namedMutexExists(kStoreMutex) ? 1 : 0; });
    EXPECT_EQ(after.finish(), 0);
}

TEST_F(NamedMutex, GoneWhenTheHoldingProcessEnds) {
    ipctest::ChildProcess holder([](const ipctest::Channel& channel) {
        HANDLE h = CreateMutexW(nullptr, FALSE, kStoreMutex);
        if (h == nullptr || GetLastError() != 0) return 1;
        channel.send('c');
        channel.receive();  // held until the parent has looked; then the process ends without closing
        return 0;
    });
    ASSERT_EQ(holder.channel().receive(), 'c');
    EXPECT_TRUE(platform::namedMutexExists(kStoreMutex));
    HANDLE mine = CreateMutexW(nullptr, FALSE, kStoreMutex);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(mine);
    EXPECT_EQ(holder.finish(), 0);
    EXPECT_FALSE(platform::namedMutexExists(kStoreMutex));
}

TEST_F(NamedMutex, OwnershipExcludesAnotherProcess) {
    HANDLE mine = CreateMutexW(nullptr, TRUE, kStoreMutex);
    ASSERT_NE(mine, nullptr);
    auto tryTake = [](const ipctest::Channel&) {
        HANDLE h = CreateMutexW(nullptr, TRUE, kStoreMutex);  // existed: no initial ownership
        const DWORD result = WaitForSingleObject(h, 0);
        if (result == WAIT_OBJECT_0) ReleaseMutex(h);
        return result == WAIT_TIMEOUT ? 10 : (result == WAIT_OBJECT_0 ? 20 : 30);
    };
    ipctest::ChildProcess whileOwned(tryTake);
    EXPECT_EQ(whileOwned.finish(), 10);
    EXPECT_TRUE(ReleaseMutex(mine));
    ipctest::ChildProcess whenFree(tryTake);
    EXPECT_EQ(whenFree.finish(), 20);
    EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_OBJECT_0);  // not abandoned: the child released it
    EXPECT_TRUE(ReleaseMutex(mine));
    CloseHandle(mine);
}

TEST_F(NamedMutex, AWaiterTakesItOverFromAnOwnerThatEnded) {
    HANDLE mine = CreateMutexW(nullptr, FALSE, kStoreMutex);
    ipctest::ChildProcess owner([](const ipctest::Channel& channel) {
        HANDLE h = CreateMutexW(nullptr, FALSE, kStoreMutex);
        if (WaitForSingleObject(h, INFINITE) != WAIT_OBJECT_0) return 1;
        channel.send('o');
        channel.receive();
        return 0;  // ends owning it
    });
    ASSERT_EQ(owner.channel().receive(), 'o');
    EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_TIMEOUT);
    EXPECT_EQ(owner.finish(), 0);
    EXPECT_EQ(WaitForSingleObject(mine, INFINITE), WAIT_ABANDONED);
    EXPECT_TRUE(ReleaseMutex(mine));
    EXPECT_EQ(WaitForSingleObject(mine, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(mine));
    CloseHandle(mine);
}

TEST_F(NamedMutex, OwnershipIsPerThreadAndRecursive) {
    HANDLE h = CreateMutexW(nullptr, TRUE, u"Recursive");
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    DWORD otherWait = 0;
    BOOL otherRelease = TRUE;
    DWORD otherError = 0;
    std::thread([&] {
        otherWait = WaitForSingleObject(h, 0);
        otherRelease = ReleaseMutex(h);
        otherError = GetLastError();
    }).join();
    EXPECT_EQ(otherWait, WAIT_TIMEOUT);
    EXPECT_FALSE(otherRelease);
    EXPECT_EQ(otherError, static_cast<DWORD>(ERROR_NOT_OWNER));
    EXPECT_TRUE(ReleaseMutex(h));
    std::thread([&] { otherWait = WaitForSingleObject(h, 0); }).join();
    EXPECT_EQ(otherWait, WAIT_TIMEOUT);  // still owned once
    EXPECT_TRUE(ReleaseMutex(h));
    EXPECT_FALSE(ReleaseMutex(h));
    std::thread([&] {
        otherWait = WaitForSingleObject(h, 0);
        otherRelease = ReleaseMutex(h);
    }).join();
    EXPECT_EQ(otherWait, WAIT_OBJECT_0);
    EXPECT_TRUE(otherRelease);
    CloseHandle(h);
}

TEST_F(NamedMutex, UnnamedMutexAndBadHandles) {
    HANDLE h = CreateMutexW(nullptr, FALSE, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ReleaseMutex(h));
    CloseHandle(h);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(ReleaseMutex(h));
    std::u16string longName(MAX_PATH + 1, u'x');
    EXPECT_EQ(CreateMutexW(nullptr, FALSE, longName.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST_F(NamedMutex, LongNamesStayDistinct) {
    std::u16string a(200, u'm'), b(200, u'm');
    b.back() = u'n';
    HANDLE h = CreateMutexW(nullptr, FALSE, a.c_str());
    EXPECT_TRUE(platform::namedMutexExists(a.c_str()));
    EXPECT_FALSE(platform::namedMutexExists(b.c_str()));
    CloseHandle(h);
}

}  // namespace
