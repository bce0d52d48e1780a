// Reading dialog templates: a whole one gives its header and items; one cut short anywhere, or whose
// item count its bytes cannot hold, is refused without reading past its end.
#include <gtest/gtest.h>

#include <vector>

#include "../../../platform/user/DialogTemplate.h"

namespace {

class Bytes {
  public:
    Bytes& word(WORD value) {
        m_bytes.push_back(static_cast<BYTE>(value));
        m_bytes.push_back(static_cast<BYTE>(value >> 8));
        return *this;
    }
    Bytes& dword(DWORD value) { return word(static_cast<WORD>(value)).word(static_cast<WORD>(value >> 16)); }
    Bytes& text(const std::u16string& value) {
        for (char16_t c : value)
            word(c);
        return word(0);
    }
    Bytes& align() {
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
        return *this;
    }
    std::vector<BYTE>& bytes() { return m_bytes; }

  private:
    std::vector<BYTE> m_bytes;
};

// A dialog with a font and two items: a button by atom, a control of a named class with creation data.
std::vector<BYTE> dialogBytes(WORD count = 2) {
    Bytes b;
    b.dword(WS_POPUP | DS_SETFONT).dword(0).word(count).word(1).word(2).word(80).word(40);
    b.word(0).word(0).text(u"Title").word(8).text(u"Tahoma");
    b.align().dword(WS_CHILD).dword(0).word(4).word(5).word(30).word(12).word(1);
    b.word(0xFFFF).word(0x0080).text(u"OK").word(0);
    b.align().dword(WS_CHILD).dword(0).word(4).word(20).word(60).word(12).word(7);
    b.text(u"FingerList").text(u"").word(2).word(0xABCD);
    return b.bytes();
}

TEST(DialogTemplate, AWholeTemplateGivesItsHeaderAndItems) {
    std::vector<BYTE> bytes = dialogBytes();
    platform::user::DialogTemplate dialog;
    ASSERT_TRUE(platform::user::parseDialogTemplate(bytes.data(), bytes.size(), &dialog));
    EXPECT_EQ(dialog.title, u"Title");
    EXPECT_EQ(dialog.face, u"Tahoma");
    EXPECT_EQ(dialog.pointSize, 8);
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.items[0].className, u"Button");
    EXPECT_EQ(dialog.items[0].text, u"OK");
    EXPECT_EQ(dialog.items[1].className, u"FingerList");
    EXPECT_EQ(dialog.items[1].id, 7);
    EXPECT_EQ(dialog.items[1].creationData, (std::vector<BYTE>{0xCD, 0xAB}));
}

TEST(DialogTemplate, ATemplateCutShortOrCountingMoreItemsThanItHoldsIsRefused) {
    std::vector<BYTE> bytes = dialogBytes();
    platform::user::DialogTemplate dialog;
    for (size_t size = 0; size < bytes.size(); ++size) {
        // A copy of exactly size bytes, so that a read past its end is one the sanitizers see.
        std::vector<BYTE> cut(bytes.begin(), bytes.begin() + static_cast<long>(size));
        EXPECT_FALSE(platform::user::parseDialogTemplate(cut.data(), cut.size(), &dialog)) << size;
    }
    for (WORD count : {3, 0xFFFF}) {
        std::vector<BYTE> counted = dialogBytes(count);
        EXPECT_FALSE(platform::user::parseDialogTemplate(counted.data(), counted.size(), &dialog)) << count;
    }
}

}  // namespace
