// FindResourceW, LoadResource, SizeofResource and LockResource over the compiled tables: the alphabet
// layouts of type "ABC", string blocks, text names, and the errors for missing types and names.
#include <cstring>
#include <vector>

#include "ModuleTablesFixture.h"

namespace {

// The resource's bytes as UTF-16 code units.
std::u16string resourceText(HMODULE module, HRSRC found) {
    HGLOBAL data = LoadResource(module, found);
    DWORD size = SizeofResource(module, found);
    const void* bytes = LockResource(data);
    if (bytes == nullptr || size % 2 != 0) return u"<bad resource>";
    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), bytes, size);
    return text;
}

TEST_F(ModuleTables, AlphabetLayoutsStartWithTheByteOrderMarkAndHoldTheExactText) {
    const std::vector<std::pair<WORD, std::u16string>> layouts = {
        {198, u"/ / ABC/ABC DEF/DEF GHI/GHI JKL/JKL MNO/MNO PQRS/PQRS TUV/TUV WXYZ/WXYZ"},
        {199, u"/ / абвг/АБВГ дежз/ДЕЁЖЗ икл/ИЙКЛ мноп/МНОП рсту/РСТУ фхцч/ФХЦЧ шщъы/ШЩЪЫ ьэюя/ЬЭЮЯ"},
        {215,
         u"/ / ABC^абвг/ABCабвг DEF^дежз/DEFдеёжз GHI^икл/GHIийкл JKL^мноп/JKLмноп MNO^рсту/MNOрсту "
         u"PQRS^фхцч/PQRSфхцч TUV^шщъы/TUVшщъы WXYZ^ьэюя/WXYZьэюя"},
        {220, u"/ / ABCÄ/ABCÄ DEF/DEF GHI/GHI JKL/JKL MNOÖ/MNOÖ PQRSß/PQRSß TUVÜ/TUVÜ WXYZ/WXYZ"},
    };
    for (const auto& [id, text] : layouts) {
        HRSRC found = FindResourceW(dashel(), MAKEINTRESOURCEW(id), u"ABC");
        ASSERT_NE(found, nullptr) << id;
        EXPECT_EQ(SizeofResource(dashel(), found), (text.size() + 1) * 2) << id;
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(dashel(), found)));
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xFE);
        EXPECT_EQ(resourceText(dashel(), found), u"\uFEFF" + text) << id;
        EXPECT_FALSE(FreeResource(LoadResource(dashel(), found)));
    }
}

TEST_F(ModuleTables, TextNamesIgnoreCaseAndNumberNamesMeanIntegerIds) {
    HRSRC byNumber = FindResourceW(dashel(), MAKEINTRESOURCEW(198), u"ABC");
    EXPECT_EQ(FindResourceW(dashel(), u"#198", u"abc"), byNumber);
    HRSRC named = FindResourceW(sample(), u"readme", u"Notes");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(resourceText(sample(), named), u"\uFEFFText with a final newline");
}

TEST_F(ModuleTables, StringBlocksAreResourcesOfTheirOwn) {
    HRSRC block = FindResourceW(dashel(), MAKEINTRESOURCEW(1), RT_STRING);  // strings 0 to 15
    ASSERT_NE(block, nullptr);
    std::u16string slots = resourceText(dashel(), block);
    ASSERT_GE(slots.size(), 11u);
    EXPECT_EQ(slots[0], 0);  // string 0 is absent
    EXPECT_EQ(slots[1], 9);  // string 1: "Настройки"
    EXPECT_EQ(slots.substr(2, 9), u"Настройки");
}

TEST_F(ModuleTables, MissingTypesAndNamesAreTold) {
    struct Missing {
        HMODULE module;
        LPCWSTR name;
        LPCWSTR type;
        DWORD error;
    };
    const std::vector<Missing> cases = {
        {dashel(), MAKEINTRESOURCEW(198), u"XYZ", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {dashel(), MAKEINTRESOURCEW(198), RT_RCDATA, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {today(), MAKEINTRESOURCEW(198), u"ABC", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {dashel(), MAKEINTRESOURCEW(197), u"ABC", ERROR_RESOURCE_NAME_NOT_FOUND},
        {dashel(), u"LAYOUT", u"ABC", ERROR_RESOURCE_NAME_NOT_FOUND},
        {dashel(), u"#70000", u"ABC", ERROR_RESOURCE_NAME_NOT_FOUND},
        {dashel(), MAKEINTRESOURCEW(500), RT_STRING, ERROR_RESOURCE_NAME_NOT_FOUND},
    };
    for (const Missing& m : cases) {
        SetLastError(0);
        EXPECT_EQ(FindResourceW(m.module, m.name, m.type), nullptr);
        EXPECT_EQ(GetLastError(), m.error);
    }
}

TEST_F(ModuleTables, AResourceHandleWorksOnlyWithItsOwnModule) {
    HRSRC found = FindResourceW(dashel(), MAKEINTRESOURCEW(198), u"ABC");
    ASSERT_NE(found, nullptr);
    SetLastError(0);
    EXPECT_EQ(LoadResource(today(), found), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(SizeofResource(today(), found), 0u);
    EXPECT_EQ(LoadResource(dashel(), nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

}  // namespace
