// LoadStringW over the modules' compiled string tables: lengths, truncation, missing strings, the two
// modules' overlapping ids, long and Cyrillic texts, and the registration rules.
#include <algorithm>
#include <vector>

#include "ModuleTablesFixture.h"

namespace {

struct Expected {
    UINT id;
    std::u16string text;
};

TEST_F(ModuleTables, EachModuleAnswersItsOwnTextForAnOverlappingId) {
    const std::vector<std::pair<Expected, Expected>> overlapping = {
        {{6, u"Категория"}, {6, u"Запланир."}},
        {{7, u"Проект"}, {7, u"Итого"}},
    };
    for (const auto& [inDashel, inToday] : overlapping) {
        EXPECT_EQ(load(dashel(), inDashel.id), inDashel.text);
        EXPECT_EQ(load(today(), inToday.id), inToday.text);
    }
    EXPECT_EQ(load(dashel(), 37), u"");  // the Today item's "Счет" is not Dashel's
    EXPECT_EQ(load(today(), 5), u"");
}

TEST_F(ModuleTables, TextsKeepTheirExactCyrillicSpelling) {
    const std::vector<Expected> dashelTexts = {
        {30, u"Неправельный ABC bar !"},
        {26,
         u"Чтобы использовать Brimwell Dashel Вам необходимо запустить Brimwell и создать хотябы один "
         u"Счет и Плательщик."},
        {122, u"Англо-Русский"},
        {40143, u"Вибро"},
        {25219, u"Cancel"},
    };
    for (const Expected& e : dashelTexts)
        EXPECT_EQ(load(dashel(), e.id), e.text) << e.id;
    EXPECT_EQ(load(today(), 51), u"Нажмите здесь для найстройки...");
    EXPECT_EQ(load(today(), 42), u"Программа заблокирована. Нажмите кнопку Перезагрузки(Reset).");
}

TEST_F(ModuleTables, FinanceDataTextsAreInBothModules) {
    for (HINSTANCE module : {dashel(), today()}) {
        EXPECT_EQ(load(module, 23000), u"All categories");
        EXPECT_EQ(load(module, 24000), u"Проекты");
        EXPECT_EQ(load(module, 1142), u"Every n Days");
        EXPECT_EQ(load(module, 1174), u"date");
        EXPECT_EQ(load(module, 61207), u"Recalc Balance...");
    }
}

TEST_F(ModuleTables, ReturnsTheLengthCopiedAndTerminates) {
    WCHAR buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(LoadStringW(dashel(), 6, buffer, 16), 9);
    EXPECT_EQ(std::u16string(buffer), u"Категория");
    EXPECT_EQ(buffer[10], u'#');
}

TEST_F(ModuleTables, CutsAtBufferMaxMinusOneAndTerminates) {
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(LoadStringW(dashel(), 6, buffer, 4), 3);
    EXPECT_EQ(std::u16string(buffer), u"Кат");
    EXPECT_EQ(buffer[4], u'#');
    EXPECT_EQ(LoadStringW(dashel(), 6, buffer, 1), 0);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], u'а');  // untouched beyond bufferMax
}

TEST_F(ModuleTables, LoadsA300CharacterStringWhole) {
    std::u16string expected;
    for (int i = 0; i < 30; ++i)
        expected += u"абвгдежзий";
    EXPECT_EQ(load(sample(), 1000), expected);
    std::vector<WCHAR> small(256);
    EXPECT_EQ(LoadStringW(sample(), 1000, small.data(), 256), 255);  // cut: 1 free slot left
    EXPECT_EQ(std::u16string(small.data()), expected.substr(0, 255));
}

TEST_F(ModuleTables, CompilerEscapesArriveAsCharacters) {
    EXPECT_EQ(load(sample(), 2), u"Tab\there, quote \", backslash \\, Ж and\nline two");
}

TEST_F(ModuleTables, MissingStringsGiveZeroAndAnEmptyBuffer) {
    struct Missing {
        HINSTANCE module;
        UINT id;
        DWORD error;
    };
    static const char unregistered = 0;
    const std::vector<Missing> cases = {
        {dashel(), 3, ERROR_RESOURCE_NAME_NOT_FOUND},      // empty slot of an existing block
        {dashel(), 500, ERROR_RESOURCE_NAME_NOT_FOUND},    // no block at all
        {dashel(), 70000, ERROR_RESOURCE_NAME_NOT_FOUND},  // beyond the 16-bit ids
        {handleOf(unregistered), 6, ERROR_RESOURCE_DATA_NOT_FOUND},
    };
    for (const Missing& m : cases) {
        WCHAR buffer[8] = {u'x', u'y'};
        SetLastError(0);
        EXPECT_EQ(LoadStringW(m.module, m.id, buffer, 8), 0) << m.id;
        EXPECT_EQ(buffer[0], 0) << m.id;
        EXPECT_EQ(GetLastError(), m.error) << m.id;
    }
}

TEST_F(ModuleTables, ZeroBufferMaxGivesAReadOnlyPointerAndTheLength) {
    const WCHAR* text = nullptr;
    int length = LoadStringW(dashel(), 7, reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_EQ(length, 6);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text, 6), u"Проект");
}

TEST_F(ModuleTables, RefusesANullBufferOrNegativeSize) {
    WCHAR buffer[4];
    SetLastError(0);
    EXPECT_EQ(LoadStringW(dashel(), 6, nullptr, 10), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(LoadStringW(dashel(), 6, buffer, -1), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ModuleRegistration, NullModuleMeansTheMainProgram) {
    HINSTANCE program = GetModuleHandleW(nullptr);
    ASSERT_NE(program, nullptr);
    ASSERT_TRUE(platform::registerModuleResources(program, sampleResourceTable()));
    WCHAR buffer[8];
    EXPECT_EQ(LoadStringW(nullptr, 1, buffer, 8), 3);
    EXPECT_EQ(std::u16string(buffer), u"one");
    platform::unregisterModuleResources(program);
    EXPECT_EQ(LoadStringW(nullptr, 1, buffer, 8), 0);
}

TEST(ModuleRegistration, RejectsMalformedTables) {
    static const char module = 0;
    HINSTANCE handle = reinterpret_cast<HINSTANCE>(const_cast<char*>(&module));
    static const BYTE bytes[2] = {0, 0};
    const platform::ResourceEntry duplicate[] = {{{10, nullptr}, {0, u"A"}, bytes, 2},
                                                 {{10, nullptr}, {0, u"a"}, bytes, 2}};
    const platform::ResourceEntry noData[] = {{{10, nullptr}, {1, nullptr}, nullptr, 0}};
    const platform::ResourceEntry emptyName[] = {{{10, nullptr}, {0, u""}, bytes, 2}};
    EXPECT_FALSE(platform::registerModuleResources(handle, {duplicate, 2}));
    EXPECT_FALSE(platform::registerModuleResources(handle, {noData, 1}));
    EXPECT_FALSE(platform::registerModuleResources(handle, {emptyName, 1}));
    EXPECT_FALSE(platform::registerModuleResources(nullptr, sampleResourceTable()));
    EXPECT_EQ(FindResourceW(handle, u"A", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
}

TEST(ModuleRegistration, AStringBlockShorterThanItsLengthsHoldsNoString) {
    static const char module = 0;
    HINSTANCE handle = reinterpret_cast<HINSTANCE>(const_cast<char*>(&module));
    alignas(4) static const BYTE truncated[] = {0x00, 0x00, 0x05, 0x00, 0x41, 0x00};  // slot 1 claims 5
    const platform::ResourceEntry entries[] = {{{6, nullptr}, {1, nullptr}, truncated, sizeof truncated}};
    ASSERT_TRUE(platform::registerModuleResources(handle, {entries, 1}));
    WCHAR buffer[8];
    EXPECT_EQ(LoadStringW(handle, 1, buffer, 8), 0);
    EXPECT_EQ(LoadStringW(handle, 15, buffer, 8), 0);
    platform::unregisterModuleResources(handle);
}

TEST(ModuleHandles, AreTheLoadAddressesOfTheModules) {
    HINSTANCE program = GetModuleHandleW(nullptr);
    EXPECT_EQ(platform::moduleOf(reinterpret_cast<const void*>(&sampleResourceTable)), program);
    HINSTANCE library = platform::moduleOf(reinterpret_cast<const void*>(&LoadStringW));
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library, program);
    EXPECT_EQ(GetModuleHandleW(u"libplatform.so"), library);
    EXPECT_EQ(GetModuleHandleW(u"\\windows\\Platform.dll"), library);
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleW(u"NoSuchModule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(platform::moduleOf(nullptr), nullptr);
}

}  // namespace
