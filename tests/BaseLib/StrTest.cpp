// Str's layout and sharing rules: size classes, the shared empty string, copy-on-write, growth in
// place, slices, trims, searches, concatenation and direct writing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Str.h"
#include "platform/windows.h"

namespace {

std::u16string text(const Str& s) {
    return std::u16string(s.c_str(), static_cast<size_t>(s.length()));
}

Str repeated(int length) {
    return Str(std::u16string(static_cast<size_t>(length), u'a').c_str());
}

int32_t countOf(const Str& s) {
    return inspectStr(s).referenceCount;
}

TEST(StrLayout, IsOnePointerWithAThreeFieldHeaderInFront) {
    EXPECT_EQ(sizeof(Str), sizeof(void*));
    Str s(u"hello");
    StrHeader h = inspectStr(s);
    EXPECT_EQ(h.referenceCount, 1);
    EXPECT_EQ(h.length, 5);
    EXPECT_EQ(h.capacity, 64);
    int32_t inFront[3];
    std::memcpy(inFront, reinterpret_cast<const char*>(s.c_str()) - 12, sizeof inFront);
    EXPECT_EQ(inFront[0], 1);
    EXPECT_EQ(inFront[1], 5);
    EXPECT_EQ(inFront[2], 64);
    EXPECT_EQ(s[5], u'\0');
}

TEST(StrLayout, SizeClassesAtTheirBoundaries) {
    const std::vector<std::pair<int, int32_t>> classes = {
        {1, 64},    {24, 64},   {25, 128},  {56, 128},  {57, 256},    {120, 256},
        {121, 512}, {249, 512}, {250, 514}, {251, 516}, {1000, 2014},
    };
    for (auto [length, capacity] : classes)
        EXPECT_EQ(inspectStr(repeated(length)).capacity, capacity) << length;
}

TEST(StrLayout, EveryEmptyStringSharesOneHeaderThatIsNeverCounted) {
    const WCHAR* shared = Str().c_str();
    std::vector<Str> empties = {Str(), Str(nullptr), Str(u""), Str(WCHAR(0)), Str(u"x").mid(3)};
    for (int i = 0; i < 1000; ++i) {
        Str copy = empties[static_cast<size_t>(i) % empties.size()];
        Str moved(std::move(copy));
        empties.push_back(moved);
    }
    for (const Str& e : empties) {
        EXPECT_EQ(e.c_str(), shared);
        EXPECT_EQ(countOf(e), 100);
        EXPECT_EQ(inspectStr(e).length, 0);
    }
    empties.clear();
    EXPECT_EQ(countOf(Str()), 100);
}

TEST(StrSharing, CopiesShareUntilOneChanges) {
    Str first(u"привет");
    Str second = first;
    EXPECT_EQ(second.c_str(), first.c_str());
    EXPECT_EQ(countOf(first), 2);
    ASSERT_TRUE(second.upper());
    EXPECT_EQ(text(first), u"привет");
    EXPECT_EQ(text(second), u"ПРИВЕТ");
    EXPECT_EQ(countOf(first), 1);
    EXPECT_EQ(countOf(second), 1);
    {
        Str third = second;
        EXPECT_EQ(countOf(second), 2);
    }
    EXPECT_EQ(countOf(second), 1);
}

TEST(StrSharing, AssignmentFromOwnTextOrAPartOfIt) {
    Str s(u"abcdef");
    const WCHAR* before = s.c_str();
    s = s.c_str();
    EXPECT_EQ(s.c_str(), before);
    s = s.c_str() + 2;
    EXPECT_EQ(text(s), u"cdef");
    s = WCHAR(u'z');
    EXPECT_EQ(text(s), u"z");
}

TEST(StrSlices, MidLeftRightCutAndShare) {
    Str s(u"abcde");
    EXPECT_EQ(text(s.mid(2, 100)), u"cde");
    EXPECT_TRUE(s.mid(7, 1).isEmpty());
    EXPECT_TRUE(s.mid(5).isEmpty());
    EXPECT_EQ(text(s.mid(-3, 2)), u"ab");
    EXPECT_TRUE(s.mid(1, -1).isEmpty());
    Str whole = s.mid(0, 5);
    EXPECT_EQ(whole.c_str(), s.c_str());
    EXPECT_EQ(countOf(s), 2);
    EXPECT_EQ(text(s.left(2)), u"ab");
    EXPECT_EQ(s.left(9).c_str(), s.c_str());
    EXPECT_TRUE(s.left(-1).isEmpty());
    EXPECT_EQ(text(s.right(2)), u"de");
    EXPECT_EQ(s.right(5).c_str(), s.c_str());
    EXPECT_TRUE(s.right(-4).isEmpty());
}

TEST(StrEdits, TrimsRemoveOnlyTheirRun) {
    struct Case {
        std::u16string input;
        bool (*trim)(Str&);
        std::u16string expected;
    };
    const std::vector<Case> cases = {
        {u"ab  ", [](Str& s) { return s.trimRight(); }, u"ab"},
        {u"a b", [](Str& s) { return s.trimRight(); }, u"a b"},
        {u" \t\r\nab ", [](Str& s) { return s.trimLeft(); }, u"ab "},
        {u"abxyx", [](Str& s) { return s.trimRight(u"xy"); }, u"ab"},
        {u"xyxab", [](Str& s) { return s.trimLeft(u"yx"); }, u"ab"},
        {u"--a-", [](Str& s) { return s.trimLeft(u'-'); }, u"a-"},
        {u"--a-", [](Str& s) { return s.trimRight(u'-'); }, u"--a"},
        {u"abx", [](Str& s) { return s.trimRight(u""); }, u"abx"},
        {u"   ", [](Str& s) { return s.trimRight(); }, u""},
        {u"\u3000a", [](Str& s) { return s.trimLeft(); }, u"a"},
    };
    for (const Case& c : cases) {
        Str s(c.input.c_str());
        Str copy = s;
        ASSERT_TRUE(c.trim(s));
        EXPECT_EQ(text(s), c.expected);
        EXPECT_EQ(text(copy), c.input);
    }
    Str blank(u"   ");
    blank.trimLeft();
    EXPECT_EQ(blank.c_str(), Str().c_str());
}

TEST(StrEdits, ReverseSetAtAndLowerMakeUniqueFirst) {
    Str s(u"АбвX");
    Str copy = s;
    ASSERT_TRUE(s.reverse());
    EXPECT_EQ(text(s), u"XвбА");
    ASSERT_TRUE(s.lower());
    EXPECT_EQ(text(s), u"xвба");
    ASSERT_TRUE(s.setAt(1, u'Ж'));
    EXPECT_FALSE(s.setAt(4, u'q'));
    EXPECT_FALSE(s.setAt(-1, u'q'));
    EXPECT_EQ(text(s), u"xЖба");
    EXPECT_EQ(text(copy), u"АбвX");
    EXPECT_EQ(s[9], u'\0');
}

TEST(StrSearch, FindsFromPositionsAndMissesBeyondTheEnd) {
    Str s(u"abcab");
    EXPECT_EQ(s.find(u'b'), 1);
    EXPECT_EQ(s.find(u'b', 2), 4);
    EXPECT_EQ(s.find(u'b', 5), -1);
    EXPECT_EQ(s.find(u'z'), -1);
    EXPECT_EQ(s.find(u"ab", 1), 3);
    EXPECT_EQ(s.find(u"ab", -4), 0);
    EXPECT_EQ(s.find(u"ca", 5), -1);
    EXPECT_EQ(s.reverseFind(u'a'), 3);
    EXPECT_EQ(s.reverseFind(u'q'), -1);
    EXPECT_EQ(s.findAny(u"cb"), 1);
    EXPECT_EQ(s.findAny(u"cb", 3), 4);
    EXPECT_EQ(s.findAny(u"abc", 10), -1);
    EXPECT_EQ(s.findAny(u""), -1);
}

TEST(StrConcat, SharesWhenOneSideIsEmpty) {
    Str a(u"ab");
    Str empty;
    EXPECT_EQ((a + empty).c_str(), a.c_str());
    EXPECT_EQ((empty + a).c_str(), a.c_str());
    EXPECT_EQ((a + u"").c_str(), a.c_str());
    Str both = a + Str(u"cd");
    EXPECT_EQ(text(both), u"abcd");
    EXPECT_EQ(countOf(both), 1);
    EXPECT_EQ(text(u"<" + a + u'>'), u"<ab>");
    EXPECT_EQ(text(u'[' + a), u"[ab");
    EXPECT_TRUE(a == Str(u"ab"));
    EXPECT_TRUE(a == u"ab");
    EXPECT_TRUE(a != u"abc");
    EXPECT_LT(a.compare(u"b"), 0);
    EXPECT_EQ(Str(u"ЖУК").compareNoCase(u"жук"), 0);
}

TEST(StrAppend, GrowsInPlaceWhileTheSizeClassHoldsTheResult) {
    Str s = repeated(10);
    const WCHAR* block = s.c_str();
    ASSERT_TRUE(s.append(std::u16string(15, u'b').c_str()));  // 25 characters: (25 + 7) * 2 = 64
    EXPECT_EQ(s.c_str(), block);
    ASSERT_TRUE(s.append(u'c'));  // 26 needs 66 bytes: a new buffer of class 128
    EXPECT_NE(s.c_str(), block);
    EXPECT_EQ(inspectStr(s).capacity, 128);
    EXPECT_EQ(s.length(), 26);
    const WCHAR* grown = s.c_str();
    s += u"";
    s += WCHAR(0);
    EXPECT_EQ(s.c_str(), grown);
    EXPECT_EQ(s.length(), 26);
}

TEST(StrAppend, ASharedBufferIsCopiedAndTheOtherValueKept) {
    Str s(u"ab");
    Str copy = s;
    s += u"cd";
    EXPECT_EQ(text(s), u"abcd");
    EXPECT_EQ(text(copy), u"ab");
    EXPECT_EQ(countOf(copy), 1);
    Str empty;
    empty += copy;
    EXPECT_EQ(empty.c_str(), copy.c_str());
}

TEST(StrAppend, OwnTextSurvivesAMoveToABiggerBuffer) {
    Str s = repeated(20);
    s.append(s.c_str() + 10);
    EXPECT_EQ(text(s), std::u16string(30, u'a'));
    s += s;
    EXPECT_EQ(text(s), std::u16string(60, u'a'));
    EXPECT_EQ(inspectStr(s).capacity, 256);
}

TEST(StrBuffer, DirectWritingSetsTheLengthAndTerminates) {
    Str s(u"abc");
    Str copy = s;
    WCHAR* buffer = s.getBuffer(40);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(inspectStr(s).capacity, 128);
    EXPECT_EQ(std::u16string(buffer, 3), u"abc");
    wcscpy(buffer, u"written text");
    s.releaseBuffer();
    EXPECT_EQ(text(s), u"written text");
    EXPECT_EQ(text(copy), u"abc");
    s.getBuffer(0);
    s.releaseBuffer(7);
    EXPECT_EQ(text(s), u"written");
    s.getBuffer(0);
    s.releaseBuffer(0);
    EXPECT_EQ(s.c_str(), Str().c_str());
}

TEST(StrBuffer, AnUnterminatedBufferIsCutToItsRoom) {
    Str s;
    WCHAR* buffer = s.getBuffer(5);
    ASSERT_NE(buffer, nullptr);
    for (int i = 0; i < 25; ++i)
        buffer[i] = u'x';
    buffer[25] = u'y';  // the terminator's slot
    s.releaseBuffer();
    EXPECT_EQ(s.length(), 25);
    EXPECT_EQ(s[25], u'\0');
}

TEST(StrNumber, WritesDecimalText) {
    EXPECT_EQ(text(Str::number(-9223372036854775807LL - 1)), u"-9223372036854775808");
    EXPECT_EQ(text(Str::number(0)), u"0");
}

}  // namespace
