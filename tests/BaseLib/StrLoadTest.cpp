// Str's resource loading (lengths around the 256-character first read, missing strings and their
// error-log line) and its behaviour when the heap refuses a block.
#include <cstdio>
#include <string>
#include <vector>

#include "Str.h"
#include "StrFixture.h"
#include "platform/windows.h"
#include "resources/DashelResources.h"
#include "resources/StrResources.h"

namespace {

std::u16string text(const Str& s) {
    return std::u16string(s.c_str(), static_cast<size_t>(s.length()));
}

std::u16string pattern(size_t length, const std::u16string& alphabet) {
    std::u16string result;
    for (size_t i = 0; i < length; ++i)
        result += alphabet[i % alphabet.size()];
    return result;
}

const std::string kAllocationLine = "Memory allocation failed\t\tBaseLib/Str:  (23)";

class StrLoadTest : public StrLogTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::registerModuleResources(module(), strResourceTable()));
        ASSERT_TRUE(platform::registerModuleResources(GetModuleHandleW(nullptr), dashelResourceTable()));
    }
    void TearDown() override {
        platform::unregisterModuleResources(module());
        platform::unregisterModuleResources(GetModuleHandleW(nullptr));
        Str::setResourceModule(nullptr);
        StrLogTest::TearDown();
    }
    static HINSTANCE module() { return reinterpret_cast<HINSTANCE>(const_cast<char*>(&kMarker)); }

  private:
    static inline const char kMarker = 0;
};

TEST_F(StrLoadTest, StringsOfEveryLengthLoadWhole) {
    const std::u16string digits = u"0123456789";
    const std::u16string letters = u"абвгдежзий";
    const std::vector<std::pair<UINT, std::u16string>> strings = {
        {1, u"short"},
        {2, pattern(300, digits)},
        {3, pattern(254, digits)},
        {4, pattern(255, digits)},
        {5, pattern(256, digits)},
        {6, pattern(510, letters)},
        {7, pattern(511, letters)},
        {8, pattern(600, digits)},
        {9, u"Привет, мир"},
    };
    for (const auto& [id, expected] : strings) {
        Str s(u"previous");
        EXPECT_TRUE(s.load(id, module())) << id;
        EXPECT_EQ(text(s), expected) << id;
        EXPECT_EQ(inspectStr(s).referenceCount, 1);
    }
    EXPECT_TRUE(logLines().empty());
}

TEST_F(StrLoadTest, WithoutAModuleTheResourceModuleIsRead) {
    Str s;
    ASSERT_TRUE(s.load(6));
    EXPECT_EQ(text(s), u"Категория");
    Str::setResourceModule(module());
    ASSERT_TRUE(s.load(9));
    EXPECT_EQ(text(s), u"Привет, мир");
}

TEST_F(StrLoadTest, AMissingStringIsEmptyFalseAndOneLogLine) {
    Str s(u"previous");
    EXPECT_FALSE(s.load(4242, module()));
    EXPECT_EQ(s.c_str(), Str().c_str());
    char hex[32];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(module())));
    std::vector<std::string> lines = logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              "Resource loading fail (id: 4242 hInst: " + std::string(hex) + ")\t\tBaseLib/Str:  (208)");
}

TEST_F(StrLoadTest, AFailedBlockIsLoggedAndLeavesAValidString) {
    platform::failNthAllocation(1);
    Str made(u"abc");
    EXPECT_EQ(made.c_str(), Str().c_str());

    Str s(u"abc");
    Str copy = s;
    platform::failNthAllocation(1);
    EXPECT_FALSE(s.upper());
    EXPECT_EQ(s.c_str(), copy.c_str());
    EXPECT_EQ(inspectStr(s).referenceCount, 2);

    platform::failNthAllocation(1);
    EXPECT_FALSE(s.append(std::u16string(40, u'x').c_str()));
    platform::failNthAllocation(1);
    EXPECT_FALSE(s.format(u"%d", 12));
    platform::failNthAllocation(1);
    EXPECT_FALSE(s.load(2, module()));
    platform::failNthAllocation(1);
    EXPECT_EQ(s.getBuffer(100), nullptr);
    s.releaseBuffer(50);
    EXPECT_EQ(text(s), u"abc");

    platform::failNthAllocation(1);
    Str joined = s + u"def";
    EXPECT_TRUE(joined.isEmpty());
    EXPECT_EQ(text(s + u"def"), u"abcdef");
    EXPECT_EQ(std::vector<std::string>(7, kAllocationLine), logLines());
}

TEST_F(StrLoadTest, ImpossibleLengthsFailWithoutAllocating) {
    Str s(u"abc");
    EXPECT_FALSE(s.format(u"%*d%*d", 2000000000, 1, 2000000000, 2));
    EXPECT_EQ(text(s), u"abc");
    EXPECT_EQ(s.getBuffer(-5), s.c_str());
    s.releaseBuffer();
    EXPECT_EQ(text(s), u"abc");
    EXPECT_EQ(std::vector<std::string>(1, kAllocationLine), logLines());
}

}  // namespace
