// Menus loaded from resources whose bytes are not where a word would lie, or that nest pop-ups deeper
// than a menu may: read the same as aligned ones, or refused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/resources.h"
#include "platform/windows.h"

namespace {

// A menu resource: header, a command item, a pop-up holding one command, a last command.
std::vector<WORD> menuWords() {
    return {0, 0, 0, 101, u'A', 0, 0x10, u'B', 0, 0x80, 111, u'C', 0, 0x80, 102, u'D', 0};
}

class MenuResource : public ::testing::Test {
  protected:
    void TearDown() override { platform::unregisterModuleResources(m_module); }

    // Registers the bytes as menu 1 of a module of the test's own and loads it.
    HMENU load(const BYTE* bytes, size_t size) {
        m_entry = {{4, nullptr}, {1, nullptr}, bytes, static_cast<DWORD>(size)};
        EXPECT_TRUE(platform::registerModuleResources(m_module, {&m_entry, 1}));
        return LoadMenuW(m_module, MAKEINTRESOURCEW(1));
    }

    HINSTANCE m_module = reinterpret_cast<HINSTANCE>(uintptr_t{0x7A000});
    platform::ResourceEntry m_entry{};
};

TEST_F(MenuResource, AMenuAtAnOddAddressReadsAsAnAlignedOne) {
    std::vector<WORD> words = menuWords();
    std::vector<BYTE> odd(words.size() * 2 + 1);
    std::memcpy(odd.data() + 1, words.data(), words.size() * 2);
    HMENU menu = load(odd.data() + 1, words.size() * 2);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(GetMenuItemID(menu, 0), 101u);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 1), 0), 111u);
    EXPECT_EQ(GetMenuItemID(menu, 2), 102u);
    DestroyMenu(menu);
}

TEST_F(MenuResource, PopUpsNestedWithoutEndAreRefused) {
    std::vector<WORD> words{0, 0};
    for (int i = 0; i < 100000; ++i)
        words.insert(words.end(), {0x10, u'x', 0});
    EXPECT_EQ(load(reinterpret_cast<const BYTE*>(words.data()), words.size() * 2), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
}

}  // namespace
