// The bytes rc writes for a small dialog, menu and accelerator table, compared one by one with the
// device's template layouts built here field by field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/windows.h"
#include "resources/RcscriptsResources.h"

namespace {

// Little-endian fields, as the expected side of each comparison.
struct Bytes {
    std::vector<BYTE> data;

    Bytes& word(WORD value) {
        data.push_back(static_cast<BYTE>(value & 0xFF));
        data.push_back(static_cast<BYTE>(value >> 8));
        return *this;
    }
    Bytes& dword(DWORD value) {
        return word(static_cast<WORD>(value & 0xFFFF)).word(static_cast<WORD>(value >> 16));
    }
    Bytes& text(const std::u16string& value) {
        for (char16_t c : value)
            word(c);
        return word(0);
    }
    Bytes& align4() {
        while (data.size() % 4)
            data.push_back(0);
        return *this;
    }
    Bytes& rect(short x, short y, short cx, short cy) {
        return word(static_cast<WORD>(x))
            .word(static_cast<WORD>(y))
            .word(static_cast<WORD>(cx))
            .word(static_cast<WORD>(cy));
    }
};

class ScriptLayout : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::registerModuleResources(module(), rcscriptsResourceTable()));
    }
    void TearDown() override { platform::unregisterModuleResources(module()); }

    static HINSTANCE module() { return reinterpret_cast<HINSTANCE>(const_cast<char*>(&kMarker)); }

    static std::vector<BYTE> resource(WORD type, WORD id) {
        HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
        if (!found) return {};
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
        return std::vector<BYTE>(bytes, bytes + SizeofResource(module(), found));
    }

  private:
    static inline const char kMarker = 0;
};

TEST_F(ScriptLayout, DialogTemplateWithFontAndThreeItems) {
    Bytes expected;
    expected.dword(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_SETFONT).dword(0).word(3).rect(1, 2, 80, 40);
    expected.word(0).word(0).text(u"Hi").word(8).text(u"Tahoma");
    expected.align4()
        .dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON)
        .dword(0)
        .rect(4, 20, 30, 12);
    expected.word(IDOK).word(0xFFFF).word(0x0080).text(u"OK").word(0);
    expected.align4().dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER).dword(0).rect(4, 4, 70, 12);
    expected.word(7).word(0xFFFF).word(0x0081).text(u"").word(0);
    expected.align4().dword(WS_CHILD | WS_VISIBLE).dword(WS_EX_CLIENTEDGE).rect(1, 1, 2, 2);
    expected.word(9).text(u"Custom").text(u"c").word(0);
    std::vector<BYTE> actual = resource(5, 100);
    ASSERT_EQ(actual.size(), expected.data.size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i], expected.data[i]) << "byte " << i;
}

TEST_F(ScriptLayout, MenuTemplateWithPopupCheckedItemAndSeparator) {
    Bytes expected;
    expected.word(0).word(0);
    expected.word(0).word(1).text(u"A");
    expected.word(MF_POPUP | MF_END).text(u"P");
    expected.word(MF_CHECKED).word(2).text(u"B");
    expected.word(MF_END).word(0).text(u"");
    EXPECT_EQ(resource(4, 200), expected.data);
}

TEST_F(ScriptLayout, AcceleratorEntriesWithTheLastFlagged) {
    Bytes expected;
    expected.word(FVIRTKEY | FCONTROL).word('N').word(101).word(0);
    expected.word(FVIRTKEY | FSHIFT).word(VK_RETURN).word(102).word(0);
    expected.word(0x80).word(3).word(103).word(0);
    EXPECT_EQ(resource(9, 300), expected.data);
}

TEST_F(ScriptLayout, TheLoadersReadWhatRcWrote) {
    HMENU menu = LoadMenuW(module(), MAKEINTRESOURCEW(200));
    ASSERT_TRUE(menu);
    EXPECT_EQ(GetMenuItemCount(menu), 2);
    HMENU popup = GetSubMenu(menu, 1);
    ASSERT_TRUE(popup);
    EXPECT_EQ(GetMenuItemCount(popup), 2);
    EXPECT_EQ(GetMenuState(popup, 2, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_TRUE(GetMenuState(popup, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(DestroyMenu(menu));
    HACCEL table = LoadAcceleratorsW(module(), MAKEINTRESOURCEW(300));
    ASSERT_TRUE(table);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
}

}  // namespace
