// Registers the Dashel, Today item and sample tables under three handles of the test's choosing, as a
// program and its libraries would register theirs under their own load addresses.
#pragma once

#include <gtest/gtest.h>

#include "platform/windows.h"
#include "resources/DashelResources.h"
#include "resources/SampleResources.h"
#include "resources/TodayResources.h"

class ModuleTables : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(platform::registerModuleResources(dashel(), dashelResourceTable()));
        ASSERT_TRUE(platform::registerModuleResources(today(), todayResourceTable()));
        ASSERT_TRUE(platform::registerModuleResources(sample(), sampleResourceTable()));
    }
    void TearDown() override {
        for (HINSTANCE module : {dashel(), today(), sample()})
            platform::unregisterModuleResources(module);
    }

    static HINSTANCE handleOf(const char& marker) {
        return reinterpret_cast<HINSTANCE>(const_cast<char*>(&marker));
    }
    static HINSTANCE dashel() { return handleOf(kMarkers[0]); }
    static HINSTANCE today() { return handleOf(kMarkers[1]); }
    static HINSTANCE sample() { return handleOf(kMarkers[2]); }

    // The string as LoadStringW gives it with a buffer large enough for any string.
    static std::u16string load(HINSTANCE module, UINT id) {
        WCHAR buffer[1024];
        int length = LoadStringW(module, id, buffer, 1024);
        return std::u16string(buffer, static_cast<size_t>(length));
    }

  private:
    static inline const char kMarkers[3] = {};
};
