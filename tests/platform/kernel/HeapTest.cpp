// Private heaps: block ownership, growth keeping contents, limits, destroy freeing all, the failure hook.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "platform/windows.h"

namespace {

TEST(Heap, BlocksBelongToTheirHeap) {
    HANDLE a = HeapCreate(0, 40960, 0);
    HANDLE b = HeapCreate(0, 4096, 0);
    ASSERT_NE(a, nullptr);
    void* p = HeapAlloc(a, HEAP_ZERO_MEMORY, 100);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(static_cast<char*>(p)[99], 0);
    EXPECT_EQ(HeapSize(a, 0, p), 100u);
    EXPECT_EQ(HeapSize(b, 0, p), static_cast<size_t>(-1));
    EXPECT_FALSE(HeapFree(b, 0, p));
    EXPECT_TRUE(HeapFree(a, 0, p));
    EXPECT_TRUE(HeapFree(a, 0, nullptr));
    // Destroying a heap with live blocks frees them (the sanitizer build checks for leaks).
    for (int i = 0; i < 50; ++i)
        ASSERT_NE(HeapAlloc(a, 0, 16 * i + 1), nullptr);
    EXPECT_TRUE(HeapDestroy(a));
    EXPECT_TRUE(HeapDestroy(b));
    EXPECT_FALSE(HeapDestroy(a));
}

TEST(Heap, ReallocKeepsContentsAndZeroesGrowth) {
    HANDLE h = HeapCreate(0, 0, 0);
    auto* p = static_cast<char*>(HeapAlloc(h, 0, 8));
    std::memcpy(p, "abcdefg", 8);
    auto* q = static_cast<char*>(HeapReAlloc(h, HEAP_ZERO_MEMORY, p, 4096));
    ASSERT_NE(q, nullptr);
    EXPECT_STREQ(q, "abcdefg");
    EXPECT_EQ(q[4095], 0);
    EXPECT_EQ(HeapReAlloc(h, HEAP_REALLOC_IN_PLACE_ONLY, q, 1 << 20), nullptr);
    EXPECT_EQ(HeapReAlloc(h, 0, q, 4), q);  // shrinking never moves
    EXPECT_EQ(HeapSize(h, 0, q), 4u);
    HeapDestroy(h);
}

TEST(Heap, MaximumSizeAndFailureHook) {
    HANDLE h = HeapCreate(0, 0, 1000);
    void* p = HeapAlloc(h, 0, 600);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(HeapAlloc(h, 0, 600), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    HeapFree(h, 0, p);
    EXPECT_NE(HeapAlloc(h, 0, 600), nullptr);

    platform::failNthAllocation(3);
    std::vector<bool> results;
    for (int i = 0; i < 5; ++i)
        results.push_back(HeapAlloc(h, 0, 1) != nullptr);
    EXPECT_EQ(results, (std::vector<bool>{true, true, false, true, true}));
    platform::failNthAllocation(1);
    EXPECT_EQ(LocalAlloc(LPTR, 10), nullptr);
    HLOCAL l = LocalAlloc(LPTR, 10);
    EXPECT_EQ(LocalFree(l), nullptr);
    HeapDestroy(h);
}

TEST(Random, SeededSequencesRepeatAndSpread) {
    platform::seedRandom(42);
    std::vector<DWORD> first;
    for (int i = 0; i < 100; ++i)
        first.push_back(Random());
    platform::seedRandom(42);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(Random(), first[i]);
    std::set<DWORD> distinct(first.begin(), first.end());
    EXPECT_EQ(distinct.size(), first.size());
}

}  // namespace
