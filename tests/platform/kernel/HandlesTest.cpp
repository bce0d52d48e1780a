// Handles and device paths: closing, unknown handles, the last error, and the device root mapping.
#include <gtest/gtest.h>

#include "TempRoot.h"
#include "platform/windows.h"

namespace {

struct Counted : platform::KernelObject {
    explicit Counted(int* closes) : m_closes(closes) {}
    bool close() override { return ++*m_closes, true; }
    int* m_closes;
};

TEST(Handles, CloseRunsOnceAndUnknownHandlesFail) {
    int closes = 0;
    HANDLE h = platform::makeHandle(new Counted(&closes));
    EXPECT_NE(platform::handleAs<Counted>(h), nullptr);
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(closes, 1);
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(platform::handleAs<Counted>(h), nullptr);
}

TEST(DevicePaths, MapIntoTheRoot) {
    platform::testing::TempRoot root;
    EXPECT_EQ(platform::hostPath(u"\\error.log"), root.path() + "/error.log");
    EXPECT_EQ(platform::hostPath(u"\\windows\\BrimwellTodayItem.dll"), root.path() + "/windows/BrimwellTodayItem.dll");
    EXPECT_EQ(platform::hostPath(u"My Documents\\a.txt"), root.path() + "/My Documents/a.txt");
}

TEST(DevicePaths, Utf16RoundTripsThroughUtf8) {
    std::u16string text = u"Категория \u20ac \U0001F600";
    EXPECT_EQ(platform::fromUtf8(platform::toUtf8(text)), text);
    EXPECT_EQ(platform::toUtf8(u"Проекты"), "Проекты");
    // A lone surrogate and a broken byte sequence become the replacement character.
    EXPECT_EQ(platform::toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
    EXPECT_EQ(platform::fromUtf8("a\xC3"), u"a\xFFFD");
}

}  // namespace
